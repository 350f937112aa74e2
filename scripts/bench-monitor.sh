#!/bin/sh
# The monitoring core with 16 simulated printers under Wine (8 USB printers
# through shared memory, 8 network printers over PJL): process CPU and memory
# while idle, and the time from a published change to the refresh message;
# then, per road, the time from a status change to the status window showing it.
#   scripts/bench-monitor.sh [idle-seconds] [changes] [build-root]   (defaults: 60, 200, ./build)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
changes=${2:-200}
root=${3:-$top/build}
win=$root/win-release

"$top/scripts/deps.sh"
cmake -S "$top" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$win" -j "$(nproc 2>/dev/null || echo 2)" --target monitor_bench status_latency_bench >/dev/null
"$top/scripts/wine-prefix.sh" start "$win/wineprefix"
trap '"$top/scripts/wine-prefix.sh" stop "$win/wineprefix"' EXIT

cd "$win/tests/wine/road"
WINEDLLOVERRIDES='cfgmgr32=n;mscoree,mshtml=' "$win/wine-run" ./monitor_bench.exe "$seconds" "$changes" |
    grep -v '^\['
WINEDLLOVERRIDES='cfgmgr32=n;mscoree,mshtml=' "$win/wine-run" ./status_latency_bench.exe "$changes" |
    grep -v '^\['
