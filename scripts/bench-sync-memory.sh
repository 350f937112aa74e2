#!/bin/sh
# Private memory per call of each spooler and device installation call pattern
# of a printer set synchronisation, and per synchronisation of the monitor
# window, with 16 printers (8 USB, 8 on ports of the port monitor stand-in).
#   scripts/bench-sync-memory.sh [calls-per-round] [build-root]   (defaults: 300, ./build)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
calls=${1:-300}
root=${2:-$top/build}
win=$root/win-release

"$top/scripts/deps.sh"
cmake -S "$top" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$win" -j "$(nproc 2>/dev/null || echo 2)" --target sync_leak_probe >/dev/null
"$top/scripts/wine-prefix.sh" start "$win/wineprefix"
trap '"$top/scripts/wine-prefix.sh" stop "$win/wineprefix"' EXIT

cd "$win/tests/wine/road"
WINEDLLOVERRIDES='cfgmgr32=n;mscoree,mshtml=' "$win/wine-run" ./sync_leak_probe.exe "$calls" | grep -v '^\['
