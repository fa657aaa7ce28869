#!/usr/bin/env bash
# Sets up, builds, installs into out/ and runs the installed saver, `Orvane.scr /s`, on the
# bundled picture. Without a display it runs the saver under Xvfb for a few seconds, saves a
# screenshot of the tunnel and ends the saver with Escape.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
# A build tree of its own without tests and benchmarks: only the programs this runs.
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DENABLE_BENCHMARKS=OFF >/dev/null
cmake --build build-run -j"$(nproc)"
prefix="$PWD/out"
cmake --install build-run --prefix "$prefix" >/dev/null
folder="$prefix/$(cmake -L -N build-run | sed -n 's/^ORVANE_INSTALL_DIR:STRING=//p')"

# The real saver run: the host copies the picture into the data directory, starts the tunnel
# and the music, and ends when Escape has ended the tunnel.
saver=("$folder/Orvane.scr" /s)
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Orvane: running $folder/Orvane.scr /s; press Escape to end the saver."
  exec "${saver[@]}"
fi

shot="$PWD/orvane-screenshot.png"
echo "Orvane: no display here (DISPLAY is not set or cannot be opened), so the saver runs"
echo "        under Xvfb for 5 seconds; the screenshot is saved as $shot"
xvfb_out=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$xvfb_out" 2>/dev/null &
xvfb=$!
host=""
cleanup() {
  [ -n "$host" ] && kill "$host" 2>/dev/null
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

"${saver[@]}" &
host=$!
for _ in $(seq 100); do
  xdotool search --name '^Orvane_VC$' >/dev/null 2>&1 && break
  kill -0 "$host" 2>/dev/null || break
  sleep 0.05
done
sleep 5
if ! kill -0 "$host" 2>/dev/null; then
  wait "$host" || true
  host=""
  echo "Orvane: the saver ended early (no tunnel window)" >&2
  exit 1
fi
xwd -root -silent | /usr/bin/convert xwd:- -depth 8 "$shot"
# Escape ends the tunnel; the saver sees its window gone within half a second and ends too.
xdotool key Escape
for _ in $(seq 100); do kill -0 "$host" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$host" 2>/dev/null; then
  echo "Orvane: the saver did not end within 5 seconds of Escape" >&2
  exit 1
fi
code=0
wait "$host" || code=$?
host=""
echo "Orvane: Escape ended the tunnel and the saver (exit code $code); saved $shot"
