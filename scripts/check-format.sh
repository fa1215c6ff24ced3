#!/usr/bin/env bash
# Checks the tracked C++ sources (or the files given) against .clang-format; lists each
# file that differs and fails when any does. Changes nothing: `clang-format-14 -i FILE`
# formats a file.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
if (($#)); then
  files=("$@")
else
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
flagged=()
for file in "${files[@]}"; do
  clang-format-14 --dry-run --Werror "$file" >/dev/null 2>&1 || flagged+=("$file")
done
if ((${#flagged[@]})); then
  printf 'not formatted: %s\n' "${flagged[@]}" >&2
  echo "format check FAILED: ${#flagged[@]} of ${#files[@]} files" >&2
  exit 1
fi
echo "format check passed: ${#files[@]} files"
