#!/usr/bin/env bash
# check-package.sh BUILD_DIR: builds the Debian package from a configured and built tree,
# checks it (lintian without errors, dependencies from the linked libraries, the menu
# entry and AppStream metadata valid), installs it and runs the installed programs:
# --version, the manual page, and a short session on the simulated bus in which the
# installed kolvaro opens the installed kolvaro-bus's line.
#
# It installs into a scratch root (dpkg -x) unless KOLVARO_DEB_INSTALL=system, which
# installs with dpkg -i (root, on a throwaway machine) and runs the programs from /usr/bin.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kolvaro-package.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do
    if kill -0 "$pid" 2>/dev/null; then kill -TERM "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/out/*.deb)
version=$(dpkg-deb -f "$deb" Version)
echo "package: $(basename "$deb"), version $version"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the dependencies do not name the Qt libraries"
dpkg-deb -f "$deb" Depends | grep -q 'qt6-translations-l10n' || fail "the dependencies do not name Qt's catalogues"

echo "-- lintian"
lintian --fail-on error "$deb" 2>&1 | tee "$work/lintian.log" \
  || fail "lintian found errors"

if [ "${KOLVARO_DEB_INSTALL:-}" = system ]; then
  dpkg -i "$deb"
  prefix=/usr
else
  dpkg -x "$deb" "$work/root"
  prefix="$work/root/usr"
fi
app=org.kolvaro.Kolvaro

echo "-- appstreamcli validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" || fail "AppStream metadata"
desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "menu entry"

echo "-- installed programs"
for program in "$prefix"/bin/*; do
  out=$("$program" --version)
  echo "$out"
  [ "$out" = "$(basename "$program") $version" ] || fail "$program --version"
done
if [ "$prefix" = /usr ]; then
  page=$(MANWIDTH=80 man kolvaro-bus)
else
  page=$(MANWIDTH=80 man -l "$prefix/share/man/man1/kolvaro-bus.1.gz")
fi
grep -q "kolvaro-bus - simulated EIB" <<< "$page" || fail "man kolvaro-bus"
echo "man kolvaro-bus: $(wc -l <<< "$page") lines"

echo "-- a session on the simulated bus"
link="$work/com1"
mkdir -p "$work/config/kolvaro"
printf '[COM ports]\r\nCOM1=%s\r\n' "$link" > "$work/config/kolvaro/dcb.ini"
mkfifo "$work/bus-input"
"$prefix/bin/kolvaro-bus" --link "$link" --device 1.1.5,prog --memory 0020:0003 \
  < "$work/bus-input" > "$work/bus.log" 2>&1 &
pids+=($!)
exec 3> "$work/bus-input"
for _ in $(seq 100); do [ -e "$link" ] && break; sleep 0.05; done
[ -e "$link" ] || fail "kolvaro-bus made no link"

# The installed window opens COM1, the simulator's line, as it starts.
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen "$prefix/bin/kolvaro" --language en \
  > "$work/kolvaro.log" 2>&1 &
kolvaro=$!
pids+=("$kolvaro")
pty=$(readlink -f "$link")
opened=no
for _ in $(seq 100); do
  if ls -l "/proc/$kolvaro/fd" 2>/dev/null | grep -q -- "-> $pty\$"; then opened=yes; break; fi
  sleep 0.05
done
[ "$opened" = yes ] || { cat "$work/kolvaro.log"; fail "kolvaro did not open $pty"; }
echo "kolvaro (pid $kolvaro) opened the simulated chip's line $pty"

# Input WE1 of the device (group 0/0/3 in its table) sends on the bus; the dump shows it.
echo "press 1 1" >&3
echo "release 1 1" >&3
echo "dump 1" >&3
# The dump answers at once; the frame is on the bus when its bits have gone by.
for _ in $(seq 200); do
  grep -q '"address"' "$work/bus.log" && grep -q 'GroupValueWrite' "$work/bus.log" && break
  sleep 0.05
done
grep -q 'GroupValueWrite' "$work/bus.log" || { cat "$work/bus.log"; fail "no group write on the bus"; }
grep -q '"address"' "$work/bus.log" || { cat "$work/bus.log"; fail "no dump"; }
grep 'GroupValueWrite' "$work/bus.log" | head -n 1
echo "quit" >&3
exec 3>&-
echo "package checked"
