#!/usr/bin/env bash
# screenshots.sh [BIN_DIR]: screenshots of the window as installed (default /usr/bin) on
# the simulated bus, in English and in Polish, under Xvfb without a window manager:
# docs/kolvaro-en.png (KOLVARO_LANGUAGE=en) and docs/kolvaro-pl.png (KOLVARO_LANGUAGE=pl).
# Each language gets its own kolvaro-bus and a fresh dcb.ini, so start-up shows
# "Active port: COM1"; that box is answered with Return, then the screen is taken.
# Needs xvfb, xdotool and imagemagick.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin=${1:-/usr/bin}
work=$(mktemp -d "${TMPDIR:-/tmp}/kolvaro-shots.XXXXXX")
bus_pid=""
stop_bus() {
  if [ -n "$bus_pid" ] && kill -0 "$bus_pid" 2>/dev/null; then kill -TERM "$bus_pid"; wait "$bus_pid" || true; fi
  bus_pid=""
}
trap 'stop_bus; rm -rf "$work"' EXIT

for locale in en_GB.UTF-8 pl_PL.UTF-8; do
  language=${locale%%_*}
  dir="$work/$language"
  link="$dir/com1"
  mkdir -p "$dir/config/kolvaro"
  printf '[COM ports]\r\nCOM1=%s\r\n' "$link" > "$dir/config/kolvaro/dcb.ini"
  mkfifo "$dir/bus-input"  # held open below: end of input would end the simulator
  "$bin/kolvaro-bus" --quiet --link "$link" --device 1.1.5,prog < "$dir/bus-input" > "$dir/bus.log" 2>&1 &
  bus_pid=$!
  exec 3> "$dir/bus-input"
  for _ in $(seq 100); do [ -e "$link" ] && break; sleep 0.05; done
  # The language asked for as a user asks for it; the system's locale matches it, as on
  # a desktop in that language, though the window does not follow it.
  env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$locale" KOLVARO_LANGUAGE="$language" \
    XDG_CONFIG_HOME="$dir/config" xvfb-run -a -s "-screen 0 300x380x24" bash -c '
    set -euo pipefail
    "$1" & pid=$!
    box=$(timeout 30 xdotool search --sync --name "^Information" | head -n 1)
    xdotool windowfocus --sync "$box" key Return
    main=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kolvaro$" | head -n 1)
    xdotool windowmove --sync "$main" 20 20
    sleep 1  # let the window paint
    import -window root "$3"
    kill -TERM "$pid"; wait "$pid" || true
  ' shots "$bin/kolvaro" "$language" "$root/docs/kolvaro-$language.png"
  exec 3>&-
  stop_bus
  echo "docs/kolvaro-$language.png"
done
