#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian 12 machine (as root) and
# prepares the Wine prefix once. Quick when everything is already present.
#   scripts/setup.sh          native build and tests only
#   scripts/setup.sh --all    also the Windows cross builds, Wine and Xvfb
# The Wine prefix is build/wineprefix unless PICONEL_WINEPREFIX names another.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# libpng-dev and libgif-dev: the built-in PNG and GIF decoders;
# nlohmann-json3-dev: the JSON the command line and the output write (its
# headers also serve the Windows builds).
# clang-16, libfuzzer-16-dev and libclang-rt-16-dev (the sanitizer run-times):
# the fuzz harnesses (scripts/fuzz.sh).
native=(g++ cmake ninja-build libgtest-dev libbenchmark-dev pkg-config imagemagick libpng-dev
        libgif-dev nlohmann-json3-dev clang-16 libfuzzer-16-dev libclang-rt-16-dev)
# libz-mingw-w64-dev and dpkg-dev: zlib for the Windows builds, and
# dpkg-source to unpack the libpng and giflib sources they compile
# (scripts/decoder-sources.sh).
# wine64 is installed without its recommends, so the X libraries its display
# driver loads at run time (and fontconfig to find IPA Gothic) are named here.
windows=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
         binutils-mingw-w64-i686 googletest wine64 xvfb xauth fonts-ipafont-gothic fontconfig
         libxrender1 libxrandr2 libxcursor1 libxi6 libxinerama1 libxcomposite1 libxfixes3
         util-linux unzip libz-mingw-w64-dev dpkg-dev)

wanted=("${native[@]}")
if [ "${1:-}" = "--all" ]; then
  wanted+=("${windows[@]}")
fi

# One dpkg-query for all packages: a package that is not installed prints no
# "installed" line (or an error on stderr), so whatever is not listed is missing.
installed="$(dpkg-query -W -f='${Package} ${Status}\n' "${wanted[@]}" 2>/dev/null \
  | awk '$NF == "installed" { print $1 }' || true)"
missing=()
for pkg in "${wanted[@]}"; do
  if ! grep -qx "$pkg" <<<"$installed"; then
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
  "$here/scripts/decoder-sources.sh"
  prefix="${PICONEL_WINEPREFIX:-$here/build/wineprefix}"
  # The marker is written only after a complete wineboot and configuration,
  # so a prefix left half-made by an interrupted run is made again instead of
  # reused; its name changes when the configuration does.
  if [ ! -f "$prefix/.piconel-prefix-v3" ]; then
    mkdir -p "$(dirname "$prefix")"
    (
      # Same lock as scripts/with-xvfb.sh: never build the prefix while
      # another run is using it.
      flock -w 900 9
      if [ ! -f "$prefix/.piconel-prefix-v3" ]; then
        echo "setup: creating the Wine prefix $prefix (about 10 s)"
        rm -rf "$prefix"
        mkdir -p "$prefix"
        # wineboot needs no display; without one it simply skips the desktop.
        # mscoree and mshtml are disabled so it does not ask for Mono and Gecko.
        env -u DISPLAY WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
          /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 9>&- || true
        WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w 2>/dev/null 9>&- || true
        if [ ! -f "$prefix/system.reg" ]; then
          echo "setup: wineboot did not create $prefix" >&2
          exit 1
        fi
        # Xvfb runs no window manager. Wine waits up to two seconds for one to
        # acknowledge every managed top-level window that is hidden or
        # destroyed; unmanaged windows skip that wait (and Wine places them
        # exactly where the program asks).
        # The prefix's UI fonts (Tahoma, MS Shell Dlg) have no Japanese
        # glyphs; draw them with IPA Gothic so menus, captions and dialogs
        # show their Japanese text on screenshots.
        cat >"$prefix/piconel.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Tahoma"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
REG
        env -u DISPLAY WINEPREFIX="$prefix" WINEDEBUG=-all /usr/lib/wine/wine64 regedit /S \
          'Z:'"${prefix//\//\\}"'\piconel.reg' >/dev/null 2>&1 9>&-
        WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w 2>/dev/null 9>&- || true
        if ! grep -q '"Managed"="N"' "$prefix/user.reg"; then
          echo "setup: could not configure the Wine prefix $prefix" >&2
          exit 1
        fi
        touch "$prefix/.piconel-prefix-v3"
      fi
    ) 9>"$prefix.lock"
  fi
fi
