#!/bin/sh
# SPDX-License-Identifier: MIT
# kelvane-cli converting a project in place while another kelvane-cli saves
# it: the conversion's module waits until the other save is done, so the two
# always meet the same way. The conversion must refuse to write over that
# save (exit 1, nothing written) unless given --force, and a batch reports
# such a project as failed and converts the others.
# Arguments: the build's program folder, the demo folder, a scratch folder.
set -eu
program=$1 demo=$2 work=$3

rm -rf "$work"
mkdir -p "$work/bin" "$work/a" "$work/b"
# A program folder of its own, whose module table names the waiting module.
cp "$program/kelvane-cli" "$program/kelvane-module-host" "$program/kelvane-qsettings.so" \
    "$program/kelvane_test_convert_waits.so" "$work/bin/"
echo "KV, kelvane_test_convert_waits" > "$work/bin/kelvane.ini"
cli=$work/bin/kelvane-cli
export KELVANE_TEST_STARTED="$work/started" KELVANE_TEST_GO="$work/go"

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

wait_for_start() {
    n=0
    while [ ! -e "$work/started" ]; do
        n=$((n + 1))
        [ $n -lt 3000 ] || fail "the conversion did not start"
        sleep 0.01
    done
}

# Runs the conversion given in "$@" while `set` changes the IP address of
# $work/a/demo.fsp; leaves the conversion's exit status in $status.
race() {
    rm -f "$work/started" "$work/go"
    "$cli" "$@" > "$work/convert.out" 2>&1 &
    pid=$!
    wait_for_start
    "$cli" set "$work/a/demo.fsp" --ip 10.9.9.9 > "$work/set.out" 2>&1 || fail "set failed"
    touch "$work/go"
    status=0
    wait $pid || status=$?
}

cp "$demo"/demo.* "$work/a/"
race convert "$work/a/demo.fsp" --direction 3
cat "$work/convert.out"
[ $status -eq 1 ] || fail "convert exited with $status"
grep -qx "Confirm: $work/a/demo.fsp was changed by another program since the project was opened." \
    "$work/convert.out" || fail "no question"
grep -q -- "--force" "$work/convert.out" || fail "no word of --force"
grep -q "^IP_ADDRESS=10.9.9.9" "$work/a/demo.fsp" || fail "the other save was lost"
grep -q "^TARGET_NAME=talvexNOVA" "$work/a/demo.fsp" || fail "the conversion was written"
cmp "$demo/demo.uer" "$work/a/demo.uer" || fail "a data file changed"

race convert "$work/a/demo.fsp" --direction 3 --force
[ $status -eq 0 ] || fail "convert --force exited with $status"
grep -q "^TARGET_NAME=talvexMAX" "$work/a/demo.fsp" || fail "--force did not save"

rm -f "$work"/a/* "$work"/b/*
cp "$demo"/demo.* "$work/a/"
cp "$demo"/demo.* "$work/b/"
race convert "$work/a/demo.fsp" "$work/b/demo.fsp" --direction 3 --jobs 2 \
    --report "$work/report.json"
[ $status -eq 1 ] || fail "the batch exited with $status"
grep -q "\"path\": \"$work/a/demo.fsp\", \"result\": \"failed\"" "$work/report.json" ||
    fail "the changed project was not reported failed"
grep -q "\"path\": \"$work/b/demo.fsp\", \"result\": \"succeeded\"" "$work/report.json" ||
    fail "the other project was not converted"
grep -q "^IP_ADDRESS=10.9.9.9" "$work/a/demo.fsp" || fail "the batch lost the other save"
grep -q "^TARGET_NAME=talvexMAX" "$work/b/demo.fsp" || fail "the batch did not convert b"
echo "passed"
