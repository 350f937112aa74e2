#!/bin/sh
# Boots a Wine prefix once and keeps its wineserver running detached, so that
# programs reading Wine's output through a pipe do not wait for the server.
#   wine-prefix.sh start PREFIX   initialise (first time only) and start the server
#   wine-prefix.sh stop PREFIX    stop the server and every process of the prefix
set -eu
action=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

case "$action" in
start)
    mkdir -p "$WINEPREFIX"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        # Kernel drivers fail to start (1055, then 1053) in a server session
        # that ran wineboot -i: initialise once, then begin a new session.
        (wineserver -p; wine wineboot -i) </dev/null >/dev/null 2>&1
        wineserver -k </dev/null >/dev/null 2>&1 || true
        wineserver -w </dev/null >/dev/null 2>&1 || true
    fi
    # Without a display, the desktop would fail and no window could be
    # created: after X11, Wine's null driver, whose windows are never drawn.
    # The desktop takes its driver when a server session begins.
    if ! grep -q '^"Graphics"="x11,null"' "$WINEPREFIX/user.reg"; then
        (wineserver -p; wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11,null /f) \
            </dev/null >/dev/null 2>&1
        wineserver -k </dev/null >/dev/null 2>&1 || true
        wineserver -w </dev/null >/dev/null 2>&1 || true
    fi
    (wineserver -p; wine wineboot) </dev/null >/dev/null 2>&1
    ;;
stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    ;;
*)
    echo "usage: $0 start|stop PREFIX" >&2
    exit 2
    ;;
esac
