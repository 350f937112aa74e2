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
"$wine_run" "$@"
rc=$?
kill "$shell" 2>/dev/null
wait "$shell" 2>/dev/null
exit $rc
