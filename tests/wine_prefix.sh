#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes the tests' own Wine prefix before any test runs, waits until the
# programs Wine starts in a new prefix have ended, and leaves one server
# running for the whole run (for 30 s after its last program): a test then
# never starts while the prefix is still being made or its server is
# shutting down. Arguments: wine64. WINEPREFIX names the prefix.
set -eu
wine=$1
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver
# A server an earlier run left waits out its time: not this run's.
"$wineserver" -k 2>/dev/null || true
"$wine" wineboot -i
"$wineserver" -w
"$wineserver" -p30 </dev/null >/dev/null 2>&1
