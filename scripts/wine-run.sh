#!/usr/bin/env bash
# Runs a Windows program under the 64-bit Wine loader in the project's own
# prefix (made once by scripts/setup.sh --all and reused). CTest uses it as
# the cross-compiling emulator; the program's exit code is passed through, so
# a failing test program fails its test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-${PICONEL_WINEPREFIX:-$here/build/wineprefix}}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: DISPLAY is not set; run through scripts/with-xvfb.sh" >&2
  exit 1
fi
if [ ! -f "$WINEPREFIX/.piconel-prefix-v3" ]; then
  echo "wine-run.sh: no Wine prefix at $WINEPREFIX; run scripts/setup.sh --all" >&2
  exit 1
fi
exec /usr/lib/wine/wine64 "$@"
