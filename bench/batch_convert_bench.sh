#!/bin/sh
# SPDX-License-Identifier: MIT
# Converts 200 copies of the demo project with kelvane-cli, once with
# --jobs 1 and once with --jobs 2, and prints both times (median of three
# runs each). Usage: bench/batch_convert_bench.sh [BUILD_DIR] [COPIES]
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

time_batch() {
    rm -rf "$work/out"
    mkdir "$work/out"
    start=$(date +%s.%N)
    "$cli" convert "$work"/in/*.fsp --to talvexMAX --out-dir "$work/out" --jobs "$1" >/dev/null 2>&1 ||
        echo "kelvane-cli convert --jobs $1 failed" >&2
    end=$(date +%s.%N)
    awk "BEGIN { print $end - $start }"
}

median() { sort -n | sed -n 2p; }

count=$(ls "$work"/in/*.fsp | wc -l)
one=$( (time_batch 1; time_batch 1; time_batch 1) | median)
two=$( (time_batch 2; time_batch 2; time_batch 2) | median)
printf 'converted %s projects (median of 3 runs):\n' "$count"
printf '  --jobs 1: %6.2f s\n' "$one"
printf '  --jobs 2: %6.2f s\n' "$two"
printf '  speed-up: %6.2f\n' "$(awk "BEGIN { print $one / $two }")"
