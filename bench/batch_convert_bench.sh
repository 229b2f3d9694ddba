#!/bin/sh
# SPDX-License-Identifier: MIT
# Converts 200 copies of the demo project into a folder of their own with
# kelvane-cli, with --jobs 1 and with --jobs 2, beside the disk's own time
# for the same sets: cp -r of them plus sync. Each is run five times,
# interleaved; the medians are printed.
# Usage: bench/batch_convert_bench.sh [BUILD_DIR] [COPIES]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
copies=${2:-200}
cli="$PWD/$build/lib/kelvane/kelvane-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Copies with names of their own, each set renamed by a Save As.
mkdir -p "$work/in"
i=0
while [ "$i" -lt "$copies" ]; do
    "$cli" save examples/demo/demo.fsp --as "$work/in/p$i.fsp" >/dev/null 2>&1
    i=$((i + 1))
done
sync

seconds_since() { awk "BEGIN { print $(date +%s.%N) - $1 }"; }

time_batch() {
    rm -rf "$work/out"
    mkdir "$work/out"
    sync
    start=$(date +%s.%N)
    "$cli" convert "$work"/in/*.fsp --to talvexMAX --out-dir "$work/out" --jobs "$1" >/dev/null 2>&1 ||
        echo "kelvane-cli convert --jobs $1 failed" >&2
    seconds_since "$start"
}

time_copy() {
    rm -rf "$work/copy"
    sync
    start=$(date +%s.%N)
    cp -r "$work/in" "$work/copy"
    sync
    seconds_since "$start"
}

runs=5
: >"$work/one"
: >"$work/two"
: >"$work/copy-times"
i=0
while [ "$i" -lt "$runs" ]; do
    time_copy >>"$work/copy-times"
    time_batch 1 >>"$work/one"
    time_batch 2 >>"$work/two"
    i=$((i + 1))
done
median() { sort -n "$1" | sed -n "$(((runs + 1) / 2))p"; }
copy=$(median "$work/copy-times")
one=$(median "$work/one")
two=$(median "$work/two")
count=$(ls "$work"/in/*.fsp | wc -l)
printf 'converted %s projects into --out-dir (median of %s interleaved runs):\n' "$count" "$runs"
printf '  yardstick, cp -r + sync: %6.3f s\n' "$copy"
printf '  --jobs 1:                %6.3f s  (%5.2f x yardstick)\n' "$one" "$(awk "BEGIN { print $one / $copy }")"
printf '  --jobs 2:                %6.3f s  (%5.2f x yardstick; aim: 2)\n' "$two" "$(awk "BEGIN { print $two / $copy }")"
printf '  --jobs 2 speed-up over --jobs 1: %5.2f (aim: above 1)\n' "$(awk "BEGIN { print $one / $two }")"
