#!/usr/bin/env bash
# Builds everything and runs every test: the native suite, the Windows x86_64
# suite under Wine inside Xvfb, and a compile-only i686 build. Fails when any
# build or test fails.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
jobs="$(nproc)"

scripts/setup.sh --all

echo "== native build and tests"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPICONEL_WERROR=ON >/dev/null
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure -j "$jobs"

echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPICONEL_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

echo "== Windows x86_64 build and tests under Wine"
cmake -S . -B build/win64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake >/dev/null
cmake --build build/win64 -j "$jobs"
scripts/with-xvfb.sh ctest --test-dir build/win64 --output-on-failure

echo "== Windows i686 build (compiled only: 32-bit programs cannot run here)"
cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICONEL_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake >/dev/null
cmake --build build/win32 -j "$jobs"

echo "== all tests passed"
