#!/bin/bash
# The PNG sheets of piconel-cli against optipng -o2 on the same pages.
#
#   bench/png_against_optipng.sh PROJECT.ijp [PICONEL-CLI]
#
# Outputs the project twice with one job (without and with --png; the
# difference in processor time is what the PNGs cost), then has optipng -o2
# make a PNG of every page bitmap, and prints the sizes of both sets (pages
# of 8 and of 24 bits apart) and the processor times. optipng is only for
# measuring (apt-get install optipng); nothing builds with it.
set -euo pipefail
project=$1
cli=${2:-build/native/src/cli/piconel-cli}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Processor seconds (user + system) of a command.
cpu() {
  local me=$BASHPID start end
  start=$(awk '{print $14 + $15 + $16 + $17}' "/proc/$me/stat")
  "$@" >/dev/null
  end=$(awk '{print $14 + $15 + $16 + $17}' "/proc/$me/stat")
  echo "scale=2; ($end - $start) / $(getconf CLK_TCK)" | bc
}

bmp_only=$(cpu "$cli" output "$project" --out "$work/bmp" --jobs 1)
with_png=$(cpu "$cli" output "$project" --out "$work/png" --jobs 1 --png)
mkdir -p "$work/opti"
optipng_all() {
  for bitmap in "$work"/png/*.bmp; do
    optipng -o2 -quiet -out "$work/opti/$(basename "$bitmap" .bmp).png" "$bitmap"
  done
}
opti=$(cpu optipng_all)

declare -A ours theirs
for bitmap in "$work"/png/*.bmp; do
  page=$(basename "$bitmap" .bmp)
  depth=$(od -An -tu2 -j28 -N2 "$bitmap" | tr -d ' ')
  ours[$depth]=$(( ${ours[$depth]:-0} + $(stat -c %s "$work/png/$page.png") ))
  theirs[$depth]=$(( ${theirs[$depth]:-0} + $(stat -c %s "$work/opti/$page.png") ))
done
pages=$(ls "$work"/png/*.bmp | wc -l)
echo "pages: $pages"
for depth in 8 24; do
  [ -n "${ours[$depth]:-}" ] || continue
  echo "$depth-bit pages: piconel ${ours[$depth]} bytes, optipng -o2 ${theirs[$depth]} bytes" \
       "($(echo "scale=2; 100 * ${ours[$depth]} / ${theirs[$depth]}" | bc) %)"
done
total_ours=$(( ${ours[8]:-0} + ${ours[24]:-0} ))
total_theirs=$(( ${theirs[8]:-0} + ${theirs[24]:-0} ))
echo "all pages: piconel $total_ours bytes, optipng -o2 $total_theirs bytes" \
     "($(echo "scale=2; 100 * $total_ours / $total_theirs" | bc) %)"
echo "processor time: output without PNG ${bmp_only} s, with PNG ${with_png} s," \
     "optipng -o2 of the bitmaps ${opti} s"
