#!/usr/bin/env bash
# check_install.sh BUILD_DIR VERSION: installs the build into a scratch prefix and checks
# what a desktop and `man` look for: every program with its manual page and version, the
# menu entry, the icon and the AppStream metadata, each passing its validator.
set -euo pipefail
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null
app=org.kolvaro.Kolvaro

programs=$(ls "$prefix/bin")
for needed in kolvaro kolvaro-bus; do
  grep -qx "$needed" <<< "$programs" || fail "$needed is not installed"
done
for program in $programs; do
  [ -x "$prefix/bin/$program" ] || fail "$program is not executable"
  out=$("$prefix/bin/$program" --version)
  [ "$out" = "$program $version" ] || fail "$program --version said '$out'"
  page="$prefix/share/man/man1/$program.1.gz"
  [ -f "$page" ] || fail "no manual page for $program"
  gzip -t "$page" || fail "$page is not gzip"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 > "$prefix/page.txt")
  [ -z "$warnings" ] || fail "man warns about $program.1: $warnings"
  grep -q "^NAME" "$prefix/page.txt" || fail "$program.1 has no NAME section"
  grep -q "Kolvaro $version" "$prefix/page.txt" || fail "$program.1 does not carry the version"
done

desktop="$prefix/share/applications/$app.desktop"
[ -f "$desktop" ] || fail "no menu entry"
desktop-file-validate "$desktop" || fail "the menu entry does not validate"
grep -qx "Exec=kolvaro" "$desktop" || fail "the menu entry does not start kolvaro"
grep -qx "Icon=$app" "$desktop" || fail "the menu entry names another icon"

icon="$prefix/share/icons/hicolor/scalable/apps/$app.svg"
[ -f "$icon" ] || fail "no icon"
grep -q "<svg" "$icon" || fail "the icon is not SVG"

metainfo="$prefix/share/metainfo/$app.metainfo.xml"
[ -f "$metainfo" ] || fail "no AppStream metadata"
appstreamcli validate --no-net "$metainfo" || fail "the AppStream metadata does not validate"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metadata's release is not $version"
for program in $programs; do
  grep -q "<binary>$program</binary>" "$metainfo" || fail "the metadata does not name $program"
done

[ -f "$prefix/share/doc/kolvaro/copyright" ] || fail "no copyright file"
zcat "$prefix/share/doc/kolvaro/changelog.gz" | head -n 1 | grep -q "^kolvaro ($version)" || fail "changelog"
echo "installed: $(echo $programs), menu entry, icon, metadata, manual pages"
