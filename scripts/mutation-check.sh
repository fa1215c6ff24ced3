#!/usr/bin/env bash
# Makes each named change below to a throwaway copy of the committed tree (a detached git
# worktree), builds the bus procedure tests and expects at least one of them to fail. A
# change that every test survives, one whose pattern no longer matches the code, or one
# that does not build is reported, and the script exits non-zero.
#
#   scripts/mutation-check.sh            every change
#   scripts/mutation-check.sh NAME...    only these
#   scripts/mutation-check.sh --show     print each change as a diff, build nothing
#
# The copy and its build go to ./build/mutation/ (KOLVARO_BUILD_ROOT overrides).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
builds=${KOLVARO_BUILD_ROOT:-$root/build}
work="$builds/mutation"
tree="$work/tree"
build="$work/build"

names=() files=() edits=()
# mutation NAME FILE PERL: the change, as a perl substitution on the whole file.
mutation() {
  names+=("$1")
  files+=("$2")
  edits+=("$3")
}

write=src/config/WriteProcedure.cpp
read=src/config/ReadProcedure.cpp
group=src/config/GroupSwitching.cpp
# A confirmed write of one stage returns right after sending (wait limit 1 becomes -1);
# the stage is picked by its telegram.
confirmed_write='(sendTelegram\(telegram,\s*)wait_limit::OneTick(,\s*answer_code::None,\s*ExchangeMode::Confirmation\))'
no_wait_for() { echo "s/$confirmed_write/\$1(telegram.find(\"$1\") != std::string::npos ? wait_limit::ReturnAfterSending : wait_limit::OneTick)\$2/"; }

mutation write-assignment-returns-at-once "$write" "$(no_wait_for E300C0)"
mutation write-program-wy1-returns-at-once "$write" "$(no_wait_for 6442810000)"
mutation write-program-wy2-returns-at-once "$write" "$(no_wait_for 6442810001)"
mutation write-input-mode-returns-at-once "$write" "$(no_wait_for 64428100FF)"
mutation write-listening-sends-mode-0 "$write" \
  's/(sendTelegram\(""\s*,[^;]*?)ExchangeMode::FurtherAnswer/$1ExchangeMode::Answer/'
mutation write-unconfirmed-leaves-the-bar "$write" \
  's/(bool confirmedWrite\(.*?)advance\(procedure::progress::PerUnansweredTransfer\);/$1/s'
mutation write-unconfirmed-ends-the-run "$write" \
  's/(bool confirmedWrite\(.*?case Outcome::NoReply:.*?if \(counter\.allowsAnother\(\)\) continue;\s*)return true;/$1return fail();/s'
mutation write-bar-not-reset-before-wy2 "$write" \
  's/(for \(const auto& output : outputs\) \{\s*)view_\.setProgressPosition\(0\);/$1if (&output == &outputs[0]) view_.setProgressPosition(0);/'
mutation write-pause-after-table-telegram "$write" \
  's/(bool writeGroupTable\(\).*?)\n(\s*)((?:view_\.pause|platform\(\)\.sleep)\(procedure::StepPause\);)(.*?)(\n\s*view_\.stepProgress\(\);)/$1$4\n$2$3$5/s'

mutation read-silence-leaves-the-bar "$read" \
  's/(if \(outcome == Outcome::NoReply && barCountsSilence\) advance\()[^;]*\);/${1}0);/'
mutation read-silent-program-error-box "$read" \
  's/(readByte\([^;]*?ProgramReadError,\s*)ProgramReadUnsuccessful/$1ProgramReadError/s'
mutation read-silent-input-mode-error-box "$read" \
  's/(readByte\([^;]*?InputModeReadError,\s*)InputModeReadUnsuccessful/$1InputModeReadError/s'
mutation read-fields-after-the-table "$read" \
  's/\n\s*if \(k % 2 == 1\) \{.*?\n\s*\}//s; s/(bool readGroupTable\(\).*?\n    \}\n)(\s*return true;)/$1    for (int e = TableEntryCount - 1; e >= 0; --e) view_.setFieldText(GroupFields[e], GroupBytesToText(table[2 * e], table[2 * e + 1]));\n$2/s'
mutation read-failed-byte-stored "$read" \
  's/(bool readGroupTable\(\).*?if \(!readByte\([^;]*\)\)\s*\{\s*)return false;/$1table[index] = value;\n        return false;/s'
mutation read-stop-marks-fields-read "$read" \
  's/if \(!reachedEnd\) return;/static_cast<void>(reachedEnd);/'
