#!/bin/sh
# Builds the Windows tree and plays one print job on a simulated printer:
# NySim.exe publishes the status of port USB001 as the print path does and
# prints every status block it publishes, until the job is done.
#   scripts/demo.sh [build-root]     (default: ./build)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
win="$root/win"
jobs=$(nproc 2>/dev/null || echo 2)

"$top/scripts/deps.sh"

echo "== building the Windows tree in $win"
cmake -S "$top" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$win" -j "$jobs" --target NySim

echo "== starting Wine in $win/wineprefix"
"$top/scripts/wine-prefix.sh" start "$win/wineprefix"
# Whatever way the demo ends, the prefix's wineserver and programs end with it.
trap '"$top/scripts/wine-prefix.sh" stop "$win/wineprefix"' EXIT
trap 'exit 130' INT TERM

echo "== a print job on a simulated Kestrel Model D on port USB001"
"$win/wine-run" "$win/sim/NySim.exe" --port USB001 --scenario job --model 0x3F --print --exit-when-done
echo "== the job is done"
