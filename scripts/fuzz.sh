#!/usr/bin/env bash
# Runs the libFuzzer harnesses (tests/fuzz) built with clang 16 under
# AddressSanitizer and UndefinedBehaviorSanitizer in build/fuzz.
#   scripts/fuzz.sh --list              names the harnesses, one a line
#   scripts/fuzz.sh HARNESS [SECONDS]   fuzzes one (default 600 s)
#   scripts/fuzz.sh --ci [SECONDS]      fuzzes each in turn (default 12 s each)
# Each input may take at most 30 s (room for a busy machine) and 1 GB of
# allocations (2.5 GB resident): the largest picture the loader accepts is
# 256 MB, copied once. Inputs found go to build/fuzz/corpus/HARNESS (the
# checked-in seeds in tests/fuzz/corpus/HARNESS are read, never written); a
# finding is written to build/fuzz/findings/HARNESS/ and ends the run with a
# failure. A finding belongs in tests/fuzz/corpus/HARNESS with its fix, where
# every test run replays it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
harnesses=(store cp932 bmp png gif plugin probe output args)
root="${PICONEL_BUILD_ROOT:-build}"
tree="$root/fuzz"

usage() {
  sed -n '2,/^set /p' "$0" | grep '^#' | sed 's/^# \{0,1\}//' >&2
  exit 2
}

build() {
  CC=clang-16 CXX=clang++-16 cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPICONEL_FUZZ=ON >/dev/null
  local targets=()
  for harness in "$@"; do targets+=(--target "fuzz_$harness"); done
  cmake --build "$tree" -j "${PICONEL_JOBS:-$(nproc)}" "${targets[@]}"
}

fuzz_one() {
  local harness="$1" seconds="$2"
  mkdir -p "$tree/corpus/$harness" "$tree/findings/$harness"
  echo "fuzz: $harness for $seconds s"
  "$tree/tests/fuzz/fuzz_$harness" "$tree/corpus/$harness" "tests/fuzz/corpus/$harness" \
    -max_total_time="$seconds" -timeout=30 -malloc_limit_mb=1024 -rss_limit_mb=2560 \
    -max_len=65536 -print_final_stats=0 \
    -artifact_prefix="$tree/findings/$harness/" 2>&1 | grep -E "^(#.*DONE|==|SUMMARY|fuzz finding|Test unit written)" || true
  # libFuzzer's own status is lost in the pipe: a finding leaves an artifact.
  if compgen -G "$tree/findings/$harness/*" >/dev/null; then
    echo "fuzz: $harness found inputs it may not accept: $tree/findings/$harness/" >&2
    return 1
  fi
}

case "${1:-}" in
  --list)
    printf '%s\n' "${harnesses[@]}"
    ;;
  --ci)
    seconds="${2:-12}"
    build "${harnesses[@]}"
    failed=0
    for harness in "${harnesses[@]}"; do
      fuzz_one "$harness" "$seconds" || failed=1
    done
    exit "$failed"
    ;;
  "" | -h | --help)
    usage
    ;;
  *)
    harness="$1"
    if ! printf '%s\n' "${harnesses[@]}" | grep -qx "$harness"; then
      echo "fuzz: no harness $harness (scripts/fuzz.sh --list)" >&2
      exit 2
    fi
    build "$harness"
    fuzz_one "$harness" "${2:-600}"
    ;;
esac
