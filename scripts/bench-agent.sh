#!/bin/sh
# The real NyAgent.exe under Wine with 16 simulated printers (8 USB printers
# through shared memory, 8 network printers over PJL), on Wine's shell desktop
# drawn on a private Xvfb display: what a thread start, a wait and a trip
# through the wineserver cost here, then start to tray icon and Exit to the
# end of the process (each over several runs), then the agent's CPU while
# idle (by thread, and the wineserver's share) and its memory, each also as a
# ratio to a minimal program (idle_floor_bench) that makes the same waits,
# thread starts and exchanges with the same printers for as long; last, with
# the network printers dead (they accept a connection and never answer, one
# port's status mutex held by the benchmark), the tray menu's Exit and a
# "destroyall" run to the end of the agent, as many runs each as starts; and
# the idle figures once more with the agent's metrics file written.
#   scripts/bench-agent.sh [idle-seconds] [starts] [build-root]   (defaults: 60, 20, ./build)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
starts=${2:-20}
root=${3:-$top/build}
win=$root/win-release

"$top/scripts/deps.sh"
cmake -S "$top" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$win" -j 2 --target agent_bench >/dev/null
# Boot the prefix once; the server session that measures begins on the display.
"$top/scripts/wine-prefix.sh" stop "$win/wineprefix"
"$top/scripts/wine-prefix.sh" start "$win/wineprefix"
"$top/scripts/wine-prefix.sh" stop "$win/wineprefix"
trap '"$top/scripts/wine-prefix.sh" stop "$win/wineprefix"' EXIT

export WINEPREFIX="$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" sh -c '
    (wineserver -p; wine wineboot) </dev/null >/dev/null 2>&1
    server=
    for pid in $(pgrep -f wineserver); do
        if tr "\0" "\n" 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            server=$pid
        fi
    done
    wine explorer /desktop=shell,1024x768 </dev/null >/dev/null 2>&1 &
    sleep 3
    cd "$1/tests/wine/road"
    wine ./wine_cost_bench.exe "$server"
    WINEDLLOVERRIDES="cfgmgr32=n;mscoree,mshtml=" wine ./agent_bench.exe "$2" "$3" "$server"
    # The idle figures again with the metrics file written (and removed at the end).
    metrics=$(mktemp -d /tmp/nyagent-bench-metrics.XXXXXX)
    WINEDLLOVERRIDES="cfgmgr32=n;mscoree,mshtml=" wine ./agent_bench.exe "$2" 0 "$server" \
        "Z:$(printf %s "$metrics" | tr / "\\\\")"
    rmdir "$metrics"
' bench-agent "$win" "$seconds" "$starts"
