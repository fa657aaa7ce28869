#!/usr/bin/env bash
# Checks a built orvane_*.deb: lintian finds nothing, the files are where the desktop looks
# for them (and are the ones `cmake --install` puts into a prefix), and the saver runs from
# the unpacked package under an Xvfb of its own until Escape ends it, as xscreensaver runs it
# until SIGTERM ends it, and under the real mate-screensaver (mate_saver.sh).
#
# usage: tests/package/check_package.sh PACKAGE.deb [BUILD_DIR]
# With BUILD_DIR (a configured build tree), its `cmake --install` is compared with the package.
set -euo pipefail

deb=$(realpath "$1")
build=${2:+$(realpath "$2")}
work=$(mktemp -d)
xvfb=""
host=""
window_keeper=""
cleanup() {
  set +e  # every step runs: a host that has ended already must not keep Xvfb alive
  [ -n "$host" ] && kill "$host" 2>/dev/null
  [ -n "$window_keeper" ] && kill "$window_keeper" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "check_package: FAILED: $*" >&2
  failures=$((failures + 1))
}

# The package's files, as the desktop expects them.
expected_files() {
  cat <<'LIST'
/usr/bin/orvane-picture
/usr/lib/orvane/Orvane.dll
/usr/lib/orvane/Orvane.image
/usr/lib/orvane/Orvane.scr
/usr/libexec/xscreensaver/orvane
/usr/libexec/xsecurelock/saver_orvane
/usr/share/applications/orvane.desktop
/usr/share/applications/screensavers/orvane.desktop
/usr/share/doc/orvane/changelog.gz
/usr/share/doc/orvane/copyright
/usr/share/icons/hicolor/scalable/apps/orvane.svg
/usr/share/man/man1/orvane-picture.1.gz
/usr/share/man/man6/orvane.6.gz
/usr/share/xscreensaver/config/orvane.xml
LIST
}

check_lintian() {
  local report
  report=$(lintian --fail-on none "$deb" 2>&1 | grep -E '^[EW]: ' || true)
  if [ -n "$report" ]; then fail "lintian reports:"$'\n'"$report"; fi
}

check_fields() {
  # One line per dependency, versions dropped, alternatives kept as "a|b".
  local depends
  depends=$(dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed 's/([^)]*)//g; s/ //g')
  for needed in gstreamer1.0-plugins-good gstreamer1.0-plugins-base gstreamer1.0-pulseaudio \
    'fonts-ipafont-gothic|fonts-japanese-gothic' libglut3.12 libgtk-3-0; do
    grep -qx "$needed" <<<"$depends" || fail "Depends lacks $needed"
  done
  # The picture tool's decoders, which shlibs finds.
  for needed in libjpeg62-turbo libpng16-16; do
    grep -qx "$needed" <<<"$depends" || fail "Depends lacks $needed"
  done
  # Mesa comes with libgl1; a daemon is the desktop's choice, not ours.
  ! grep -q 'libgl1-mesa-dri' <<<"$depends" || fail "Depends names libgl1-mesa-dri"
  [ -z "$(dpkg-deb --field "$deb" Recommends)" ] || fail "the package recommends something"
  [ "$(dpkg-deb --field "$deb" Suggests)" = "xscreensaver, mate-screensaver, xsecurelock, xautolock" ] ||
    fail "Suggests is not the four daemons and timers"
  [ "$(dpkg-deb --field "$deb" Architecture)" = amd64 ] || fail "not an amd64 package"
}

