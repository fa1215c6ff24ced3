#!/usr/bin/env bash
# Makes each named change below to a throwaway copy of the committed tree (a detached git
# worktree), builds the device session's and the exchange's tests and expects at least
# one of them to fail. A
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
face=src/ui/WindowFace.cpp
machine=src/telegram/ReceiveMachine.cpp
exchange=src/telegram/TelegramExchange.cpp
compare=src/config/DeviceConfiguration.cpp
# A confirmed write of one stage returns right after sending; the stage is picked by its frame.
no_wait_for() { echo "s/bus_\.request\(Request::confirmed\(frame\)\)/bus_.request($1 ? Request::sendOnly(frame) : Request::confirmed(frame))/"; }

mutation write-assignment-returns-at-once "$write" "$(no_wait_for 'frame.service() == service::IndividualAddressWrite')"
mutation write-program-wy1-returns-at-once "$write" "$(no_wait_for 'frame.memoryAddress() == memory::ProgramWY1')"
mutation write-program-wy2-returns-at-once "$write" "$(no_wait_for 'frame.memoryAddress() == memory::ProgramWY2')"
mutation write-input-mode-returns-at-once "$write" "$(no_wait_for 'frame.memoryAddress() == memory::InputMode')"
mutation write-listening-sends-mode-0 "$write" \
  's/(StageResult noSecondDeviceAnswers\(\).*?)Request::furtherAnswer\(/$1Request::answered(Frame{}, /s'
mutation write-unconfirmed-leaves-the-bar "$write" \
  's/(StageResult confirmedWrite\(.*?)progress_\.advance\(procedure::progress::PerUnansweredTransfer\);/$1/s'
mutation write-unconfirmed-ends-the-run "$write" \
  's/(StageResult confirmedWrite\(.*?case Outcome::NoReply:.*?if \(counter\.allowsAnother\(\)\) continue;\s*)return StageResult::Done;/$1return fail();/s'
mutation write-bar-not-reset-before-wy2 "$write" \
  's/(for \(unsigned output = 1; output <= 2; \+\+output\) \{\s*)progress_\.set\(0\);/$1if (output == 1) progress_.set(0);/'
mutation write-pause-after-table-telegram "$write" \
  's/(StageResult writeGroupTable\(\).*?)\n(\s*)(platform\(\)\.sleep\(procedure::StepPause\);)(.*?)(\n\s*progress_\.step\(\);)/$1$4\n$2$3$5/s'
mutation write-question-answer-inverted "$write" 's/if \(!face_\.ask\(question\)\)/if (face_.ask(question))/'
mutation write-assignment-skipped "$write" 's/\n\s*stage\(WriteStage::AddressAssignment, assignAddress\(\)\) &&//'

mutation read-silence-leaves-the-bar "$read" \
  's/(if \(outcome == Outcome::NoReply && barCountsSilence\)\s*progress_\.advance\()[^;]*\);/${1}0);/'
mutation read-silent-program-error-box "$read" \
  's/(Message::ProgramReadError,\s*)Message::ProgramReadUnsuccessful/$1Message::ProgramReadError/s'
mutation read-silent-input-mode-error-box "$read" \
  's/(Message::InputModeReadError,\s*)Message::InputModeReadUnsuccessful/$1Message::InputModeReadError/s'
mutation read-fields-after-the-table "$read" \
  's/\n\s*show\(\{ReadValue::Item::TableByte, index, value\}\);//; s/(bool readGroupTable\(\).*?\n    \}\n)(\s*return true;)/$1    for (unsigned i = GroupTableBytes; i-- > 0;) show({ReadValue::Item::TableByte, i, table[i]});\n$2/s'
mutation read-failed-byte-stored "$read" \
  's/(bool readGroupTable\(\).*?if \(!readByte\([^;]*\)\)\s*\{\s*)return false;/$1show({ReadValue::Item::TableByte, index, value});\n        return false;/s'
mutation read-stop-marks-fields-read "$face" \
  's/if \(!result\.reachedEnd\) return;/static_cast<void>(result.reachedEnd);/'
mutation read-disabled-before-start-texts "$face" \
  's/\n\s*window_\.setButtonEnabled\(Button::Read, false\);//; s/(\n(\s*))(window_\.setFieldText\(Field::phAddr, UnknownPhysicalText\);)/$1window_.setButtonEnabled(Button::Read, false);$1$3/'

mutation group-counter-per-outcome "$group" \
  's/(procedure::AttemptCounter counter\(2\);)/$1\n  procedure::AttemptCounter errors(2);/; s/(if \(outcome == Outcome::Error\) \{\s*if \()counter(\.allowsAnother\(\)\))/$1errors$2/'
mutation group-last-send-unconfirmed "$group" 's/bus_\.request\(Request::confirmed\(frame\)\);/bus_.request(Request::sendOnly(frame));/'

mutation seam-negative-confirmation-acknowledged "$machine" \
  's/byte == chip::PositiveConfirmation\)/(byte == chip::PositiveConfirmation || byte == chip::NegativeConfirmation))/'
mutation seam-answer-from-another-source-accepted "$machine" \
  's/\n\s*if \(wanted_\.from && source != \*wanted_\.from\) return FrameJudgement::OtherSource;//'
mutation seam-acknowledge-for-group-with-our-number "$machine" \
  's/groupDestination \? destination == 0 : destination == local_/groupDestination ? destination == 0 || destination == local_ : destination == local_/'
mutation seam-confirmation-taken-as-answer "$exchange" \
  's/reply\.outcome = Outcome::Acknowledged;/reply.outcome = Outcome::Answered;/'
mutation verification-ignores-input-mode "$compare" \
  's/if \(expected\.inputMode != found\.inputMode\)/if (false)/'

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

targets=(config_write_procedure config_read_procedure config_group_switching config_round_trip config_procedure_paths
  config_device_session telegram_receive_machine telegram_exchange)
tests_regex='^(config_(write_procedure|read_procedure|group_switching|round_trip|procedure_paths|device_session)|telegram_(receive_machine|exchange))\.'
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
