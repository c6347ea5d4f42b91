#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian 12 machine (as root) and
# prepares the Wine prefix once. Quick when everything is already present.
#   scripts/setup.sh          native build and tests only
#   scripts/setup.sh --all    also the Windows cross builds, Wine and Xvfb
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

native=(g++ cmake ninja-build libgtest-dev pkg-config imagemagick)
windows=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
         binutils-mingw-w64-i686 googletest wine64 xvfb xauth fonts-ipafont-gothic)

wanted=("${native[@]}")
if [ "${1:-}" = "--all" ]; then
  wanted+=("${windows[@]}")
fi

missing=()
for pkg in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" != 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ "${1:-}" = "--all" ]; then
  prefix="${PICONEL_WINEPREFIX:-$here/build/wineprefix}"
  if [ ! -f "$prefix/system.reg" ]; then
    echo "setup: creating the Wine prefix $prefix"
    mkdir -p "$prefix"
    WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
      /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
  fi
fi
