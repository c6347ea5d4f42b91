#!/usr/bin/env bash
# Runs a Windows program under the 64-bit Wine loader in the project's own
# prefix (made once by scripts/setup.sh and reused).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${PICONEL_WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: DISPLAY is not set; start Xvfb first (scripts/test-all.sh does)" >&2
  exit 1
fi
exec /usr/lib/wine/wine64 "$@"
