#!/usr/bin/env bash
# CTest's emulator for the Windows build: runs one Windows program under wine, in the
# prefix the caller made. WINEPREFIX is required, so the user's own ~/.wine is never
# touched; no display is used and wine's own diagnostics stay quiet.
set -euo pipefail
: "${WINEPREFIX:?wine-run.sh: set WINEPREFIX to a prefix of this run (scripts/test-windows.sh makes one)}"
export WINEDEBUG=${WINEDEBUG:--all}
unset DISPLAY WAYLAND_DISPLAY
exec wine "$@"
