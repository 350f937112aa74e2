#!/bin/sh
# What polling costs the agent under Wine: CPU per poll of the shared-memory
# and USB roads (the USB road on the simulator's stand-in class driver), and
# the process CPU of 16 idle shared-memory printers over a minute.
#   scripts/bench-poll.sh [seconds] [build-root]    (defaults: 60, ./build)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
root=${2:-$top/build}
win=$root/win-release

"$top/scripts/deps.sh"
cmake -S "$top" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$win" -j "$(nproc 2>/dev/null || echo 2)" --target poll_bench NyUsbPrint >/dev/null
"$top/scripts/wine-prefix.sh" start "$win/wineprefix"
trap '"$top/scripts/wine-prefix.sh" stop "$win/wineprefix"' EXIT

driver="Z:$(echo "$win/sim/usb/NyUsbPrint.sys" | tr / '\\')"
"$win/wine-run" "$win/poll_bench.exe" vir-poll
"$win/wine-run" "$win/poll_bench.exe" usb-poll "$driver"
"$win/wine-run" "$win/poll_bench.exe" vir-idle 16 "$seconds"
