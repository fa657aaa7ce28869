#!/usr/bin/env bash
# Sets up, builds and runs every test: the unit and display suites, the Windows programs
# under Wine, the Debian package's checks, then the fuzzers over their kept corpora and
# regression cases.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
# The Wine tests run on the Windows build, which windows.sh makes first.
ctest --test-dir build --output-on-failure -j2 --timeout 300 -LE wine
./scripts/windows.sh

# The Debian package: built in a tree of its own (dpkg-buildpackage builds everything again,
# without the tests), then checked by lintian, unpacked and run under Xvfb. From a clone it is
# built in build-tarball/, a copy of the sources without .git as a source tarball holds them,
# so that the scripts are tried there too (the copy keeps its package build between runs).
package_tree=.
if [ -e .git ]; then
  package_tree=build-tarball
  mkdir -p "$package_tree"
  find "$package_tree" -mindepth 1 -maxdepth 1 ! -name build-deb -exec rm -rf {} +
  ./scripts/sources.sh | tar --null -T - -cf - | tar -C "$package_tree" -xpf -
fi
(cd "$package_tree" && ./scripts/package.sh)
tests/package/check_package.sh "$package_tree"/build-deb/orvane_*_amd64.deb build

# The fuzz targets need clang's libFuzzer; they build in a tree of their own.
if compgen -G "fuzz/*/CMakeLists.txt" >/dev/null; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DENABLE_FUZZERS=ON -DBUILD_TESTING=OFF \
    -DENABLE_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build-fuzz -j"$(nproc)" --target fuzzers
  ctest --test-dir build-fuzz --output-on-failure -j2 --no-tests=error
fi
