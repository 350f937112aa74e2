#!/bin/sh
# Times a status query round trip over the agent's status pipe with 16
# printers against a bare named-pipe round trip, and the idle CPU of the
# waiting status pipe, under Wine (Release build).
#   scripts/bench-status.sh [build-root]    (default: ./build)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
win=$root/win-release

"$top/scripts/deps.sh"
cmake -S "$top" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$win" -j 2 --target status_pipe_bench >/dev/null
"$top/scripts/wine-prefix.sh" start "$win/wineprefix"
trap '"$top/scripts/wine-prefix.sh" stop "$win/wineprefix"' EXIT
"$win/wine-run" "$win/tests/wine/status_pipe_bench.exe"
