#!/usr/bin/env bash
# Checks a built orvane_*.deb: lintian finds nothing, the fields and files are what the desktop
# expects (and what `cmake --install` puts into a prefix), the build tree's saver, renderer and
# daemon scenarios pass against the unpacked programs, and the saver runs under the real
# mate-screensaver (mate_saver.sh).
# usage: tests/package/check_package.sh PACKAGE.deb [BUILD_DIR (its tests built)]
set -euo pipefail

deb=$(realpath "$1")
build=${2:+$(realpath "$2")}
work=$(mktemp -d)
root="$work/root"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "check_package: FAILED: $*" >&2
  failures=$((failures + 1))
}
files_in() { (cd "$1" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort); }

expected=$(
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
)

report=$(lintian --fail-on none "$deb" 2>&1 | grep -E '^[EW]: ' || true)
[ -z "$report" ] || fail "lintian reports:"$'\n'"$report"

# One line per dependency, versions dropped, alternatives kept as "a|b"; the picture tool's
# decoders come through shlibs. Mesa comes with libgl1; a daemon is the desktop's choice.
depends=$(dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed 's/([^)]*)//g; s/ //g')
for needed in gstreamer1.0-plugins-good gstreamer1.0-plugins-base gstreamer1.0-pulseaudio \
  'fonts-ipafont-gothic|fonts-japanese-gothic' libglut3.12 libgtk-3-0 libjpeg62-turbo libpng16-16; do
  grep -qx "$needed" <<<"$depends" || fail "Depends lacks $needed"
done
! grep -q 'libgl1-mesa-dri' <<<"$depends" || fail "Depends names libgl1-mesa-dri"
[ -z "$(dpkg-deb --field "$deb" Recommends)" ] || fail "the package recommends something"
[ "$(dpkg-deb --field "$deb" Suggests)" = "xscreensaver, mate-screensaver, xsecurelock, xautolock, swayidle" ] ||
  fail "Suggests is not the four daemons and timers and swayidle"
[ "$(dpkg-deb --field "$deb" Architecture)" = amd64 ] || fail "not an amd64 package"

dpkg -x "$deb" "$root"
[ "$(files_in "$root")" = "$expected" ] ||
  fail "file list differs (< expected, > packaged):"$'\n'"$(diff <(echo "$expected") <(files_in "$root") || true)"
for program in lib/orvane/Orvane.scr lib/orvane/Orvane.dll bin/orvane-picture \
  libexec/xsecurelock/saver_orvane libexec/xscreensaver/orvane; do
  [ -x "$root/usr/$program" ] || fail "/usr/$program is not executable"
done
[ "$(readlink "$root/usr/libexec/xscreensaver/orvane")" = ../../lib/orvane/Orvane.scr ] ||
  fail "/usr/libexec/xscreensaver/orvane is no relative link to Orvane.scr"
while IFS='|' read -r file line; do
  grep -qxF "$line" "$root/usr/$file" || fail "/usr/$file lacks the line: $line"
done <<'LINES'
share/applications/screensavers/orvane.desktop|Exec=/usr/libexec/xscreensaver/orvane --root
share/applications/screensavers/orvane.desktop|Categories=Screensaver;
share/applications/orvane.desktop|Exec=/usr/lib/orvane/Orvane.scr /c
share/applications/orvane.desktop|Icon=orvane
libexec/xsecurelock/saver_orvane|exec "/usr/libexec/xscreensaver/orvane" --root
LINES
desktop-file-validate "$root/usr/share/applications/orvane.desktop" ||
  fail "desktop-file-validate rejects the menu entry"
# xscreensaver-settings shows the description's first and last paragraphs as plain text.
python3 - "$root/usr/share/xscreensaver/config/orvane.xml" <<'PY' || fail "orvane.xml is not the saver's description"
import sys, xml.etree.ElementTree as tree
saver = tree.parse(sys.argv[1]).getroot()
assert (saver.tag, saver.get("name"), saver.get("_label")) == ("screensaver", "orvane", "Orvane")
assert saver.find("command").get("arg") == "--root"
text = saver.find("_description").text
assert len(saver.find("_description")) == 0 and "<" not in text and "://" not in text, text
paragraphs = [p.strip() for p in text.strip().split("\n\n")]
assert paragraphs[0].startswith("Flies through an endless"), paragraphs[0]
assert paragraphs[-1] == "Written by the Orvane developers; 2026.", paragraphs[-1]
PY

if [ -n "$build" ]; then
  # The same files from `cmake --install` (manual pages uncompressed, no Debian documentation),
  # its entries naming its own prefix.
  prefix="$work/prefix/usr"
  cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "cmake --install failed:"$'\n'"$(cat "$work/install.log")"
  packaged=$(grep -v '^/usr/share/doc/' <<<"$expected" | sed -E 's/\.([16])\.gz$/.\1/')
  [ "$(files_in "$work/prefix")" = "$packaged" ] ||
    fail "cmake --install differs (< package, > install):"$'\n'"$(diff <(echo "$packaged") <(files_in "$work/prefix") || true)"
  grep -qx "Exec=$prefix/libexec/xscreensaver/orvane --root" \
    "$prefix/share/applications/screensavers/orvane.desktop" ||
    fail "cmake --install does not name its own prefix in the entries"
  [ "$(realpath "$prefix/libexec/xscreensaver/orvane")" = "$(realpath "$prefix/lib/orvane/Orvane.scr")" ] ||
    fail "cmake --install's libexec/xscreensaver/orvane does not lead to its Orvane.scr"
  ORVANE_TEST_BIN_DIR="$root/usr/lib/orvane" ctest --test-dir "$build" --output-on-failure \
    --no-tests=error --timeout 300 -R '^(Linux/SaverRun|DaemonRun|WaylandSaverRun)\.' \
    >"$work/scenarios.log" 2>&1 ||
    fail "the scenarios fail against the package:"$'\n'"$(tail -n 40 "$work/scenarios.log")"
  # A renamed scenario would silently drop out of the filter above.
  for name in Linux/SaverRun DaemonRun WaylandSaverRun; do
    grep -q " $name\..*Passed" "$work/scenarios.log" || fail "no $name scenario ran against the package"
  done
fi

# MATE's screen saver runs savers only where the package installs them.
"$(dirname "$0")/mate_saver.sh" "$root" || fail "the saver does not run under mate-screensaver"

[ "$failures" -eq 0 ] || { echo "check_package: $failures check(s) failed for $deb" >&2; exit 1; }
echo "check_package: $deb passed"