# Unpacks into $work/root and compares the file list.
check_files() {
  dpkg -x "$deb" "$work/root"
  local listed
  listed=$(cd "$work/root" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort)
  if [ "$listed" != "$(expected_files)" ]; then
    fail "file list differs (< expected, > packaged):"$'\n'"$(diff <(expected_files) <(echo "$listed") || true)"
  fi
  local root="$work/root"
  for program in usr/lib/orvane/Orvane.scr usr/lib/orvane/Orvane.dll usr/bin/orvane-picture \
    usr/libexec/xsecurelock/saver_orvane usr/libexec/xscreensaver/orvane; do
    [ -x "$root/$program" ] || fail "$program is not executable"
  done
  [ "$(readlink "$root/usr/libexec/xscreensaver/orvane")" = ../../lib/orvane/Orvane.scr ] ||
    fail "/usr/libexec/xscreensaver/orvane is no relative link to Orvane.scr"
  grep -qx 'Exec=/usr/libexec/xscreensaver/orvane --root' "$root/usr/share/applications/screensavers/orvane.desktop" ||
    fail "the MATE entry does not run /usr/libexec/xscreensaver/orvane --root"
  grep -qx 'Categories=Screensaver;' "$root/usr/share/applications/screensavers/orvane.desktop" ||
    fail "the MATE entry is not in the Screensaver category"
  grep -qx 'Exec=/usr/lib/orvane/Orvane.scr /c' "$root/usr/share/applications/orvane.desktop" ||
    fail "the menu entry does not open the settings dialog"
  grep -qx 'Icon=orvane' "$root/usr/share/applications/orvane.desktop" || fail "the menu entry has no icon"
  grep -qx 'exec "/usr/libexec/xscreensaver/orvane" --root' "$root/usr/libexec/xsecurelock/saver_orvane" ||
    fail "saver_orvane does not run /usr/libexec/xscreensaver/orvane --root"
  python3 - "$root/usr/share/xscreensaver/config/orvane.xml" <<'PY' || fail "orvane.xml is not the saver's description"
import sys, xml.etree.ElementTree as tree
saver = tree.parse(sys.argv[1]).getroot()
assert saver.tag == "screensaver" and saver.get("name") == "orvane", saver.attrib
assert saver.get("_label") == "Orvane", saver.attrib
assert saver.find("command").get("arg") == "--root"
# xscreensaver-settings shows the first and the last paragraph as plain text.
description = saver.find("_description")
assert len(description) == 0, "markup inside the description"
paragraphs = [p.strip() for p in description.text.strip().split("\n\n")]
assert "<" not in description.text and "://" not in description.text, description.text
assert paragraphs[0].startswith("Flies through an endless"), paragraphs[0]
assert paragraphs[-1] == "Written by the Orvane developers; 2026.", paragraphs[-1]
PY
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/orvane.desktop" ||
      fail "desktop-file-validate rejects the menu entry"
  fi
}

# `cmake --install` into a prefix gives the same files (the manual page uncompressed, no
# Debian documentation).
check_cmake_install() {
  [ -n "$build" ] || return 0
  if ! cmake --install "$build" --prefix "$work/prefix/usr" >"$work/install.log" 2>&1; then
    fail "cmake --install failed:"$'\n'"$(cat "$work/install.log")"
    return
  fi
  local installed packaged
  installed=$(cd "$work/prefix" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort)
  packaged=$(expected_files | grep -v '^/usr/share/doc/' | sed -E 's/\.([16])\.gz$/.\1/')
  [ "$installed" = "$packaged" ] ||
    fail "cmake --install differs (< package, > install):"$'\n'"$(diff <(echo "$packaged") <(echo "$installed") || true)"
  grep -qx "Exec=$work/prefix/usr/libexec/xscreensaver/orvane --root" \
    "$work/prefix/usr/share/applications/screensavers/orvane.desktop" ||
    fail "cmake --install does not name its own prefix in the entries"
  [ "$(realpath "$work/prefix/usr/libexec/xscreensaver/orvane")" = "$(realpath "$work/prefix/usr/lib/orvane/Orvane.scr")" ] ||
    fail "cmake --install's libexec/xscreensaver/orvane does not lead to its Orvane.scr"
}

start_xvfb() {
  local out="$work/xvfb.out"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$out" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 200); do [ -s "$out" ] && break; sleep 0.05; done
  [ -s "$out" ] || { fail "Xvfb did not start"; return 1; }
  export DISPLAY=":$(head -n1 "$out")"
}

# A home of the run's own, so that nothing of the machine's user is read or written.
saver_environment() {
  mkdir -p "$work/home"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
}

# The unpacked saver in /s mode: the tunnel appears, draws, and Escape ends tunnel and host.
check_saver_mode() {
  local scr="$work/root/usr/lib/orvane/Orvane.scr"
  "$scr" /s &
  host=$!
  local tunnel=""
  for _ in $(seq 300); do
    tunnel=$(xdotool search --name '^Orvane_VC$' 2>/dev/null | head -n1) && [ -n "$tunnel" ] && break
    kill -0 "$host" 2>/dev/null || break
    sleep 0.05
  done
  if [ -z "$tunnel" ]; then
    fail "/s: no tunnel window"
    kill "$host" 2>/dev/null || true
    host=""
    return
  fi
  # Drawn: a tunnel shows many colours, an empty window one.
  local colours=0
  for _ in $(seq 50); do
    colours=$(xwd -root -silent | /usr/bin/convert xwd:- -depth 8 -format %k info:)
    [ "$colours" -gt 50 ] && break
    sleep 0.1
  done
  [ "$colours" -gt 50 ] || fail "/s: the screen shows $colours colours, not a tunnel"
  [ -f "$XDG_CACHE_HOME/t_ovin/Orvane.image" ] || fail "/s: no texture copy in the cache folder"
  xdotool key Escape
  for _ in $(seq 100); do kill -0 "$host" 2>/dev/null || break; sleep 0.05; done
  if kill -0 "$host" 2>/dev/null; then
    fail "/s: the host did not end within 5 s of Escape"
    kill "$host" 2>/dev/null || true
    host=""
    return
  fi
  local code=0
  wait "$host" || code=$?
  host=""
  [ "$code" -eq 0 ] || fail "/s: the host ended with exit code $code"
  [ -z "$(xdotool search --name '^Orvane_VC$' 2>/dev/null)" ] || fail "/s: the tunnel outlived Escape"
}

