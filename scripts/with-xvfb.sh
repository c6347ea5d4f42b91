#!/usr/bin/env bash
# Runs a command with an Xvfb display of its own (for the Wine tests), then
# stops the Wine server and the display. Returns the command's exit code.
#   scripts/with-xvfb.sh ctest --test-dir build/win64 --output-on-failure
#
# Several builds in one checkout share the Wine prefix (build/wineprefix, or
# PICONEL_WINEPREFIX). One prefix has one Wine server and one desktop process,
# which would be tied to whichever display started it first, so runs on the
# same prefix take turns through a lock file beside it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${PICONEL_WINEPREFIX:-$here/build/wineprefix}"
if [ ! -f "$WINEPREFIX/.piconel-prefix-v3" ]; then
  "$here/scripts/setup.sh" --all
fi

exec 9>"$WINEPREFIX.lock"
if ! flock -n 9; then
  echo "with-xvfb.sh: waiting for another Wine run on $WINEPREFIX" >&2
  flock -w 1800 9
fi
# A run that was killed may have left its server (and a desktop bound to a
# display that no longer exists) behind; we hold the lock, so it is ours to end.
/usr/lib/wine/wineserver -k 2>/dev/null 9>&- || true

# Xvfb picks a free display number itself and writes it to descriptor 7 once
# it accepts connections. Children get no copy of the lock descriptor, so
# nothing that outlives this script (a stray Wine process) keeps the lock.
display_file="$(mktemp)"
Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp 7>"$display_file" >/dev/null 2>&1 9>&- &
xvfb_pid=$!
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null 9>&- || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  rm -f "$display_file"
}
trap cleanup EXIT
for _ in $(seq 300); do
  [ -s "$display_file" ] && break
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "with-xvfb.sh: Xvfb did not start" >&2
    exit 1
  fi
  sleep 0.05
done
display=":$(head -n 1 "$display_file")"
if [ "$display" = ":" ]; then
  echo "with-xvfb.sh: Xvfb reported no display" >&2
  exit 1
fi
export DISPLAY="$display"
status=0
"$@" 9>&- || status=$?
exit "$status"
