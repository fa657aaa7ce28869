#!/usr/bin/env bash
# Makes Img_Prev.jpg, the preview form's picture: one frame of our own tunnel, drawn by the
# built renderer on the bundled wall picture under an Xvfb screen of exactly 152 x 112 pixels,
# saved as a baseline JPEG. Run after ./scripts/build.sh; the result is committed.
#   assets/preview/make_preview_picture.sh [seconds into the flight, default 1.5]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-1.5}
bin="$PWD/build/bin"
out="$PWD/assets/preview/Img_Prev.jpg"
[ -x "$bin/Orvane.dll" ] && [ -f "$bin/Orvane.image" ] || {
  echo "make_preview_picture: build first (./scripts/build.sh)" >&2
  exit 1
}

work=$(mktemp -d)
xvfb=""
tunnel=""
cleanup() {
  [ -n "$tunnel" ] && kill "$tunnel" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The renderer reads its picture from the data directory; a private one keeps the user's alone.
export XDG_CACHE_HOME="$work/cache"
mkdir -p -m 0700 "$XDG_CACHE_HOME/t_ovin"
cp "$bin/Orvane.image" "$XDG_CACHE_HOME/t_ovin/Orvane.image"

Xvfb -displayfd 3 -screen 0 152x112x24 -dpi 96 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "make_preview_picture: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

"$bin/Orvane.dll" &
tunnel=$!
sleep "$seconds"
kill -0 "$tunnel" 2>/dev/null || { echo "make_preview_picture: the renderer ended early" >&2; exit 1; }
xwd -root -silent | /usr/bin/convert xwd:- -depth 8 "$work/frame.ppm"
cjpeg -baseline -optimize -quality 92 -outfile "$out.tmp" "$work/frame.ppm"
mv -f "$out.tmp" "$out"
echo "make_preview_picture: wrote $out"
