#!/usr/bin/env bash
# Builds the Debian package orvane_<version>_<arch>.deb into build-deb/ in one command.
# The sources are copied into build-deb/src (dpkg-buildpackage writes beside its source
# folder); the compiled tree there is kept between runs, so a second run rebuilds only what
# changed.
# --clean starts that build afresh.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

clean=no
for argument in "$@"; do
  case "$argument" in
    --clean) clean=yes ;;
    *) echo "usage: scripts/package.sh [--clean]" >&2; exit 2 ;;
  esac
done

out="$PWD/build-deb"
src="$out/src"
if [ "$clean" = yes ]; then rm -rf "$out"; fi
mkdir -p "$src"
rm -f "$out"/orvane_* "$out"/orvane-dbgsym_*

# The kept build took its compiler flags from debian/rules when it was first configured.
if ! cmp -s debian/rules "$src/debian/rules"; then rm -rf "$src"/obj-*; fi

# The source files (scripts/sources.sh) with their times: the kept build (obj-*) then sees
# unchanged files as unchanged. Everything else, debhelper's records included, goes first.
find "$src" -mindepth 1 -maxdepth 1 ! -name 'obj-*' -exec rm -rf {} +
./scripts/sources.sh | tar --null -T - -cf - | tar -C "$src" -xpf -

if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="$src"
fi
start=$(date +%s)
( cd "$src" && dpkg-buildpackage -b -us -uc --no-pre-clean --no-post-clean -j"$(nproc)" ) \
  >"$out/build.log" 2>&1 || { tail -n 40 "$out/build.log" >&2; exit 1; }
deb=$(ls "$out"/orvane_*.deb)
echo "package: built $deb in $(( $(date +%s) - start )) s (log: $out/build.log)"
