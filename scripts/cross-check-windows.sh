#!/usr/bin/env bash
# Builds the Qt-free core and its tests with the mingw-w64 cross compiler (preset
# "windows", warnings as errors), so that nothing Linux-only creeps into them.
# scripts/test-windows.sh runs the tests under wine.
# Build trees go to ./build/ (KOLVARO_BUILD_ROOT overrides).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
builds=${KOLVARO_BUILD_ROOT:-$root/build}

cmake --preset windows -S "$root" -B "$builds/windows"
cmake --build "$builds/windows" -j 2
echo "Windows cross build passed"
