#!/usr/bin/env bash
# Builds both builds: the native one (portable libraries, tilora-cli, unit
# tests, benchmarks) and the Windows API one with winelib.
#   BUILD_DIR      where the build trees go (default: build/)
#   TILORA_SANITIZE=ON builds the native tree with ASan and UBSan
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
jobs=$(nproc)
sanitize=${TILORA_SANITIZE:-OFF}

cmake -S "$root" -B "$build/winelib" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/winelib.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build/winelib" -j "$jobs"

cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTILORA_SANITIZE="$sanitize" -DTILORA_WINELIB_DIR="$build/winelib" >/dev/null
cmake --build "$build/native" -j "$jobs"
