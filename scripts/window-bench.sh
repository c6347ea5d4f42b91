#!/usr/bin/env bash
# The window benchmark: writes its two projects natively (the benchmark
# project of 64 pages x 256 sprites and the largest project of 256 pages x
# 256 sprites of 4 x 4) into a temporary folder, then runs
# bench/window_bench_win32.cpp of a Windows build under Wine in a virtual
# display of its own, against piconel-cli of the same build.
#   scripts/window-bench.sh [--runs N] [--visits N] [--only bench|tiny] [--repaints N] [--no-output]
# Needs window_bench_projects in build/native and window_bench in build/win64
# (PICONEL_NATIVE_BUILD and PICONEL_WIN64_BUILD name others):
#   cmake --build build/native --target window_bench_projects
#   cmake --build build/win64 --target window_bench
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
native="${PICONEL_NATIVE_BUILD:-$here/build/native}"
win64="${PICONEL_WIN64_BUILD:-$here/build/win64}"
writer="$native/bench/window_bench_projects"
bench="$win64/bench/window_bench.exe"
cli="$win64/src/cli/piconel-cli.exe"
for file in "$writer" "$bench" "$cli"; do
  if [ ! -f "$file" ]; then
    echo "window-bench.sh: no $file; build window_bench_projects (native) and window_bench (win64)" >&2
    exit 1
  fi
done
projects="$(mktemp -d /tmp/piconel-window-bench.XXXXXX)"
trap 'rm -rf "$projects"' EXIT
start=$(date +%s)
"$writer" "$projects" >/dev/null
echo "projects written natively in $(($(date +%s) - start)) s"
# Wine maps the root to drive Z:.
"$here/scripts/with-xvfb.sh" "$here/scripts/wine-run.sh" "$bench" "Z:${cli//\//\\}" \
  "Z:${projects//\//\\}" "$@"
