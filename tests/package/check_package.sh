#!/usr/bin/env bash
# Checks a built orvane_*.deb: lintian finds nothing, the files are where the desktop looks
# for them (and are the ones `cmake --install` puts into a prefix), and the saver runs from
# the unpacked package under an Xvfb of its own until Escape ends it.
#
# usage: tests/package/check_package.sh PACKAGE.deb [BUILD_DIR]
# With BUILD_DIR (a configured build tree), its `cmake --install` is compared with the package.
set -euo pipefail

deb=$(realpath "$1")
build=${2:+$(realpath "$2")}
work=$(mktemp -d)
xvfb=""
host=""
cleanup() {
  set +e  # every step runs: a host that has ended already must not keep Xvfb alive
  [ -n "$host" ] && kill "$host" 2>/dev/null
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
/usr/libexec/xsecurelock/saver_orvane
/usr/share/applications/orvane.desktop
/usr/share/applications/screensavers/orvane.desktop
/usr/share/doc/orvane/changelog.gz
/usr/share/doc/orvane/copyright
/usr/share/icons/hicolor/scalable/apps/orvane.svg
/usr/share/man/man1/orvane-picture.1.gz
/usr/share/xscreensaver/config/orvane.scr.xml
/usr/share/xscreensaver/config/orvane.xml
LIST
}

check_lintian() {
  local report
  report=$(lintian --fail-on none "$deb" 2>&1 | grep -E '^[EW]: ' || true)
  if [ -n "$report" ]; then fail "lintian reports:"$'\n'"$report"; fi
}

check_fields() {
  # Package names alone: versions and alternatives dropped.
  local depends
  depends=$(dpkg-deb --field "$deb" Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g')
  for needed in gstreamer1.0-plugins-good gstreamer1.0-plugins-base gstreamer1.0-pulseaudio \
    fonts-ipafont-gothic libgl1-mesa-dri libglut3.12 libgtk-3-0; do
    grep -qx "$needed" <<<"$depends" || fail "Depends lacks $needed"
  done
  [ "$(dpkg-deb --field "$deb" Recommends)" = xscreensaver ] || fail "Recommends is not xscreensaver"
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
    usr/libexec/xsecurelock/saver_orvane; do
    [ -x "$root/$program" ] || fail "$program is not executable"
  done
  grep -qx 'Exec=/usr/lib/orvane/Orvane.scr --root' "$root/usr/share/applications/screensavers/orvane.desktop" ||
    fail "the MATE entry does not run Orvane.scr --root"
  grep -qx 'Categories=Screensaver;' "$root/usr/share/applications/screensavers/orvane.desktop" ||
    fail "the MATE entry is not in the Screensaver category"
  grep -qx 'Exec=/usr/lib/orvane/Orvane.scr /c' "$root/usr/share/applications/orvane.desktop" ||
    fail "the menu entry does not open the settings dialog"
  grep -qx 'Icon=orvane' "$root/usr/share/applications/orvane.desktop" || fail "the menu entry has no icon"
  grep -qx 'exec "/usr/lib/orvane/Orvane.scr" --root' "$root/usr/libexec/xsecurelock/saver_orvane" ||
    fail "saver_orvane does not run Orvane.scr --root"
  python3 - "$root/usr/share/xscreensaver/config/orvane.xml" <<'PY' || fail "orvane.xml is not the saver's description"
import sys, xml.etree.ElementTree as tree
saver = tree.parse(sys.argv[1]).getroot()
assert saver.tag == "screensaver" and saver.get("name") == "orvane", saver.attrib
assert saver.find("command").get("arg") == "--root"
PY
  [ "$(readlink "$root/usr/share/xscreensaver/config/orvane.scr.xml")" = orvane.xml ] ||
    fail "orvane.scr.xml (the name xscreensaver-settings looks for) is no link to orvane.xml"
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
  packaged=$(expected_files | grep -v '^/usr/share/doc/' | sed 's|\.1\.gz$|.1|')
  [ "$installed" = "$packaged" ] ||
    fail "cmake --install differs (< package, > install):"$'\n'"$(diff <(echo "$packaged") <(echo "$installed") || true)"
  grep -qx "Exec=$work/prefix/usr/lib/orvane/Orvane.scr --root" \
    "$work/prefix/usr/share/applications/screensavers/orvane.desktop" ||
    fail "cmake --install does not name its own prefix in the entries"
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

# The unpacked saver run as the screen-saver daemons run it (Orvane.scr --root, with
# XSCREENSAVER_WINDOW and with --window-id). Filled in with the daemon mode; until then
# there is nothing to run.
check_daemon_mode() {
  echo "check_package: daemon mode (--root) not checked yet"
}

check_lintian
check_fields
check_files
check_cmake_install
if start_xvfb; then
  saver_environment
  check_saver_mode
  check_daemon_mode
fi

if [ "$failures" -ne 0 ]; then
  echo "check_package: $failures check(s) failed for $deb" >&2
  exit 1
fi
echo "check_package: $deb passed"
