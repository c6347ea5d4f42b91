#!/bin/sh
# Builds the release ZIP of one Windows build folder and checks that it holds
# exactly the program, the command line, the help file, the readme and the
# empty plugin folder.
#   scripts/check-package.sh build/win64
set -eu
build=$1
cmake --build "$build" --target package >/dev/null
zip=$(ls "$build"/piconel-*.zip | head -n 1)
listing=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
expected="piconel-cli.exe piconel.exe piconel.txt plugin/ readme.txt "
if [ "$listing" != "$expected" ]; then
  echo "check-package.sh: $zip holds: $listing (expected: $expected)" >&2
  exit 1
fi
echo "check-package.sh: $zip ok"
