#!/bin/sh
# Runs a Windows program of a build tree on an X display of its own, so that
# its windows reach a screen as a user's do: Xvfb on a free display, and a copy
# of the tree's Wine prefix whose wineserver session begins on that display
# (the prefix's own session, started by wine-prefix.sh without a display, draws
# on no screen). The copy hard-links the prefix's files and copies its registry.
#   wine-display.sh PREFIX PROGRAM [ARGUMENTS...]
set -eu
base=$1
shift
export WINEPREFIX="$base-display"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb=$!
cleanup() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$display_file" "$WINEPREFIX"
}
trap cleanup EXIT

# Xvfb writes its display number once it takes clients: wait for it, 10 s at most.
tries=0
while [ ! -s "$display_file" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$xvfb" 2>/dev/null; then
        echo "wine-display.sh: Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.1
done
export DISPLAY=":$(cat "$display_file")"

# A copy left by a run that was killed goes first, with its session.
wineserver -k </dev/null >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
cp -al "$base" "$WINEPREFIX"
for f in system.reg user.reg userdef.reg; do
    cp --remove-destination "$base/$f" "$WINEPREFIX/$f"
done
(wineserver -p && wine wineboot) </dev/null >/dev/null 2>&1 || true
wine "$@"
