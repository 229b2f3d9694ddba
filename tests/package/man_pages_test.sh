#!/bin/sh
# SPDX-License-Identifier: MIT
# The manual pages the build made: man renders them without a warning, they
# carry this version, and kelvane-cli.1 documents every command and option
# kelvane-cli has and none it lacks.
#
# man_pages_test.sh MAN_DIR VERSION KELVANE_CLI
set -eu
dir=$1 version=$2 cli=$3

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for page in kelvane kelvane-cli; do
    for file in "$dir/$page.1" "$dir/$page.1.gz"; do
        [ -s "$file" ] || fail "no $file"
    done
    gzip -dc "$dir/$page.1.gz" | cmp -s - "$dir/$page.1" || fail "$page.1.gz is not $page.1"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$dir/$page.1" 2>&1 >/dev/null) ||
        fail "man cannot render $page.1"
    [ -z "$warnings" ] || fail "man warns about $page.1: $warnings"
    grep -q "^\.TH \"$page\" \"1\" .*\"Kelvane $version\"" "$dir/$page.1" ||
        fail "$page.1 is not headed as Kelvane $version"
    LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$dir/$page.1" 2>/dev/null | grep -q "^NAME" ||
        fail "$page.1 renders without a NAME section"
done

page=$dir/kelvane-cli.1
# What kelvane-cli has: its commands, and each command's options from its
# own help.
commands="show check save set convert usb models"
have=$(for command in $commands; do
    "$cli" "$command" --help 2>&1 | sed -n 's/^  *\(-[a-z],\)\{0,1\}\(--[a-z][a-z-]*\).*/\2/p'
done | LC_ALL=C sort -u)
[ -n "$have" ] || fail "the commands' help lists no option"
for command in $commands; do
    grep -q "^\\\\fB$command\\\\fR" "$page" || fail "kelvane-cli.1 has no entry for the command $command"
done
for option in $have --version; do
    grep -q "^\\\\fB$option\\\\fR" "$page" || fail "kelvane-cli.1 has no entry for $option"
done
# And no entry for an option it lacks.
documented=$(sed -n 's/^\\fB\(--[a-z][a-z-]*\)\\fR.*/\1/p' "$page" | LC_ALL=C sort -u)
for option in $documented; do
    [ "$option" = --version ] && continue
    echo "$have" | grep -qx -- "$option" || fail "kelvane-cli.1 documents $option, which no command takes"
done
echo "manual pages: kelvane.1 and kelvane-cli.1 checked ($(echo "$have" | wc -l) options)"
