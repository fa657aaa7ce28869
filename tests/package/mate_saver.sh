#!/usr/bin/env bash
# Runs the unpacked package under MATE's real screen saver on an Xvfb of its own, as a user who
# chose Orvane: activated, the tunnel shows and the chosen WAV plays on a PulseAudio null sink;
# deactivated, no program of the package runs and the sink falls silent. The daemon is offered
# Orvane alone (XDG_DATA_DIRS holds only its .desktop file).
# usage: tests/package/mate_saver.sh ROOT     (ROOT: the unpacked package)
# mate-screensaver runs savers only from its folders under /usr, so the package's programs are
# laid there under a name of the run's own, as the package lays them (a copy of /usr/lib/orvane,
# a link to its Orvane.scr in /usr/libexec/xscreensaver), and removed at the end with any folder
# the run had to make; an installed package is not touched. That takes root, as installing does.
set -euo pipefail

if [ -z "${ORVANE_MATE_STAGE:-}" ] && [ "$(id -u)" -ne 0 ]; then
  echo "mate_saver: FAILED: laying the programs under /usr, where mate-screensaver runs savers from, takes root" >&2
  exit 1
fi

failures=0
fail() {
  echo "mate_saver: FAILED: $*" >&2
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

if [ -z "${ORVANE_MATE_STAGE:-}" ]; then
  work=$(mktemp -d)
  programs="" saver="" made_libexec=""
  cleanup() {
    kill $(jobs -p) 2>/dev/null || true
    wait || true
    [ -z "$saver" ] || rm -f "$saver"
    [ -z "$made_libexec" ] || rmdir /usr/libexec/xscreensaver 2>/dev/null || true
    [ -z "$programs" ] || rm -rf "$programs"
    rm -rf "$work"
  }
  trap cleanup EXIT
  programs=$(mktemp -d /usr/lib/orvane-check-XXXXXX)
  chmod 755 "$programs"
  cp -p "$1"/usr/lib/orvane/* "$programs/"
  if [ ! -d /usr/libexec/xscreensaver ]; then
    mkdir -p /usr/libexec/xscreensaver
    made_libexec=1
  fi
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
    "$1/usr/share/applications/screensavers/orvane.desktop" \
    >"$work/data/applications/screensavers/orvane.desktop"
  grep -qxF "Exec=$saver --root" "$work/data/applications/screensavers/orvane.desktop" ||
    { fail "the package's screensavers/orvane.desktop does not run /usr/libexec/xscreensaver/orvane --root"; exit 1; }
  unset PULSE_SERVER XDG_RUNTIME_DIR XDG_CONFIG_HOME XDG_CACHE_HOME
  export HOME="$home" XDG_DATA_DIRS="$work/data" XDG_DATA_HOME="$home/.local/share" \
    GSETTINGS_SCHEMA_DIR=/usr/share/glib-2.0/schemas GSETTINGS_BACKEND=keyfile NO_AT_BRIDGE=1
  ORVANE_MATE_STAGE=session work="$work" programs="$programs" dbus-run-session -- "$0" && exit 0 || exit $?
fi

# In the session: choose Orvane, start the daemon, activate, deactivate.
trap 'kill $(jobs -p) $(package_processes) 2>/dev/null; wait' EXIT
gsettings set org.mate.screensaver mode single
gsettings set org.mate.screensaver themes "['screensavers-orvane']"
gsettings set org.mate.screensaver lock-enabled false
mate-screensaver --no-daemon --debug >"$work/mate.log" 2>&1 &
until_ok 10 mate-screensaver-command --query >/dev/null 2>&1

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

[ "$failures" -eq 0 ] || exit 1
echo "mate_saver: Orvane ran under mate-screensaver and ended with it"
