#!/usr/bin/env bash
# Builds the Windows programs with mingw-w64 into build-windows/bin (Orvane.scr, Orvane.dll
# and Orvane.image, statically linked: the folder can be copied to Windows as it is) and runs
# their tests under Wine: the core tests built for Windows, then the renderer and the host end
# to end, each test on an Xvfb of its own.
#
# freeglut comes from Debian's own source package, fetched once through an apt
# configuration of this script's own (the machine's apt sources are not touched) and built
# into build-windows/_deps. GoogleTest is built from Debian's sources in /usr/src/googletest.
#
#   scripts/windows.sh           build and test
#   scripts/windows.sh --build   build only
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tree="$root/build-windows"
deps="$tree/_deps"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
jobs=$(nproc)

# freeglut for Windows, built once and kept in the build tree.
freeglut="$deps/freeglut"
if [ ! -f "$freeglut/lib/libglut.a" ]; then
  apt_dir="$deps/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$deps/src"
  # The archive the machine's own apt uses for its release: the mirror of the index whose
  # suite is the release's code name (apt reads both source file formats).
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' |
    awk -v suite="$codename" '$2 == suite { print $1; exit }')
  if [ -z "$codename" ] || [ -z "$mirror" ]; then
    echo "windows: no apt source of this machine serves release '${codename:-?}' (/etc/os-release's VERSION_CODENAME); run apt-get update" >&2
    exit 1
  fi
  cat >"$apt_dir/debian-src.sources" <<SOURCES
Types: deb-src
URIs: $mirror
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  apt_options=(-o "Dir::Etc::sourcelist=/dev/null" -o "Dir::Etc::sourceparts=$apt_dir"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
  echo "windows: fetching Debian's freeglut source package"
  apt-get -qq "${apt_options[@]}" update >/dev/null
  rm -f "$deps/src"/freeglut_*
  (cd "$deps/src" && apt-get -qq "${apt_options[@]}" source --download-only freeglut >/dev/null 2>&1) || true
  if ! compgen -G "$deps/src/freeglut_*.dsc" >/dev/null; then
    echo "windows: the source package freeglut was not found in deb-src $mirror $codename main" >&2
    exit 1
  fi
  # apt has checked the files against the signed index; dpkg-source unpacks and patches them.
  rm -rf "$deps/src/freeglut"
  (cd "$deps/src" && dpkg-source -q -x freeglut_*.dsc freeglut >/dev/null 2>&1)
  echo "windows: building freeglut for Windows"
  cmake -S "$deps/src/freeglut" -B "$deps/freeglut-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON \
    -DFREEGLUT_REPLACE_GLUT=ON -DCMAKE_INSTALL_PREFIX="$freeglut" >/dev/null
  cmake --build "$deps/freeglut-build" -j"$jobs" >/dev/null
  cmake --install "$deps/freeglut-build" >/dev/null
fi

# A Wine prefix of this run's own for the programs that run during the build and the tests.
export WINEDEBUG=-all
export LANG="${WINE_LANG:-C.UTF-8}" LC_ALL="${WINE_LANG:-C.UTF-8}"
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/orvane-wine-XXXXXX")
export WINEPREFIX
# Windows' windows need an X server under Wine: an Xvfb of this run's own.
xvfb_out="$WINEPREFIX.display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$xvfb_out" 2>/dev/null &
xvfb=$!
cleanup() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$WINEPREFIX" "$xvfb_out"
}
trap cleanup EXIT
for _ in $(seq 200); do [ -s "$xvfb_out" ] && break; sleep 0.05; done
if [ ! -s "$xvfb_out" ]; then
  echo "windows: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$xvfb_out")"
# One persistent server and its system processes for the whole run, started away from the
# test runner's output pipes, which they would otherwise hold open.
wineserver -p </dev/null >/dev/null 2>&1
wineboot -i </dev/null >/dev/null 2>&1

cmake -S . -B "$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$tree" -j"$jobs"
echo "windows: the program folder is $tree/bin"
scripts/windows_installer.sh "$tree"
[ "${1:-}" = "--build" ] && exit 0

ctest --test-dir "$tree" --output-on-failure --timeout 300

# The renderer and the host end to end are driven from the Linux build, each test with a prefix
# and an Xvfb of its own.
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build -j"$jobs" --target saver_wine_tests host_wine_tests dialog_wine_tests
ctest --test-dir build -L wine --output-on-failure --timeout 300
