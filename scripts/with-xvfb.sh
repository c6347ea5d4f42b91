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

# Pick a free display number: the lock file of an X server is /tmp/.X<n>-lock.
display=""
for _ in $(seq 100); do
  n=$(( 100 + RANDOM % 800 ))
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
    display=":$n"
    break
  fi
done
if [ -z "$display" ]; then
  echo "with-xvfb.sh: no free display number" >&2
  exit 1
fi

# Children get no copy of the lock descriptor, so nothing that outlives this
# script (a stray Wine process) can keep the lock held.
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 9>&- &
xvfb_pid=$!
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null 9>&- || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "with-xvfb.sh: Xvfb did not start on $display" >&2
    exit 1
  fi
  sleep 0.1
done
export DISPLAY="$display"
status=0
"$@" 9>&- || status=$?
exit "$status"
