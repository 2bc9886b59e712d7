#!/usr/bin/env bash
# Everything needed to run every test on a fresh Debian 12 machine: installs
# the packages (root), builds both builds (the native one with ASan and
# UBSan) and the libFuzzer targets (clang), and runs all tests through CTest.
#   TILORA_FUZZ_SECONDS  how long each fuzz target runs (default 30)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
export TILORA_SANITIZE=${TILORA_SANITIZE:-ON}
export BUILD_DIR=${BUILD_DIR:-$root/build/test}
"$root/scripts/build.sh"

# The fuzz targets need clang's libFuzzer: a tree of their own.
fuzz=$BUILD_DIR/fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTILORA_FUZZ=ON \
      -DTILORA_TESTS=OFF -DTILORA_BENCH=OFF -DTILORA_FUZZ_SECONDS="${TILORA_FUZZ_SECONDS:-30}" >/dev/null
cmake --build "$fuzz" -j "$(nproc)"

status=0
(cd "$fuzz" && ctest --output-on-failure -j "$(nproc)") || status=1
cd "$BUILD_DIR/native"
# The unit tests first, side by side; then the end-to-end tests under Wine,
# one at a time, on a machine no longer busy with the others (a fresh Wine
# prefix starting beside sanitizer-built tests can miss its time limits).
ctest --output-on-failure -j "$(nproc)" -LE e2e || status=1
ctest --output-on-failure -L e2e || status=1
exit $status
