#!/usr/bin/env bash
# Builds the Qt-free core with the mingw-w64 cross compiler, warnings as errors, so
# that nothing Linux-only creeps into it. Usage: scripts/cross-check-windows.sh [build-dir]
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-${source_dir}/build-windows-check}"

cmake -S "${source_dir}" -B "${build_dir}" \
  -DCMAKE_TOOLCHAIN_FILE="${source_dir}/cmake/mingw-w64-x86_64.cmake" \
  -DKOLVARO_BUILD_UI=OFF -DKOLVARO_BUILD_SIM=OFF -DKOLVARO_BUILD_TESTS=OFF \
  -DKOLVARO_BUILD_BENCH=OFF -DKOLVARO_WERROR=ON

# The link library always; the libraries above it once their areas define them.
known_targets="$(cmake --build "${build_dir}" --target help)"
targets=(kolvaro_link)
for optional in kolvaro_telegram kolvaro_config; do
  if grep -qw -- "${optional}" <<<"${known_targets}"; then
    targets+=("${optional}")
  fi
done

failed=()
for target in "${targets[@]}"; do
  echo "== ${target}"
  cmake --build "${build_dir}" --target "${target}" -j2 || failed+=("${target}")
done
if ((${#failed[@]})); then
  echo "Windows cross-check FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "Windows cross-check passed: ${targets[*]}"
