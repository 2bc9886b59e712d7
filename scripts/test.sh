#!/usr/bin/env bash
# Everything needed to run every test on a fresh Debian 12 machine: installs
# the packages (root), builds both builds (the native one with ASan and
# UBSan) and runs all tests through CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
export TILORA_SANITIZE=${TILORA_SANITIZE:-ON}
export BUILD_DIR=${BUILD_DIR:-$root/build/test}
"$root/scripts/build.sh"
cd "$BUILD_DIR/native"
ctest --output-on-failure -j "$(nproc)"
