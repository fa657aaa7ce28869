#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing Orvane needs.
# Idempotent and quiet: packages already installed are skipped.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config ccache clang libclang-rt-14-dev clang-format
  libgtest-dev googletest
  # renderer (XRandR for the monitors)
  libxrandr-dev freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri mesa-utils
  # host: windows, dialogs, pictures, cursor
  libgtk-3-dev libx11-dev libxfixes-dev libgdk-pixbuf-2.0-dev fonts-ipafont-gothic xdg-utils
  # the picture tool's decoders
  libjpeg62-turbo-dev libpng-dev
  # music
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-plugins-base
  gstreamer1.0-plugins-good gstreamer1.0-pulseaudio gstreamer1.0-tools
  libcdio-dev libcdio-paranoia-dev
  # tests and benchmarks
  xvfb xdotool x11-utils x11-apps imagemagick openbox pulseaudio pulseaudio-utils libxtst-dev
  libjpeg-turbo-progs python3 time xautolock
  # the screen-saver daemons the tests run, and a two-monitor X server
  xscreensaver xsecurelock mate-screensaver dbus xserver-xorg-core xserver-xorg-video-dummy
  # the Debian package
  debhelper dpkg-dev lintian desktop-file-utils
  # the Windows build and its tests under Wine; dpkg-dev also unpacks Debian's freeglut sources
  g++-mingw-w64-x86-64-posix wine wine64
  # the Windows installer and zip
  nsis zip
  # the Wayland shell: client library, protocol scanner and files, EGL, GL without GLX, keys
  libwayland-dev libwayland-bin wayland-protocols libegl-dev libopengl-dev libxkbcommon-dev
  # the Wayland tests: two headless compositors, screenshots, keys, the idle timer
  sway swayidle weston grim wtype wayland-utils xwayland
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
