#!/usr/bin/env bash
# Builds everything and runs every test: the native suite, the native suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, the Windows x86_64
# suite under Wine inside Xvfb, and a compile-only Windows i686 build. Fails
# when any build or test fails.
#
# Build folders: build/native, build/sanitize, build/win64, build/i686 (under
# PICONEL_BUILD_ROOT when set, e.g. to time a run from scratch without
# touching anyone's folders). PICONEL_JOBS overrides the parallelism.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
jobs="${PICONEL_JOBS:-$(nproc)}"
root="${PICONEL_BUILD_ROOT:-build}"

stage() {
  echo
  echo "== [$(date -u +%H:%M:%S), ${SECONDS} s] $*"
}

stage "setup"
scripts/setup.sh --all

stage "native build and tests"
cmake -S . -B "$root/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPICONEL_WERROR=ON >/dev/null
cmake --build "$root/native" -j "$jobs"
ctest --test-dir "$root/native" --output-on-failure -j "$jobs"

stage "native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B "$root/sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPICONEL_SANITIZE=ON \
  -DPICONEL_WERROR=ON >/dev/null
cmake --build "$root/sanitize" -j "$jobs"
ctest --test-dir "$root/sanitize" --output-on-failure -j "$jobs"

stage "Windows x86_64 build and tests under Wine"
cmake -S . -B "$root/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICONEL_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake >/dev/null
cmake --build "$root/win64" -j "$jobs"
scripts/with-xvfb.sh ctest --test-dir "$root/win64" --output-on-failure -j "$jobs"

stage "Windows i686 build (compiled only: 32-bit programs cannot run here)"
cmake -S . -B "$root/i686" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICONEL_TESTS=OFF \
  -DPICONEL_WERROR=ON -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake >/dev/null
cmake --build "$root/i686" -j "$jobs"

stage "all builds and tests passed"
