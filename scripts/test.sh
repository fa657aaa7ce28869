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
# without the tests), then checked by lintian, unpacked and run under Xvfb.
./scripts/package.sh
tests/package/check_package.sh build-deb/orvane_*_amd64.deb build

# The fuzz targets need clang's libFuzzer; they build in a tree of their own.
if compgen -G "fuzz/*/CMakeLists.txt" >/dev/null; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DENABLE_FUZZERS=ON -DBUILD_TESTING=OFF \
    -DENABLE_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build-fuzz -j"$(nproc)" --target fuzzers
  ctest --test-dir build-fuzz --output-on-failure -j2 --no-tests=error
fi
