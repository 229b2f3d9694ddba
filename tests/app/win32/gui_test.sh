#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs the Win32 front's tests under Wine on a virtual X display of their
# own. Wine binds its desktop to the display of the process that starts it,
# so the prefix's server is stopped before and after: no other test's
# desktop is taken over, and none is left bound to a display that is gone.
# Arguments: wine64, the test program, then its arguments.
set -eu
wine=$1
shift
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver
command -v Xvfb >/dev/null || { echo "skipped: no Xvfb"; exit 77; }

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
server=$!
read -r display <"$fifo"
rm -f "$fifo"
trap 'kill $server 2>/dev/null || true' EXIT
"$wineserver" -k 2>/dev/null || true
status=0
DISPLAY=:$display "$wine" "$@" || status=$?
"$wineserver" -k 2>/dev/null || true
exit $status
