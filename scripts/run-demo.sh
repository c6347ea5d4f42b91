#!/usr/bin/env bash
# Builds the command-line tool and runs the output of the bundled demo
# project into build/demo-output, then lists the files written.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
scripts/setup.sh
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$(nproc)" --target piconel-cli
rm -rf build/demo-output
build/native/src/cli/piconel-cli output examples/demo/demo.ijp --out build/demo-output
ls -l build/demo-output
