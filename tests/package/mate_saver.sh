#!/usr/bin/env bash
# Runs the unpacked package under MATE's real screen saver, as a user who chose Orvane in its
# settings: activated, the tunnel shows on the screen and the chosen WAV plays on a PulseAudio
# null sink; deactivated, no program of the package runs and the sink falls silent.
#
# usage: tests/package/mate_saver.sh ROOT     (ROOT: the unpacked package; DISPLAY: an X server)
#
# mate-screensaver runs savers only from fixed folders under /usr, so the script lays ROOT/usr
# over /usr in a mount namespace of its own (an overlay that its own processes alone see and
# that goes with them): the package runs where it is installed, and the machine is untouched.
# The daemon is offered Orvane alone: its data folders hold only Orvane's entry.
set -euo pipefail

stage=${ORVANE_MATE_STAGE:-}
if [ -z "$stage" ]; then
  namespace=(unshare --mount --propagation private)
  [ "$(id -u)" -eq 0 ] || namespace=(unshare --map-root-user --mount --propagation private)
  exec env ORVANE_MATE_STAGE=namespace "${namespace[@]}" "$0" "$(realpath "$1")"
fi

failures=0
fail() {
  echo "mate_saver: FAILED: $*" >&2
  failures=$((failures + 1))
}

# The pids of the package's programs in this namespace, found by their path.
package_processes() {
  local exe pid own
  own=$(readlink /proc/self/ns/mnt)
  for exe in /proc/[0-9]*/exe; do
    pid=${exe#/proc/}
    pid=${pid%/exe}
    case "$(readlink "$exe" 2>/dev/null)" in
      /usr/lib/orvane/*) [ "$(readlink "/proc/$pid/ns/mnt" 2>/dev/null)" = "$own" ] && echo "$pid" ;;
    esac
  done
}

# The number of colours on the screen: a tunnel shows many, a blank screen one.
screen_colours() {
  xwd -root -silent 2>/dev/null | /usr/bin/convert xwd:- -depth 8 -format %k info: 2>/dev/null || echo 0
}

# The loudest sample recorded from byte OFFSET on (16-bit little-endian).
peak_since() {
  python3 -c '
import sys, array
data = open(sys.argv[1], "rb").read()[int(sys.argv[2]):]
samples = array.array("h", data[: len(data) // 2 * 2])
print(max((abs(s) for s in samples), default=0))' "$work/recording" "$1"
}
recorded() { stat -c %s "$work/recording"; }
# True while fewer than SECONDS have passed since the mark `started` was set.
started=0
mark() { started=$(date +%s%N); }
within() { [ $(($(date +%s%N) - started)) -lt $(($1 * 1000000000)) ]; }

if [ "$stage" = namespace ]; then
  root=$1
  mount -t overlay overlay -o "lowerdir=$root/usr:/usr" /usr
  work=$(mktemp -d)
  pulse="" recorder=""
  cleanup() {
    set +e
    [ -n "$recorder" ] && kill "$recorder" 2>/dev/null
    [ -n "$pulse" ] && kill "$pulse" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
  }
  trap cleanup EXIT

  # A PulseAudio daemon of the run's own with a null sink, recorded from its monitor.
  mkdir -p "$work/pulse/run" "$work/pulse/state" "$work/pulse/config"
  export PULSE_SERVER="unix:$work/pulse/native"
  HOME="$work/pulse" XDG_RUNTIME_DIR="$work/pulse/run" PULSE_RUNTIME_PATH="$work/pulse/run/pulse" \
    PULSE_STATE_PATH="$work/pulse/state" XDG_CONFIG_HOME="$work/pulse/config" \
    pulseaudio -n --daemonize=no --use-pid-file=no --system=no --exit-idle-time=120 \
    --disable-shm=yes -L "module-null-sink sink_name=orvane_null rate=44100 channels=2" \
    -L "module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" \
    >"$work/pulse/out" 2>&1 &
  pulse=$!
  for _ in $(seq 200); do
    [ -S "$work/pulse/native" ] && pactl info >/dev/null 2>&1 && break
    sleep 0.05
  done
  pactl info >/dev/null 2>&1 || { echo "mate_saver: FAILED: PulseAudio did not start" >&2; exit 1; }
  parec -d orvane_null.monitor --raw --format=s16le --rate=44100 --channels=2 \
    --latency-msec=20 >"$work/recording" 2>/dev/null &
  recorder=$!

  # The user's home: the music chosen (a looping 440 Hz WAV), and the way to the sound server,
  # which passes mate-screensaver's scrubbing of the environment (it keeps HOME).
  home="$work/home"
  mkdir -p "$home/.config/orvane" "$home/.config/pulse" "$home/.local/share" \
    "$work/data/applications/screensavers"
  printf 'default-server = unix:%s\nautospawn = no\nenable-shm = no\n' "$work/pulse/native" \
    >"$home/.config/pulse/client.conf"
  python3 - "$home/tone.wav" "$home/.config/orvane/Orvane.ini" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(2); out.setsampwidth(2); out.setframerate(44100)
    frames = (int(16000 * math.sin(2 * math.pi * 440 * i / 44100)) for i in range(44100 * 2))
    out.writeframes(b"".join(struct.pack("<hh", s, s) for s in frames))
with open(sys.argv[2], "wb") as ini:
    ini.write(b"[Section]\r\n" + "BGM区分=2\r\n".encode("cp932") +
              "BGMﾌｧｲﾙ=".encode("cp932") + sys.argv[1].encode() + b"\r\n")
PY
  cp /usr/share/applications/screensavers/orvane.desktop "$work/data/applications/screensavers/"

  unset PULSE_SERVER XDG_RUNTIME_DIR XDG_CONFIG_HOME XDG_CACHE_HOME
  export HOME="$home" XDG_DATA_DIRS="$work/data" XDG_DATA_HOME="$home/.local/share" \
    GSETTINGS_SCHEMA_DIR=/usr/share/glib-2.0/schemas GSETTINGS_BACKEND=keyfile NO_AT_BRIDGE=1
  code=0
  ORVANE_MATE_STAGE=session work="$work" dbus-run-session -- "$0" || code=$?
  exit "$code"
fi

# In the session: choose Orvane, start the daemon, activate, deactivate.
[ "$stage" = session ] || { echo "mate_saver: unknown stage $stage" >&2; exit 2; }
daemon=""
finish() {
  set +e
  [ -n "$daemon" ] && kill "$daemon" 2>/dev/null && wait "$daemon" 2>/dev/null
  for pid in $(package_processes); do kill -KILL "$pid" 2>/dev/null; done
}
trap finish EXIT
gsettings set org.mate.screensaver mode single
gsettings set org.mate.screensaver themes "['screensavers-orvane']"
gsettings set org.mate.screensaver lock-enabled false
mate-screensaver --no-daemon --debug >"$work/mate.log" 2>&1 &
daemon=$!
mark
while within 10 && ! mate-screensaver-command --query >/dev/null 2>&1; do sleep 0.1; done

before=$(recorded)
mate-screensaver-command --activate >/dev/null
colours=0
mark
while within 15; do
  colours=$(screen_colours)
  [ "$colours" -gt 50 ] && break
  sleep 0.1
done
[ "$colours" -gt 50 ] ||
  fail "activated: the screen shows $colours colours, not a tunnel; the daemon said: $(grep -i 'command\|job' "$work/mate.log" | tail -n 5)"
[ -n "$(package_processes)" ] || fail "activated: no program of the package runs"
heard=0
mark
while within 10; do
  heard=$(peak_since "$before")
  [ "$heard" -gt 3000 ] && break
  sleep 0.1
done
[ "$heard" -gt 3000 ] || fail "activated: the chosen WAV is not heard (peak $heard)"

mate-screensaver-command --deactivate >/dev/null
left=""
mark
while within 5; do
  left=$(package_processes)
  [ -z "$left" ] && break
  sleep 0.05
done
[ -z "$left" ] || fail "deactivated: 5 s later these still run: $(ps -o pid=,args= -p "${left//$'\n'/,}")"
sleep 0.3  # what was on its way to the sink drains
quiet_from=$(recorded)
sleep 0.8
quiet=$(peak_since "$quiet_from")
[ "$quiet" -lt 50 ] || fail "deactivated: the music plays on (peak $quiet)"

[ "$failures" -eq 0 ] || exit 1
echo "mate_saver: Orvane ran under mate-screensaver and ended with it"
