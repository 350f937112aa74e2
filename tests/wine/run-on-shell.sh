#!/bin/sh
# Runs a test program of this tree on Wine's shell desktop, which has a
# taskbar with a notification area, on a private X display (under xvfb-run).
# The test program moves its thread to the desktop "shell" and starts its
# children there.
#   run-on-shell.sh WINE_RUN PROGRAM [ARGS...]
set -u
wine_run=$1
shift
"$wine_run" explorer /desktop=shell,1024x768 </dev/null >/dev/null 2>&1 &
shell=$!
# The desktop and its taskbar are up once the shell's tray window exists; a
# second or so under load.
sleep 2
# The program's output goes through a file: a process it started that
# outlives it (under load, Wine's own desktop process, when the program asked
# for the desktop before the shell above had made it) would otherwise hold
# the test runner's pipe open until the test's time-out.
log=$(mktemp)
"$wine_run" "$@" </dev/null >"$log" 2>&1
rc=$?
cat "$log"
rm -f "$log"
kill "$shell" 2>/dev/null
wait "$shell" 2>/dev/null
exit $rc
