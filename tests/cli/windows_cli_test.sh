#!/bin/sh
# SPDX-License-Identifier: MIT
# kelvane-cli.exe under Wine on real files, as a Windows user runs it: the
# demo converted in all ten directions with the sample module, saved in
# place (an unchanged project comes back byte for byte) and as a new name,
# a read-only project refused with nothing changed, a crashing module.
# Arguments: wine64, the build's program folder, the demo folder, a scratch
# folder.
set -eu
wine=$1 program=$2 demo=$3 work=$4
export WINEDEBUG=-all

rm -rf "$work"
mkdir -p "$work/a" "$work/ro" "$work/crash/bin" "$work/steps"

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# The Windows name of a Unix path: Wine's Z: drive is the root.
win() {
    printf 'Z:%s' "$1" | tr / '\\'
}

cli() {
    "$wine" "$program/kelvane-cli.exe" "$@"
}

cp "$demo"/demo.* "$work/a/"
out=$(cli show "$(win "$work/a/demo.fsp")")
printf "%s\n" "$out" | grep -qx " FSP file: $(win "$work/a/demo.fsp" | sed 's/\\/\\\\/g')" ||
    fail "show names the project in Windows form: $out"
printf "%s\n" "$out" | grep -qx '\[SYNC\] MCR file: demo.mcr' || fail "show: $out"

# An unchanged project saved in place keeps every byte but the FSR file's
# references, and a second save changes nothing at all.
cli save "$(win "$work/a/demo.fsp")" >/dev/null 2>&1 || fail "save in place"
for kind in fsp uer sbu mcr; do
    cmp -s "$demo/demo.$kind" "$work/a/demo.$kind" || fail "save in place changed demo.$kind"
done
cp "$work/a/demo.fsr" "$work/first.fsr"
cli save "$(win "$work/a/demo.fsp")" >/dev/null 2>&1 || fail "second save"
cmp -s "$work/first.fsr" "$work/a/demo.fsr" || fail "a second save changed the FSR file"
ls -A "$work/a" | grep -v '^demo\.\(fsp\|fsr\|uer\|sbu\|mcr\)$' && fail "a save left files behind"

# Save As: the whole set under the new name, in sync.
cli save "$(win "$work/a/demo.fsp")" --as "$(win "$work/a/copy")" >/dev/null 2>&1 ||
    fail "save as"
out=$(cli show "$(win "$work/a/copy.fsp")")
printf "%s\n" "$out" | grep -qx '\[SYNC\] UER file: copy.uer' || fail "save as: $out"
cmp -s "$demo/demo.sbu" "$work/a/copy.sbu" || fail "save as changed the SBU bytes"

# A read-only project file is refused; nothing of the set changes.
cp "$demo"/demo.* "$work/ro/"
chmod a-w "$work/ro/demo.fsp"
status=0
out=$(cli set "$(win "$work/ro/demo.fsp")" --timeout 60 2>&1) || status=$?
[ "$status" -eq 1 ] || fail "a read-only project was saved (exit $status): $out"
printf "%s\n" "$out" | grep -q "not writable" || fail "the refusal does not say why: $out"
for kind in fsp fsr uer sbu mcr; do
    cmp -s "$demo/demo.$kind" "$work/ro/demo.$kind" || fail "the refusal changed demo.$kind"
done

# The ten directions with the sample module, each result reopened.
step() { # FROM TO MODEL [OPTIONS...]
    from=$1 to=$2 model=$3
    shift 3
    cli convert "$(win "$work/steps/$from.fsp")" --to "$model" --as "$(win "$work/steps/$to.fsp")" \
        "$@" >"$work/steps/$to.log" 2>&1 || fail "convert $from to $model: $(cat "$work/steps/$to.log")"
    cli show "$(win "$work/steps/$to.fsp")" | grep -q "^Target system: $model(" ||
        fail "$to.fsp is not a $model project"
}
cp "$demo"/demo.* "$work/steps/"
usb="--usb-device ABC12345DE"
step demo bantam talvexBANTAM $usb
step bantam nova talvexNOVA
step demo max talvexMAX
step max nova2 talvexNOVA
step bantam max2 talvexMAX
step max bantam2 talvexBANTAM $usb
step max vega talvexVEGA
step vega max3 talvexMAX
step vega vega2 "talvexVEGA II" --model H2A
step vega2 vega3 talvexVEGA --model SH2A # not H2: else it reopens as VEGA II

# A module that crashes leaves the project as it was and is named.
cp "$program/kelvane-cli.exe" "$program/kelvane-module-host64.exe" \
    "$program/kelvane_test_crash.dll" "$work/crash/bin/"
echo "KV, kelvane_test_crash" >"$work/crash/bin/kelvane.ini"
cp "$demo"/demo.* "$work/crash/"
status=0
out=$("$wine" "$work/crash/bin/kelvane-cli.exe" convert "$(win "$work/crash/demo.fsp")" \
    --to talvexMAX 2>&1) || status=$?
[ "$status" -eq 1 ] || fail "a crashing module: exit $status: $out"
printf "%s\n" "$out" | grep -q "kelvane_test_crash.dll crashed (exception 0xC0000005" ||
    fail "the crash is not named: $out"
for kind in fsp fsr uer sbu mcr; do
    cmp -s "$demo/demo.$kind" "$work/crash/demo.$kind" || fail "the crash changed demo.$kind"
done
# The sample as the 32-bit module users have, in the 32-bit host, where
# this machine runs 32-bit Windows programs at all.
if [ -e "$program/kelvane-module-host.exe" ] && [ -e "$program/kelvane_sample_converter_win32.dll" ]; then
    mkdir -p "$work/win32/bin"
    cp "$program/kelvane-cli.exe" "$program/kelvane-module-host.exe" \
        "$program/kelvane_sample_converter_win32.dll" "$work/win32/bin/"
    echo "KV, kelvane_sample_converter_win32.dll" >"$work/win32/bin/kelvane.ini"
    cp "$demo"/demo.* "$work/win32/"
    status=0
    out=$("$wine" "$work/win32/bin/kelvane-cli.exe" convert "$(win "$work/win32/demo.fsp")" \
        --to talvexMAX --as "$(win "$work/win32/max.fsp")" 2>&1) || status=$?
    if printf '%s\n' "$out" | grep -q "could not be run"; then
        printf "%s\n" "skipped: the 32-bit module host does not run here"
    else
        [ "$status" -eq 0 ] || fail "the 32-bit sample: exit $status: $out"
        cmp -s "$work/steps/max.fsp" "$work/win32/max.fsp" 2>/dev/null ||
            "$wine" "$work/win32/bin/kelvane-cli.exe" show "$(win "$work/win32/max.fsp")" |
            grep -q "^Target system: talvexMAX(" || fail "the 32-bit sample did not convert"
    fi
fi
echo passed
