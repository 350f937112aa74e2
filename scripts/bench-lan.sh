#!/bin/sh
# Times PJL status exchanges between the network device and the simulator's
# network printer on loopback, under Wine.
#   scripts/bench-lan.sh [count] [build-root]    (defaults: 200, ./build)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-200}
root=${2:-$top/build}
win=$root/win-release

"$top/scripts/deps.sh"
cmake -S "$top" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$win" -j "$(nproc 2>/dev/null || echo 2)" --target NySim lan_exchange_bench >/dev/null
"$top/scripts/wine-prefix.sh" start "$win/wineprefix"
trap '"$top/scripts/wine-prefix.sh" stop "$win/wineprefix"' EXIT

port=19100
"$win/wine-run" "$win/sim/NySim.exe" --port BENCH --pjl-port $port --no-print-path --scenario idle \
    --stop-event NySim.Bench >/dev/null 2>&1 &
sleep 2
"$win/wine-run" "$win/lan_exchange_bench.exe" "127.0.0.1:$port" "$count"