mutation read-disabled-before-start-texts "$read" \
  's/\n\s*view\.setButtonEnabled\(Button::Read, false\);//; s/(\n(\s*))(view\.setFieldText\(Field::phAddr, UnknownPhysicalText\);)/$1view.setButtonEnabled(Button::Read, false);$1$3/'

mutation group-counter-per-outcome "$group" \
  's/(AttemptCounter counter\(2\);)/$1\n  AttemptCounter errors(2);/; s/(if \(outcome == Outcome::Error\) \{\s*if \()counter(\.allowsAnother\(\)\))/$1errors$2/'
mutation group-progress-step-touched "$group" \
  's/(\n(\s*)AttemptCounter counter\(2\);)/\n$2view.setProgressStep(1);$1/'

show=""
if [ "${1:-}" = "--show" ]; then
  show=yes
  shift
fi
wanted=("$@")
selected() {
  [ ${#wanted[@]} -eq 0 ] && return 0
  local w
  for w in "${wanted[@]}"; do [ "$w" = "$1" ] && return 0; done
  return 1
}

mkdir -p "$work"
# One run at a time per build root: the copy and its build are shared.
exec 9> "$work/lock"
flock -n 9 || { echo "mutation-check: another run is using $work" >&2; exit 1; }
cleanup() { git -C "$root" worktree remove --force "$tree" >/dev/null 2>&1 || true; }
trap cleanup EXIT
cleanup
rm -rf "$tree"
git -C "$root" worktree add --detach --quiet "$tree" HEAD

if [ -n "$show" ]; then
  status=0
  for i in "${!names[@]}"; do
    selected "${names[$i]}" || continue
    perl -0pi -e "${edits[$i]}" "$tree/${files[$i]}"
    echo "== ${names[$i]}"
    if git -C "$tree" diff --quiet -- "${files[$i]}"; then
      echo "BROKEN: the pattern no longer matches ${files[$i]}"
      status=1
    fi
    git -C "$tree" diff -U1 -- "${files[$i]}" | sed -n '/^[-+@][^-+]/p'
    git -C "$tree" checkout --quiet -- "${files[$i]}"
  done
  exit "$status"
fi

targets=(config_write_procedure config_read_procedure config_group_switching config_round_trip config_procedure_paths)
tests_regex='^config_(write_procedure|read_procedure|group_switching|round_trip|procedure_paths)\.'
export CCACHE_BASEDIR="$tree"
cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  -DKOLVARO_BUILD_UI=OFF -DKOLVARO_BUILD_BENCH=OFF > "$work/configure.log"
jobs=${KOLVARO_JOBS:-2}

run_tests() { ctest --test-dir "$build" -R "$tests_regex" -j "$jobs" --timeout 120 > "$work/tests.log" 2>&1; }

echo "baseline: building and running the procedure tests on the unchanged tree"
cmake --build "$build" -j "$jobs" --target "${targets[@]}" > "$work/build.log" 2>&1 ||
  { tail -n 30 "$work/build.log"; echo "baseline does not build" >&2; exit 1; }
run_tests || { cat "$work/tests.log"; echo "baseline tests fail: fix them first" >&2; exit 1; }
echo "baseline: $(grep -o '[0-9]* tests failed out of [0-9]*' "$work/tests.log")"

caught=0 survived=0 broken=0
for i in "${!names[@]}"; do
  name=${names[$i]} file=${files[$i]}
  selected "$name" || continue
  perl -0pi -e "${edits[$i]}" "$tree/$file"
  if git -C "$tree" diff --quiet -- "$file"; then
    echo "BROKEN    $name: the pattern no longer matches $file"
    broken=$((broken + 1))
    continue
  fi
  if ! cmake --build "$build" -j "$jobs" --target "${targets[@]}" > "$work/build.log" 2>&1; then
    echo "BROKEN    $name: the changed code does not build"
    grep -m 3 'error:' "$work/build.log" || true
    broken=$((broken + 1))
  elif run_tests; then
    echo "SURVIVED  $name: every test passed"
    git -C "$tree" diff -- "$file" | sed -n '/^[-+][^-+]/p'
    survived=$((survived + 1))
  else
    failed=$(sed -n '/The following tests FAILED:/,$ s/^[[:space:]]*[0-9]* - \([^ ]*\).*/\1/p' "$work/tests.log")
    echo "caught    $name: $(grep -c . <<< "$failed") failed, e.g. $(head -n 2 <<< "$failed" | paste -sd ' ' -)"
    caught=$((caught + 1))
  fi
  git -C "$tree" checkout --quiet -- "$file"
done

echo "mutations: $caught caught, $survived survived, $broken broken"
[ "$survived" -eq 0 ] && [ "$broken" -eq 0 ]
