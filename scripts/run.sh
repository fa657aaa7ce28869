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

run_tunnel() {
  # The renderer reads its texture from the per-user data directory, which the saver fills.
  data="${XDG_CACHE_HOME:-$HOME/.cache}/t_ovin"
  mkdir -p -m 0700 "$data"
  cp "$folder/Orvane.image" "$data/Orvane.image"
  "$folder/Orvane.dll"
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Orvane: running from $folder; press Escape to end the tunnel."
  run_tunnel
else
  shot="$PWD/orvane-screenshot.png"
  echo "Orvane: no display here, so the tunnel runs under Xvfb for 5 seconds;"
  echo "        the screenshot is saved as $shot"
  exec 3>&1
  xvfb_out=$(mktemp)
  Xvfb -displayfd 4 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 4>"$xvfb_out" 2>/dev/null &
  xvfb=$!
  trap 'kill "$xvfb" 2>/dev/null || true' EXIT
  for _ in $(seq 100); do [ -s "$xvfb_out" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -n1 "$xvfb_out")"
  run_tunnel &
  tunnel=$!
  sleep 5
  xwd -root -silent | /usr/bin/convert xwd:- "$shot"
  kill "$tunnel" 2>/dev/null || true
  wait "$tunnel" 2>/dev/null || true
  echo "Orvane: saved $shot"
fi
