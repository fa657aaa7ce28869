#!/usr/bin/env sh
# Draws the menu icon (an SVG of filled polygons and lines only) into a Windows icon file
# with ImageMagick, whose own SVG reader needs a delegate this build does not ask for: each
# size is drawn from the shapes themselves, so the small ones stay sharp.
#
#   make_icon.sh orvane.svg orvane.ico
set -eu
svg=$1
ico=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-icon-XXXXXX")
trap 'rm -rf "$work"' EXIT

# One drawing primitive a line: <polygon points=… fill=… stroke=… stroke-width=…/> and
# <line x1=… y1=… x2=… y2=… stroke=… stroke-width=…/>.
shapes=$(sed -n \
  -e 's|.*<polygon points="\([^"]*\)" fill="\([^"]*\)" stroke="\([^"]*\)" stroke-width="\([^"]*\)".*|fill \2 stroke \3 stroke-width \4 polygon \1|p' \
  -e 's|.*<line x1="\([^"]*\)" y1="\([^"]*\)" x2="\([^"]*\)" y2="\([^"]*\)" stroke="\([^"]*\)" stroke-width="\([^"]*\)".*|fill none stroke \5 stroke-width \6 line \1,\2 \3,\4|p' \
  "$svg")
if [ -z "$shapes" ]; then
  echo "make_icon: no shapes in $svg" >&2
  exit 1
fi
view=$(sed -n 's|.*viewBox="0 0 \([0-9]*\) [0-9]*".*|\1|p' "$svg")
frames=""
for size in 256 48 32 24 16; do
  scale=$(awk "BEGIN { print $size / $view }")
  convert -size "${size}x${size}" xc:none -draw "affine $scale,0,0,$scale,0,0 $(printf '%s\n' "$shapes" | tr '\n' ' ')" \
    "PNG32:$work/$size.png"
  frames="$frames $work/$size.png"
done
# shellcheck disable=SC2086  # the frames are this script's own file names, without spaces
convert $frames "$work/icon.ico"
mv "$work/icon.ico" "$ico"
