#!/usr/bin/env bash
# Builds the Windows tree (preset "windows": the Qt-free core and its tests, mingw-w64)
# and runs its tests under wine, in a throwaway wine prefix of this run. kolvaro-bus
# (from the release tree, built when missing) stands behind COM1, so the Win32 serial
# line is exercised against a simulated interface chip.
# Build trees go to ./build/ (KOLVARO_BUILD_ROOT overrides); KOLVARO_JUNIT names a file
# for CTest's JUnit report.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
builds=${KOLVARO_BUILD_ROOT:-$root/build}

KOLVARO_BUILD_ROOT="$builds" "$root/scripts/cross-check-windows.sh"
if [ ! -f "$builds/release/CMakeCache.txt" ]; then
  cmake --preset release -S "$root" -B "$builds/release"
fi
cmake --build "$builds/release" --target kolvaro-bus -j 2

work=$(mktemp -d "${TMPDIR:-/tmp}/kolvaro-wine.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
bus_pid=""
cleanup() {
  if [ -n "$bus_pid" ] && kill -0 "$bus_pid" 2>/dev/null; then
    kill -TERM "$bus_pid" 2>/dev/null || true
    wait "$bus_pid" 2>/dev/null || true
  fi
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

started=$(date +%s)
wineboot -i >/dev/null 2>&1
# Wine's mount manager writes dosdevices/comN when its server starts, from this key
# (and from /dev/ttyS*): a link made by hand is overwritten then.
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$work/com1" /f >/dev/null
wineserver -k
wineserver -w
echo "wine prefix ready in $(($(date +%s) - started)) s"

mkfifo "$work/bus-input"
"$builds/release/sim/kolvaro-bus" --link "$work/com1" --device 1.1.5,prog --memory 0028:0002 \
  < "$work/bus-input" > "$work/bus.log" 2>&1 &
bus_pid=$!
exec 3> "$work/bus-input"
for _ in $(seq 100); do
  [ -e "$work/com1" ] && break
  sleep 0.05
done
[ -e "$work/com1" ] || { echo "test-windows.sh: kolvaro-bus made no link" >&2; exit 1; }

# The serial tests find the simulated chip on COM1, and its bus log, through these.
export KOLVARO_TEST_COM1_PEER=kolvaro-bus KOLVARO_TEST_BUS_LOG="$work/bus.log"
junit=()
[ -n "${KOLVARO_JUNIT:-}" ] && junit=(--output-junit "$KOLVARO_JUNIT")
ctest --test-dir "$builds/windows" --output-on-failure -j 2 --timeout 300 "${junit[@]}" | tee "$builds/windows-tests.log"
# One CTest test per executable there: the cases inside, as GoogleTest counted them.
log="$builds/windows/Testing/Temporary/LastTest.log"
run=$(sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran\..*/\1/p' "$log" | awk '{s += $1} END {print s + 0}')
passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$log" | awk '{s += $1} END {print s + 0}')
echo "under wine: $run test cases run, $passed passed"
