#!/usr/bin/env bash
# Installs what is missing, builds and runs every test of Kolvaro:
#   1. Release build, warnings as errors, all tests (knxd interop and UI tests included);
#   2. AddressSanitizer + UndefinedBehaviorSanitizer build of the tests;
#   3. the Qt-free core cross-compiled for Windows (mingw-w64);
#   4. the libFuzzer targets, each for a bounded time.
# Build trees go to ./build/ (KOLVARO_BUILD_ROOT overrides). FUZZ_SECONDS sets the
# time per fuzzer (default 60).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
builds=${KOLVARO_BUILD_ROOT:-$root/build}
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-60}

step() { printf '\n==== %s ====\n' "$*"; }

step "dependencies"
"$root/scripts/install-deps.sh"

step "release build (warnings are errors)"
cmake -S "$root" -B "$builds/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOLVARO_WERROR=ON
cmake --build "$builds/release" -j "$jobs"

step "release tests"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$builds/release" --output-on-failure -j 2 --timeout 300 \
  | tee "$builds/release-tests.log"

step "sanitizer build (address, undefined)"
cmake -S "$root" -B "$builds/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKOLVARO_WERROR=ON \
  -DKOLVARO_SANITIZE=address,undefined -DKOLVARO_BUILD_BENCH=OFF
cmake --build "$builds/asan" -j "$jobs"

step "sanitizer tests"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_stack_use_after_return=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
QT_QPA_PLATFORM=offscreen ctest --test-dir "$builds/asan" --output-on-failure -j 2 --timeout 600 \
  | tee "$builds/asan-tests.log"

step "Windows cross build of the core"
KOLVARO_BUILD_ROOT="$builds" "$root/scripts/cross-check-windows.sh"

step "fuzzers (${fuzz_seconds}s each)"
# The address-text fuzzer drives the validation through the tests' recording window,
# so the tests are configured too (with the sanitizers the instrumented libraries need);
# only the fuzz targets are built.
cmake -S "$root" -B "$builds/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DKOLVARO_BUILD_FUZZERS=ON -DKOLVARO_SANITIZE=address,undefined \
  -DKOLVARO_BUILD_UI=OFF -DKOLVARO_BUILD_SIM=OFF -DKOLVARO_BUILD_BENCH=OFF -DKOLVARO_WERROR=ON
cmake --build "$builds/fuzz" -j "$jobs" --target fuzz_ini fuzz_receive fuzz_address_text
fuzzers=$(find "$builds/fuzz/fuzz" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sort)
[ -n "$fuzzers" ] || { echo "no fuzz targets were built" >&2; exit 1; }
for fuzzer in $fuzzers; do
  name=$(basename "$fuzzer")
  corpus="$builds/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$root/fuzz/seeds/$name" ] && seeds=("$root/fuzz/seeds/$name")
  echo "-- $name"
  "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" "${seeds[@]}" 2>&1 | tail -n 12
done

step "all checks passed"
# ctest's own summaries, added up: both test runs and the fuzzers.
total=0
for log in "$builds/release-tests.log" "$builds/asan-tests.log"; do
  n=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)
  total=$((total + ${n:-0}))
done
fuzz_count=$(echo "$fuzzers" | wc -l)
echo "tests: $((total + fuzz_count)) passed, 0 failed"
