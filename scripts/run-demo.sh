#!/usr/bin/env bash
# Builds the command-line tool and runs the output of the bundled demo
# project into build/demo-output, then lists the files written.
# PICONEL_DEMO_BUILD names another build folder (default build/native).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
build="${PICONEL_DEMO_BUILD:-build/native}"
scripts/setup.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target piconel-cli
rm -rf build/demo-output
"$build"/src/cli/piconel-cli output examples/demo/demo.ijp --out build/demo-output
ls -l build/demo-output
