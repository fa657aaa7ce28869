#!/usr/bin/env bash
# Sets up, builds, installs into out/ and runs the saver's main job on the bundled picture.
# Without a display it runs the tunnel under Xvfb for a few seconds and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
prefix="$PWD/out"
cmake --install build --prefix "$prefix" >/dev/null
folder="$prefix/$(cmake -L -N build | sed -n 's/^ORVANE_INSTALL_DIR:STRING=//p')"

# The renderer reads its picture from the per-user data directory, where the saver puts a
# copy of the one beside the programs.
place_picture() {
  local data="${XDG_CACHE_HOME:-$HOME/.cache}/t_ovin"
  mkdir -p "$data"
  chmod 0700 "$data"
  local copy
  copy=$(mktemp "$data/.Orvane.image.XXXXXX")
  cp "$folder/Orvane.image" "$copy"
  mv -f "$copy" "$data/Orvane.image"
}

place_picture
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Orvane: running from $folder; press Escape to end the tunnel."
  exec "$folder/Orvane.dll"
fi

shot="$PWD/orvane-screenshot.png"
echo "Orvane: no display here (DISPLAY is not set or cannot be opened), so the tunnel runs"
echo "        under Xvfb for 5 seconds; the screenshot is saved as $shot"
xvfb_out=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$xvfb_out" 2>/dev/null &
xvfb=$!
tunnel=""
cleanup() {
  [ -n "$tunnel" ] && kill "$tunnel" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  rm -f "$xvfb_out"
}
trap cleanup EXIT
for _ in $(seq 200); do [ -s "$xvfb_out" ] && break; sleep 0.05; done
if [ ! -s "$xvfb_out" ]; then
  echo "Orvane: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$xvfb_out")"

"$folder/Orvane.dll" &
tunnel=$!
for _ in $(seq 100); do
  xdotool search --name '^Orvane_VC$' >/dev/null 2>&1 && break
  kill -0 "$tunnel" 2>/dev/null || break
  sleep 0.05
done
sleep 5
if ! kill -0 "$tunnel" 2>/dev/null; then
  wait "$tunnel" || echo "Orvane: the tunnel ended early with exit code $?" >&2
  tunnel=""
  exit 1
fi
xwd -root -silent | /usr/bin/convert xwd:- -depth 8 "$shot"
# Escape is the one key that ends the tunnel.
xdotool key Escape
code=0
wait "$tunnel" || code=$?
tunnel=""
echo "Orvane: the tunnel ended on Escape with exit code $code; saved $shot"
