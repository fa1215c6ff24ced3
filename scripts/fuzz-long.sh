#!/usr/bin/env bash
# Runs every fuzz target for long: each until 10 million executions or SECONDS seconds
# (default 600), from the seeds under fuzz/seeds/<target>/ and the corpus earlier runs
# grew, with the target's dictionary fuzz/<target>.dict where there is one. Then prints,
# target by target, the executions, their rate, the coverage reached and the crashes.
#   scripts/fuzz-long.sh [SECONDS]
# The fuzz preset is configured and built first, in ./build/fuzz (KOLVARO_BUILD_ROOT
# overrides the ./build part), with JOBS parallel jobs (default: every processor).
# A crashing input is kept as build/fuzz/long/<target>/crash-*; the script then fails.
# scripts/test.sh keeps its own short run of the same targets.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
builds=${KOLVARO_BUILD_ROOT:-$root/build}
seconds=${1:-600}
runs=10000000
targets=(fuzz_ini fuzz_receive fuzz_frame_decoder fuzz_address_text fuzz_configuration_file fuzz_cli_options)

cmake --preset fuzz -S "$root" -B "$builds/fuzz" > /dev/null
cmake --build "$builds/fuzz" -j "${JOBS:-$(nproc)}" --target "${targets[@]}"

# The last value of a libFuzzer log's "name: value" status or statistic.
last_value() { grep -o "$1 *[0-9]*" "$2" | tail -n 1 | grep -o '[0-9]*$' || echo "?"; }

report=()
failed=0
for name in "${targets[@]}"; do
  fuzzer="$builds/fuzz/fuzz/$name"
  work="$builds/fuzz/long/$name"
  corpus="$builds/fuzz/corpus/$name"
  mkdir -p "$work" "$corpus"
  rm -f "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*
  options=(-runs="$runs" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/")
  [ -f "$root/fuzz/$name.dict" ] && options+=(-dict="$root/fuzz/$name.dict")
  inputs=("$corpus")
  [ -d "$root/fuzz/seeds/$name" ] && inputs+=("$root/fuzz/seeds/$name")
  echo "-- $name: up to $runs executions or ${seconds}s"
  status=0
  "$fuzzer" "${options[@]}" "${inputs[@]}" > "$work/fuzz.log" 2>&1 || status=$?
  crashes=$(find "$work" -maxdepth 1 -regextype egrep -regex '.*/(crash|leak|timeout|oom)-.*' | wc -l)
  # A fuzzer that stopped with an error but left no input behind still counts as a crash.
  [ "$status" -ne 0 ] && [ "$crashes" -eq 0 ] && crashes=1
  [ "$crashes" -ne 0 ] && failed=1 && tail -n 30 "$work/fuzz.log"
  report+=("$(printf '%-24s %12s %10s %6s %8s %7s %7s' "$name" \
    "$(last_value 'stat::number_of_executed_units:' "$work/fuzz.log")" \
    "$(last_value 'stat::average_exec_per_sec:' "$work/fuzz.log")" \
    "$(last_value 'cov:' "$work/fuzz.log")" "$(last_value 'ft:' "$work/fuzz.log")" \
    "$(last_value 'corp:' "$work/fuzz.log")" "$crashes")")
done

printf '\n%-24s %12s %10s %6s %8s %7s %7s\n' target executions exec/s cov features corpus crashes
printf '%s\n' "${report[@]}"
exit "$failed"
