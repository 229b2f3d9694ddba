#!/bin/sh
# SPDX-License-Identifier: MIT
# A project from Japanese Windows opened with no code page given: found in
# its bytes, shown, overridden with --codepage, and what is typed in is kept
# in the project's code page.
# Usage: code_page_found_test.sh KELVANE_CLI DEMO_DIR SCRATCH
set -eu
cli=$1 demo=$2 d=$3
rm -rf "$d"
mkdir -p "$d"
for e in fsr uer sbu mcr; do cp "$demo/demo.$e" "$d/"; done
test_name=$(printf '\203\145\203\130\203\147') # テスト in CP932
sed "s/^MODEL_NAME=.*/MODEL_NAME=$test_name/" "$demo/demo.fsp" >"$d/demo.fsp"
unset KELVANE_CODEPAGE
fail() { echo "FAILED: $*"; exit 1; }

out=$("$cli" show "$d/demo.fsp")
echo "$out" | grep -qx 'Model name: テスト' || fail "the model name is not read as CP932: $out"
echo "$out" | grep -qx 'Code page: CP932' || fail "no code page line: $out"

# Read as UTF-8 the name has no characters: replacement characters, never
# the raw bytes a terminal would take apart.
out=$("$cli" show --codepage UTF-8 "$d/demo.fsp")
echo "$out" | grep -qx 'Model name: �e�X�g' || fail "not replaced: $out"
echo "$out" | grep -qx 'Code page: UTF-8' || fail "the code page given is not used: $out"
if printf '%s' "$out" | LC_ALL=C grep -q "$(printf '\203')"; then fail "a raw byte was printed"; fi

status=0
"$cli" show --codepage NO-SUCH-PAGE "$d/demo.fsp" 2>"$d/err" >/dev/null || status=$?
[ "$status" -eq 2 ] || fail "an unknown code page gave exit $status"
grep -q 'unknown code page NO-SUCH-PAGE' "$d/err" || fail "no word on the unknown code page"

# An MCI name typed in UTF-8 is stored in CP932, as the Windows program reads it.
"$cli" set "$d/demo.fsp" --mci "テスト.mci" --model SH7058F >/dev/null
LC_ALL=C grep -q "^DEFFILE=$test_name.mci" "$d/demo.fsp" || fail "the MCI name is not CP932"
if LC_ALL=C grep -q "^DEFFILE=テスト.mci" "$d/demo.fsp"; then fail "the MCI name was stored as UTF-8"; fi
echo "code page found, shown and kept"
