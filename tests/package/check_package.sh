#!/usr/bin/env bash
# Checks a built orvane_*.deb: lintian finds nothing, the files are where the desktop looks
# for them (and are the ones `cmake --install` puts into a prefix), the unpacked programs pass
# the build tree's saver, renderer and daemon scenarios, and the saver runs under the real
# mate-screensaver (mate_saver.sh).
#
# usage: tests/package/check_package.sh PACKAGE.deb [BUILD_DIR]
# With BUILD_DIR (a configured build tree with its tests built), its `cmake --install` is
# compared with the package and the scenarios run against the package.
set -euo pipefail

deb=$(realpath "$1")
build=${2:+$(realpath "$2")}
work=$(mktemp -d)
xvfb=""
cleanup() {
  set +e
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

# An Xvfb of the check's own for mate_saver.sh, which needs a display.
start_xvfb() {
  local out="$work/xvfb.out"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$out" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 200); do [ -s "$out" ] && break; sleep 0.05; done
  [ -s "$out" ] || { fail "Xvfb did not start"; return 1; }
  export DISPLAY=":$(head -n1 "$out")"
}

# The saver, renderer and daemon scenarios of the build tree's tests, run against the unpacked
# package's programs.
check_scenarios() {
  [ -n "$build" ] || return 0
  ORVANE_TEST_BIN_DIR="$work/root/usr/lib/orvane" ctest --test-dir "$build" --output-on-failure --no-tests=error \
    --timeout 300 -R '^(SaverRun|DaemonRun|Linux/RendererRun)\.' >"$work/scenarios.log" 2>&1 ||
    fail "the scenarios fail against the package:"$'\n'"$(tail -n 40 "$work/scenarios.log")"
}

check_lintian
check_fields
check_files
check_cmake_install
check_scenarios
if start_xvfb; then
  # MATE's screen saver, which runs savers only where the package installs them.
  "$(dirname "$0")/mate_saver.sh" "$work/root" || fail "the saver does not run under mate-screensaver"
fi

if [ "$failures" -ne 0 ]; then
  echo "check_package: $failures check(s) failed for $deb" >&2
  exit 1
fi
echo "check_package: $deb passed"
