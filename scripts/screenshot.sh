#!/bin/sh
# Starts the Windows build's piconel.exe under Wine in a virtual display on a
# project (the demo project by default), waits for its window and saves a PNG
# of the whole screen, so anyone can look at the window without Windows.
#
#   scripts/screenshot.sh --dialog image-settings|colour-picker [OUT.png]
#   scripts/screenshot.sh [--command ID [--click BUTTON]] [PROJECT.ijp] [OUT.png]
#
# --command ID sends the menu command ID (src/window/resource.h) to the window
# once it is up, so a dialog can be looked at: 40043 project properties,
# 40044 page settings, 40045 application settings. --click BUTTON then
# presses a button of that dialog (1014 "色の変更..." opens the colour
# dialog).
#
# With --dialog it photographs a dialog instead: the dialog tests' showcase
# opens the image settings dialog on a small picture (and, for
# colour-picker, the transparent colour picker over it) and leaves it open.
# Needs the win64 build (build/win64, or PICONEL_BUILD_ROOT/win64), Xvfb and
# ImageMagick's import. Uses the shared Wine prefix (PICONEL_WINEPREFIX).
# PICONEL_SCREENSHOT_SETTINGS names a settings file to start with (for
# example one with ListWindowEnable=1 and PageWindowEnable=1 to show the list
# windows).
set -eu
command_id=
if [ "${1:-}" = "--command" ]; then
  command_id=${2:?--command needs a command id}
  shift 2
  if [ "${1:-}" = "--click" ]; then
    command_id="$command_id ${2:?--click needs a button id}"
    shift 2
  fi
fi
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${PICONEL_BUILD_ROOT:-$root/build}/win64
if [ "${1:-}" = --dialog ]; then
  case "${2:-}" in
    image-settings | colour-picker) ;;
    *) echo "--dialog takes image-settings or colour-picker" >&2; exit 2 ;;
  esac
  tests=$build/tests/dialogs/dialogs_tests.exe
  [ -x "$tests" ] || { echo "no $tests: build win64 first (scripts/test-all.sh)" >&2; exit 2; }
  command -v import >/dev/null || { echo "ImageMagick import is missing (apt-get install imagemagick)" >&2; exit 2; }
  out=${3:-$root/build/screenshot-$2.png}
  # The showcase's dialog answerer cancels a dialog left alone for 10
  # seconds, so the picture is taken well before.
  PICONEL_SHOWCASE=$2 "$here/with-xvfb.sh" sh -c '
    "$1" "$2" --gtest_filter=ImageSettingsDialog.Showcase >/dev/null &
    pid=$!
    sleep "${PICONEL_SCREENSHOT_WAIT:-5}"
    import -window root "$3"
    kill $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
  ' screenshot "$here/wine-run.sh" "$tests" "$out"
  echo "wrote $out"
  exit 0
fi
project=$(realpath -m "${1:-$root/examples/demo/demo.ijp}")  # Wine needs it absolute (Z:/...)
out=${2:-$root/build/screenshot.png}
exe=$build/src/app/piconel.exe
[ -x "$exe" ] || { echo "no $exe: build win64 first (scripts/test-all.sh)" >&2; exit 2; }
command -v import >/dev/null || { echo "ImageMagick import is missing (apt-get install imagemagick)" >&2; exit 2; }

# The program writes piconel.ini beside itself: run a copy in a folder of
# its own so the build tree stays clean.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$build/src/app/piconel.txt" "$work/" 2>/dev/null || cp "$exe" "$work/"
if [ -n "${PICONEL_SCREENSHOT_SETTINGS:-}" ]; then
  cp "$PICONEL_SCREENSHOT_SETTINGS" "$work/piconel.ini"
fi
winpath=$(printf 'Z:%s' "$project" | tr / '\\')
if [ -n "$command_id" ]; then
  x86_64-w64-mingw32-gcc -O2 -o "$work/post-command.exe" "$here/post-command.c"
fi

"$here/with-xvfb.sh" sh -c '
  "$1" "$2/piconel.exe" "$3" &
  pid=$!
  # Wait until the window has been mapped and painted.
  sleep "${PICONEL_SCREENSHOT_WAIT:-8}"
  if [ -n "$5" ]; then
    # $5 is "COMMAND [BUTTON]": split on purpose.
    # shellcheck disable=SC2086
    "$1" "$2/post-command.exe" $5 || true
    sleep 3
  fi
  import -window root "$4"
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
' screenshot "$here/wine-run.sh" "$work" "$winpath" "$out" "$command_id"
echo "wrote $out"
