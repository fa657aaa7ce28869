#!/usr/bin/env bash
# Checks a built orvane_*.deb: lintian finds nothing, the files are where the desktop looks
# for them (and are the ones `cmake --install` puts into a prefix), and the unpacked programs
# pass the build tree's saver, renderer and daemon scenarios.
#
# usage: tests/package/check_package.sh PACKAGE.deb [BUILD_DIR]
# With BUILD_DIR (a configured build tree with its tests built), its `cmake --install` is
# compared with the package and the scenarios run against the package.
set -euo pipefail

deb=$(realpath "$1")
build=${2:+$(realpath "$2")}
work=$(mktemp -d)
cleanup() {
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

# The saver, renderer and daemon scenarios of the build tree's tests, run against the unpacked
# package's programs.
check_scenarios() {
  [ -n "$build" ] || return 0
  ORVANE_TEST_BIN_DIR="$work/root/usr/lib/orvane" ctest --test-dir "$build" --output-on-failure \
    --timeout 300 -R '^(SaverRun|DaemonRun|Linux/RendererRun)\.' >"$work/scenarios.log" 2>&1 ||
    fail "the scenarios fail against the package:"$'\n'"$(tail -n 40 "$work/scenarios.log")"
}

check_lintian
check_fields
check_files
check_cmake_install
check_scenarios

if [ "$failures" -ne 0 ]; then
  echo "check_package: $failures check(s) failed for $deb" >&2
  exit 1
fi
echo "check_package: $deb passed"
