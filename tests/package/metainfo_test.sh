#!/bin/sh
# SPDX-License-Identifier: MIT
# The AppStream metadata of this build: appstreamcli takes it without an
# error or a warning (offline: the screenshot is not fetched), and it agrees
# with the desktop entry and the version.
#
# metainfo_test.sh METAINFO DESKTOP_ENTRY VERSION
set -eu
metainfo=$1 entry=$2 version=$3

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

command -v appstreamcli >/dev/null || fail "no appstreamcli (Debian package appstream)"
[ -s "$metainfo" ] || fail "no $metainfo"
[ -s "$entry" ] || fail "no $entry"

report=$(appstreamcli validate --no-net --no-color --explain "$metainfo" 2>&1) ||
    { echo "$report"; fail "appstreamcli refuses $(basename "$metainfo")"; }
if echo "$report" | grep -q '^[EW]:'; then
    echo "$report"
    fail "appstreamcli warns about $(basename "$metainfo")"
fi

# The text of the one element NAME [with ATTRIBUTES]; fails when there is
# not exactly one.
element() {
    start="<$1${2:+ $2}>"
    count=$(grep -c "^ *$start" "$metainfo" || true)
    [ "$count" -eq 1 ] || fail "$(basename "$metainfo") has $count $start elements, not one"
    sed -n "s|^ *$start\(.*\)</$1>.*|\1|p" "$metainfo"
}
entry_key() {
    sed -n "s/^$1=//p" "$entry"
}

[ "$(basename "$metainfo")" = "$(element id).metainfo.xml" ] ||
    fail "the file is not named after its id $(element id)"
[ "$(element launchable 'type="desktop-id"')" = "$(basename "$entry")" ] ||
    fail "the launchable is not $(basename "$entry")"
[ "$(element name)" = "$(entry_key Name)" ] || fail "the name is not the desktop entry's"
[ "$(element summary)" = "$(entry_key Comment)" ] || fail "the summary is not the desktop entry's Comment"
summary_ja=$(sed -n 's|^ *<summary xml:lang="ja">\(.*\)</summary>|\1|p' "$metainfo")
[ "$summary_ja" = "$(entry_key 'Comment\[ja\]')" ] ||
    fail "the Japanese summary is not the desktop entry's Comment[ja]"
mime_type=$(sed -n 's/^MimeType=\(.*\);$/\1/p' "$entry")
[ "$(element mediatype)" = "$mime_type" ] || fail "the media type is not the desktop entry's $mime_type"
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\">" "$metainfo" ||
    fail "no release $version with a date"
grep -q '<image>https://[^<]*\.png</image>' "$metainfo" || fail "no screenshot"
echo "AppStream metadata: $(basename "$metainfo") valid, agrees with $(basename "$entry")"
