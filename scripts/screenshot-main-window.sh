#!/usr/bin/env bash
# Takes docs/main-window.png as a fresh machine shows the window: the install script's
# packages (fonts included), a virtual display without a window manager, COM1 pointed at
# kolvaro-bus, the start-up box "Active port: COM1" dismissed with Return. The screen is
# captured whole (ImageMagick import) and cut to the window.
#   scripts/screenshot-main-window.sh [OUTPUT.png]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KOLVARO_BUILD_ROOT:-$root/build}/release
output=$(realpath -m "${1:-$root/docs/main-window.png}")

if [ -z "${KOLVARO_SCREENSHOT_DISPLAY:-}" ]; then
  "$root/scripts/install-deps.sh"
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
  cmake --build "$build" --target kolvaro kolvaro-bus -j 2
  exec xvfb-run -a -s "-screen 0 640x480x24" env KOLVARO_SCREENSHOT_DISPLAY=1 "$0" "$output"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kolvaro-shot.XXXXXX")
bus_pid="" app_pid=""
cleanup() {
  for pid in $app_pid $bus_pid; do
    if kill -0 "$pid" 2>/dev/null; then
      kill -TERM "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  rm -rf "$work"
}
trap cleanup EXIT

# Waits up to ten seconds for a command to succeed.
within_10s() {
  for _ in $(seq 200); do
    "$@" > /dev/null 2>&1 && return 0
    sleep 0.05
  done
  return 1
}

link="$work/com1"
mkdir -p "$work/config/kolvaro"
printf '[COM ports]\r\nCOM1=%s\r\n' "$link" > "$work/config/kolvaro/dcb.ini"
mkfifo "$work/bus-input"
"$build/sim/kolvaro-bus" --quiet --link "$link" --device 1.1.5,prog < "$work/bus-input" &
bus_pid=$!
exec 3> "$work/bus-input"
within_10s test -e "$link" || { echo "kolvaro-bus made no link" >&2; exit 1; }

XDG_CONFIG_HOME="$work/config" "$build/src/app/kolvaro" &
app_pid=$!
# The start-up box "Active port: COM1" comes first, over the window; Return closes it
# and start-up ends with the window enabled. Without a window manager the window stays
# mapped meanwhile, so the box is told apart as the program's other visible window.
within_10s xdotool search --onlyvisible --name '^Kolvaro$' || { echo "no window" >&2; exit 1; }
window=$(xdotool search --onlyvisible --name '^Kolvaro$' | head -n 1)
boxes() {
  for w in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
    [ "$w" = "$window" ] && continue
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$WIDTH" -gt 10 ] && echo "$w"
  done
}
box_up() { [ -n "$(boxes)" ]; }
box_gone() { [ -z "$(boxes)" ]; }
within_10s box_up || { echo "no start-up box" >&2; exit 1; }
for _ in $(seq 50); do
  box_up || break
  xdotool key Return
  sleep 0.1
done
within_10s box_gone || { echo "the start-up box did not close" >&2; exit 1; }
sleep 0.5  # the last repaint after the box has gone; nothing else to wait on
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root "$work/screen.png"
convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
echo "$output: ${WIDTH}x${HEIGHT}"
