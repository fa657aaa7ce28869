#!/usr/bin/env bash
# Checks a built orvane_*.deb: lintian, its fields and files (and those of `cmake --install`),
# the scenarios against its programs, and the saver under the real mate-screensaver, offered
# Orvane alone, which runs savers only from /usr: that part takes root, as installing does.
# usage: tests/package/check_package.sh PACKAGE.deb [BUILD_DIR (its tests built)]
set -euo pipefail

failures=0
fail() {
  echo "check_package: FAILED: $*" >&2
  failures=$((failures + 1))
}
# The pids of the run's copy of the package's programs.
package_processes() {
  local exe pid
  for exe in /proc/[0-9]*/exe; do
    pid=${exe#/proc/} pid=${pid%/exe}
    case "$(readlink "$exe" 2>/dev/null)" in
      "$programs"/*) echo "$pid" ;;
    esac
  done
}
# The loudest 16-bit sample recorded from byte OFFSET on.
peak_since() {
  python3 -c 'import sys, array
data = open(sys.argv[1], "rb").read()[int(sys.argv[2]):]
print(max(map(abs, array.array("h", data[: len(data) // 2 * 2])), default=0))' "$work/recording" "$1"
}
# Runs COMMAND until it succeeds, for at most SECONDS: `until_ok SECONDS COMMAND...`.
until_ok() {
  local end=$(($(date +%s) + $1))
  shift
  until "$@"; do [ "$(date +%s)" -lt "$end" ] || return 1 && sleep 0.1; done
}

deb=$(realpath "$1")
build=${2:+$(realpath "$2")}
work=$(mktemp -d)
root="$work/root"
programs="" saver="" made_libexec=""
cleanup() {
  kill $(jobs -p) 2>/dev/null || true
  [ -z "$programs" ] || kill $(package_processes) 2>/dev/null || true
  wait || true
  [ -z "$saver" ] || rm -f "$saver"
  [ -z "$made_libexec" ] || rmdir /usr/libexec/xscreensaver 2>/dev/null || true
  [ -z "$programs" ] || rm -rf "$programs"
  rm -rf "$work"
}
trap cleanup EXIT
files_in() { (cd "$1" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort); }

expected='/usr/bin/orvane-picture
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
/usr/share/xscreensaver/config/orvane.xml'

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

[ "$(id -u)" -eq 0 ] || { fail "laying the programs under /usr for mate-screensaver takes root"; exit 1; }
programs=$(mktemp -d /usr/lib/orvane-check-XXXXXX) && chmod 755 "$programs"
cp -p "$root"/usr/lib/orvane/* "$programs/"
[ -d /usr/libexec/xscreensaver ] || { mkdir -p /usr/libexec/xscreensaver && made_libexec=1; }
saver=/usr/libexec/xscreensaver/${programs##*/}
ln -s "$programs/Orvane.scr" "$saver"
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$work/display" 2>/dev/null &
until_ok 10 test -s "$work/display" || { fail "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# A PulseAudio daemon of the run's own, its null sink recorded from its monitor.
mkdir -p "$work/pulse/run" "$work/pulse/state" "$work/pulse/config"
export PULSE_SERVER="unix:$work/pulse/native"
HOME="$work/pulse" XDG_RUNTIME_DIR="$work/pulse/run" PULSE_RUNTIME_PATH="$work/pulse/run/pulse" \
  PULSE_STATE_PATH="$work/pulse/state" XDG_CONFIG_HOME="$work/pulse/config" \
  pulseaudio -n --daemonize=no --use-pid-file=no --system=no --exit-idle-time=120 \
  --disable-shm=yes -L "module-null-sink sink_name=orvane_null rate=44100 channels=2" \
  -L "module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" \
  >"$work/pulse/out" 2>&1 &
until_ok 10 pactl info >/dev/null 2>&1 || { fail "PulseAudio did not start"; exit 1; }
parec -d orvane_null.monitor --raw --format=s16le --rate=44100 --channels=2 \
  --latency-msec=20 >"$work/recording" 2>/dev/null &

# The user's home: the music chosen (keys in code page 932), and the way to the sound server
# (HOME passes mate-screensaver's scrubbing of the environment).
home="$work/home"
mkdir -p "$home/.config/orvane" "$home/.config/pulse" "$work/data/applications/screensavers"
printf 'default-server = unix:%s\nautospawn = no\nenable-shm = no\n' "$work/pulse/native" \
  >"$home/.config/pulse/client.conf"
gst-launch-1.0 -q audiotestsrc num-buffers=2 samplesperbuffer=44100 freq=440 \
  ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! wavenc ! filesink location="$home/tone.wav"
printf '[Section]\r\nBGM\x8b\xe6\x95\xaa=2\r\nBGM\xcc\xa7\xb2\xd9=%s\r\n' "$home/tone.wav" \
  >"$home/.config/orvane/Orvane.ini"
sed -E "s#^(Exec|TryExec)=/usr/libexec/xscreensaver/orvane( |\$)#\\1=$saver\\2#" \
  "$root/usr/share/applications/screensavers/orvane.desktop" \
  >"$work/data/applications/screensavers/orvane.desktop"
grep -qxF "Exec=$saver --root" "$work/data/applications/screensavers/orvane.desktop" ||
  { fail "the package's screensavers/orvane.desktop does not run /usr/libexec/xscreensaver/orvane --root"; exit 1; }
unset PULSE_SERVER XDG_RUNTIME_DIR XDG_CONFIG_HOME XDG_CACHE_HOME
export HOME="$home" XDG_DATA_DIRS="$work/data" XDG_DATA_HOME="$home/.local/share" \
  GSETTINGS_SCHEMA_DIR=/usr/share/glib-2.0/schemas GSETTINGS_BACKEND=keyfile NO_AT_BRIDGE=1

# On a session bus of the run's own: choose Orvane, start mate-screensaver, activate, deactivate.
dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>/dev/null &
until_ok 10 test -s "$work/bus" || { fail "dbus-daemon did not start"; exit 1; }
export DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$work/bus")"
gsettings set org.mate.screensaver mode single
gsettings set org.mate.screensaver themes "['screensavers-orvane']"
gsettings set org.mate.screensaver lock-enabled false
mate-screensaver --no-daemon --debug >"$work/mate.log" 2>&1 &
until_ok 10 mate-screensaver-command --query >/dev/null 2>&1 || { fail "mate-screensaver did not start"; exit 1; }

before=$(stat -c %s "$work/recording")
mate-screensaver-command --activate >/dev/null
# A tunnel shows many colours, a blank screen one.
colours() { xwd -root -silent 2>/dev/null | convert xwd:- -depth 8 -format %k info: 2>/dev/null || echo 0; }
tunnel() { [ "$(colours)" -gt 50 ]; }
until_ok 15 tunnel || fail "activated: the screen shows $(colours) colours, not a tunnel; the daemon said: $(grep -i 'command\|job' "$work/mate.log" | tail -n 5)"
[ -n "$(package_processes)" ] || fail "activated: no program of the package runs"
heard() { [ "$(peak_since "$before")" -gt 3000 ]; }
until_ok 10 heard || fail "activated: the chosen WAV is not heard (peak $(peak_since "$before"))"

mate-screensaver-command --deactivate >/dev/null
ended() { [ -z "$(package_processes)" ]; }
until_ok 5 ended || fail "deactivated: 5 s later these still run: $(package_processes | xargs ps -o pid=,args= -p)"
sleep 0.3 # what was on its way to the sink drains
quiet_from=$(stat -c %s "$work/recording")
sleep 0.8
[ "$(peak_since "$quiet_from")" -lt 50 ] || fail "deactivated: the music plays on (peak $(peak_since "$quiet_from"))"

[ "$failures" -eq 0 ] || { echo "check_package: $failures check(s) failed for $deb" >&2; exit 1; }
echo "check_package: $deb passed"
