#!/usr/bin/env bash
# Installs what building, running and testing Kolvaro needs on Debian 12 (as root).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64
  knxd knxd-tools iproute2
  xvfb xauth imagemagick xdotool fonts-dejavu-core fonts-liberation2
  nlohmann-json3-dev
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
  lintian appstream desktop-file-utils man-db file
  googletest wine wine64
  ccache
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages (${missing[*]}); run this script as root" >&2
  exit 1
fi

# knxd's package would start its service with the packaged configuration, which joins
# IP multicast. A policy-rc.d that refuses (exit 101) keeps every service down during
# the install; it is put there only when the machine has none, and removed after.
made_policy=""
if [ ! -e /usr/sbin/policy-rc.d ]; then
  printf '#!/bin/sh\nexit 101\n' > /usr/sbin/policy-rc.d
  chmod +x /usr/sbin/policy-rc.d
  made_policy=yes
fi
cleanup() { if [ -n "$made_policy" ]; then rm -f /usr/sbin/policy-rc.d; fi; }
trap cleanup EXIT

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
