#!/usr/bin/env bash
# Runs Kolvaro on the simulated bus: installs and builds what is missing, starts
# kolvaro-bus with one device (1.1.5, in programming mode) on a pseudo-terminal, points
# COM1 at it through a dcb.ini in a configuration directory of this run's own (never
# the user's), opens the window, and stops the simulator when the window closes.
#
# While the window is open, this terminal shows the bus log and takes the simulator's
# commands (e.g. "press 1 1", "dump 1", "prog 1 off"; see README.md).
# Extra arguments go to kolvaro-bus, e.g. ./scripts/run.sh --device 1.1.6,prog
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KOLVARO_BUILD_ROOT:-$root/build}/release

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
run.sh: no display. Kolvaro is a desktop program and needs one:
  - run it from a desktop session (X11 or Wayland), or
  - over ssh with X forwarding (ssh -X), or
  - on a virtual display: xvfb-run -a ./scripts/run.sh   (package xvfb)
MSG
  exit 2
fi

"$root/scripts/install-deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset release -S "$root" -B "$build"
fi
cmake --build "$build" --target kolvaro kolvaro-bus -j "$(nproc)"

work=$(mktemp -d "${TMPDIR:-/tmp}/kolvaro-run.XXXXXX")
bus_pid=""
cleanup() {
  if [ -n "$bus_pid" ] && kill -0 "$bus_pid" 2>/dev/null; then
    kill -TERM "$bus_pid" 2>/dev/null || true
    wait "$bus_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

link="$work/com1"
mkdir -p "$work/config/kolvaro"
printf '[COM ports]\r\nCOM1=%s\r\n' "$link" > "$work/config/kolvaro/dcb.ini"

bus_args=(--link "$link" --device 1.1.5,prog "$@")
if [ -t 0 ]; then
  "$build/sim/kolvaro-bus" "${bus_args[@]}" < /dev/tty &
else
  # No terminal to take commands from: hold the simulator's input open with a pipe of
  # our own, so it runs until we stop it.
  mkfifo "$work/bus-input"
  "$build/sim/kolvaro-bus" "${bus_args[@]}" < "$work/bus-input" &
  exec 3> "$work/bus-input"
fi
bus_pid=$!

for _ in $(seq 100); do
  [ -e "$link" ] && break
  kill -0 "$bus_pid" 2>/dev/null || { echo "run.sh: kolvaro-bus did not start" >&2; exit 1; }
  sleep 0.05
done
[ -e "$link" ] || { echo "run.sh: kolvaro-bus made no link at $link" >&2; exit 1; }

XDG_CONFIG_HOME="$work/config" "$build/src/app/kolvaro"