# The pids of the unpacked package's own programs that still run, found by their path.
package_processes() {
  local root exe pid
  root=$(realpath "$work/root")
  for exe in /proc/[0-9]*/exe; do
    pid=${exe#/proc/}
    pid=${pid%/exe}
    case "$(readlink "$exe" 2>/dev/null)" in "$root/"*) echo "$pid" ;; esac
  done
}

# Makes a window as xscreensaver makes its saver window (an override-redirect, black,
# full-screen child of the root), prints its id and keeps it until stdin closes.
daemon_window() {
  python3 -c '
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XCreateWindow.restype = ctypes.c_ulong
x.XCreateWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + \
    [ctypes.c_uint] * 3 + [ctypes.c_int, ctypes.c_uint, ctypes.c_void_p, ctypes.c_ulong,
                           ctypes.c_void_p]
for name in ("XMapRaised", "XSync", "XDisplayWidth", "XDisplayHeight"):
    getattr(x, name).argtypes = [ctypes.c_void_p, ctypes.c_ulong]

class Attributes(ctypes.Structure):  # XSetWindowAttributes
    _fields_ = [("background_pixmap", ctypes.c_ulong), ("background_pixel", ctypes.c_ulong),
                ("border_pixmap", ctypes.c_ulong), ("border_pixel", ctypes.c_ulong),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("cursor", ctypes.c_ulong)]

display = x.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
attributes = Attributes(background_pixel=0, override_redirect=1)
CWBackPixel, CWOverrideRedirect, CopyFromParent, InputOutput = 1 << 1, 1 << 9, 0, 1
window = x.XCreateWindow(display, x.XDefaultRootWindow(display), 0, 0,
                         x.XDisplayWidth(display, 0), x.XDisplayHeight(display, 0), 0,
                         CopyFromParent, InputOutput, None, CWBackPixel | CWOverrideRedirect,
                         ctypes.byref(attributes))
x.XMapRaised(display, window)
x.XSync(display, 0)
print(hex(window), flush=True)
sys.stdin.read()
'
}

# The unpacked saver run as xscreensaver runs it: Orvane.scr --root, the window in
# XSCREENSAVER_WINDOW; the tunnel is drawn into that window, and SIGTERM leaves no program of
# the package running a second later.
check_daemon_mode() {
  local scr="$work/root/usr/lib/orvane/Orvane.scr"
  mkfifo "$work/window.in"
  daemon_window <"$work/window.in" >"$work/window.out" &
  window_keeper=$!
  exec 4>"$work/window.in"  # the window lasts until this closes
  local window=""
  for _ in $(seq 200); do
    window=$(head -n1 "$work/window.out")
    [ -n "$window" ] && break
    kill -0 "$window_keeper" 2>/dev/null || break
    sleep 0.05
  done
  if [ -z "$window" ]; then
    fail "--root: no window to run in"
    return
  fi
  XSCREENSAVER_WINDOW="$window" "$scr" --root &
  host=$!
  local colours=0
  for _ in $(seq 100); do
    colours=$(xwd -id "$window" -silent 2>/dev/null | /usr/bin/convert xwd:- -depth 8 -format %k info: 2>/dev/null) ||
      colours=0
    [ "$colours" -gt 50 ] && break
    kill -0 "$host" 2>/dev/null || break
    sleep 0.1
  done
  [ "$colours" -gt 50 ] || fail "--root: the window shows $colours colours, not a tunnel"
  [ -n "$(package_processes)" ] || fail "--root: no program of the package runs"
  kill -TERM "$host" 2>/dev/null || true
  local left="" deadline=$(($(date +%s%N) + 1000000000))
  while true; do
    left=$(package_processes)
    [ -z "$left" ] || [ "$(date +%s%N)" -gt "$deadline" ] && break
    sleep 0.02
  done
  if [ -n "$left" ]; then
    fail "--root: a second after SIGTERM these still run: $(ps -o pid=,args= -p "${left//$'\n'/,}")"
    for pid in $left; do kill -KILL "$pid" 2>/dev/null || true; done
  fi
  local code=0
  wait "$host" || code=$?
  host=""
  [ "$code" -eq 0 ] || fail "--root: the host ended with exit code $code after SIGTERM"
  exec 4>&-
  wait "$window_keeper" 2>/dev/null || true
  window_keeper=""
}

check_lintian
check_fields
check_files
check_cmake_install
if start_xvfb; then
  saver_environment
  check_saver_mode
  check_daemon_mode
  # MATE's screen saver, which runs savers only where the package installs them.
  "$(dirname "$0")/mate_saver.sh" "$work/root" || fail "the saver does not run under mate-screensaver"
fi

if [ "$failures" -ne 0 ]; then
  echo "check_package: $failures check(s) failed for $deb" >&2
  exit 1
fi
echo "check_package: $deb passed"
