#!/usr/bin/env bash
# Installs what is missing, builds and runs every test of Kolvaro:
#   1. Release build, warnings as errors, all tests (knxd interop and UI tests included),
#      then its Debian package built, checked with lintian, installed and run;
#   2. AddressSanitizer + UndefinedBehaviorSanitizer build of the tests;
#   3. the Qt-free core and its tests cross-compiled for Windows (mingw-w64) and run
#      under wine, the Win32 serial line against kolvaro-bus;
#   4. the libFuzzer targets, each for a bounded time (scripts/fuzz-long.sh runs them
#      for long);
#   5. the format check of the C++ sources.
# Every build comes from a preset of CMakePresets.json.
# Build trees go to ./build/ (KOLVARO_BUILD_ROOT overrides). FUZZ_SECONDS sets the
# time per fuzzer (default 60).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
builds=${KOLVARO_BUILD_ROOT:-$root/build}
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-60}

# What this run counted: ctest's JUnit reports and the fuzzers' outcomes, added up in the
# closing line, which also names the step the script stopped at, if any.
results="$builds/results"
rm -rf "$results"
mkdir -p "$results"
current_step=""
fuzz_passed=0
fuzz_failed=0

step() {
  current_step="$*"
  printf '\n==== %s ====\n' "$*"
}

# One attribute of the <testsuite> element of a ctest JUnit report.
junit_count() {
  tr '\n' ' ' < "$2" | sed -n 's/.*<testsuite\([^>]*\)>.*/\1/p' |
    sed -n "s/.*[[:space:]]$1=\"\([0-9]*\)\".*/\1/p"
}

# run_ctest NAME BUILD_TREE TIMEOUT: the whole suite of one tree. A failure does not stop
# the script: the other runs still say what they found, and the closing line counts it.
run_ctest() {
  local name=$1 tree=$2 timeout=$3 status=0
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$tree" --output-on-failure -j 2 --timeout "$timeout" \
    --output-junit "$results/$name.xml" | tee "$builds/$name.log" || status=$?
  echo "$status" > "$results/$name.status"
}

summary() {
  local status=$? passed=0 failed=0 skipped=0 details="" report name tests failures skips
  for report in "$results"/*.status; do
    [ -e "$report" ] || continue
    name=$(basename "$report" .status)
    tests=0 failures=0 skips=0
    if [ -s "$results/$name.xml" ]; then
      tests=$(junit_count tests "$results/$name.xml")
      failures=$(junit_count failures "$results/$name.xml")
      skips=$(( $(junit_count skipped "$results/$name.xml") + $(junit_count disabled "$results/$name.xml") ))
    fi
    # A run that found no tests, or ctest failing without a failed test in its report (a
    # crash, a timeout of its own), still counts as one failure.
    if [ "${tests:-0}" -eq 0 ] || { [ "$(cat "$report")" != 0 ] && [ "${failures:-0}" -eq 0 ]; }; then
      failures=1
      tests=$((${tests:-0} + 1))
    fi
    passed=$((passed + tests - failures - skips))
    failed=$((failed + failures))
    skipped=$((skipped + skips))
    details+="${details:+, }$name $((tests - failures - skips))/$tests"
  done
  passed=$((passed + fuzz_passed))
  failed=$((failed + fuzz_failed))
  [ $((fuzz_passed + fuzz_failed)) -gt 0 ] && details+=", fuzzers $fuzz_passed/$((fuzz_passed + fuzz_failed))"
  local line="tests: $passed passed, $failed failed, $skipped skipped (${details:-nothing ran})"
  if [ "$status" -ne 0 ]; then
    line+="; stopped at \"$current_step\""
  elif [ "$failed" -ne 0 ]; then
    status=1
  fi
  printf '\n==== %s ====\n%s\n' "$([ "$status" -eq 0 ] && echo "all checks passed" || echo "FAILED")" "$line"
  exit "$status"
}
trap summary EXIT

step "dependencies"
"$root/scripts/install-deps.sh"

step "release build (warnings are errors)"
cmake --preset release -S "$root" -B "$builds/release"
cmake --build "$builds/release" -j "$jobs"

step "release tests"
run_ctest release "$builds/release" 300

step "Debian package: build, lintian, install, run the installed programs"
"$root/scripts/check-package.sh" "$builds/release"

step "sanitizer build (address, undefined)"
cmake --preset asan -S "$root" -B "$builds/asan"
cmake --build "$builds/asan" -j "$jobs"

step "sanitizer tests"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_stack_use_after_return=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
run_ctest sanitizer "$builds/asan" 600

step "Windows build of the core and its tests, run under wine"
# Counted like the other runs; a build that fails there counts as a failed run.
windows_status=0
KOLVARO_BUILD_ROOT="$builds" KOLVARO_JUNIT="$results/windows.xml" "$root/scripts/test-windows.sh" ||
  windows_status=$?
echo "$windows_status" > "$results/windows.status"

step "fuzzers (${fuzz_seconds}s each)"
# The address-text fuzzer drives the validation through the tests' recording window,
# so the tests are configured too (with the sanitizers the instrumented libraries need);
# only the fuzz targets are built.
cmake --preset fuzz -S "$root" -B "$builds/fuzz"
cmake --build "$builds/fuzz" -j "$jobs" --target fuzz_ini fuzz_receive fuzz_frame_decoder fuzz_tunnel_messages \
  fuzz_address_text fuzz_configuration_file fuzz_cli_options
fuzzers=$(find "$builds/fuzz/fuzz" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sort)
[ -n "$fuzzers" ] || { echo "no fuzz targets were built" >&2; exit 1; }
for fuzzer in $fuzzers; do
  name=$(basename "$fuzzer")
  corpus="$builds/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$root/fuzz/seeds/$name" ] && seeds=("$root/fuzz/seeds/$name")
  dictionary=()
  [ -f "$root/fuzz/$name.dict" ] && dictionary=(-dict="$root/fuzz/$name.dict")
  echo "-- $name"
  if "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=1 "${dictionary[@]}" "$corpus" "${seeds[@]}" \
      > "$builds/fuzz/$name.log" 2>&1; then
    fuzz_passed=$((fuzz_passed + 1))
  else
    fuzz_failed=$((fuzz_failed + 1))
  fi
  tail -n 12 "$builds/fuzz/$name.log"
done

step "format check"
"$root/scripts/check-format.sh"
