#!/bin/sh
# Builds the Windows tree and runs the agent against simulated printers:
# NySim.exe publishes the status of port USB001 as the print path does and
# plays a print job there, two printers of the family stand in the spooler,
# and NyAgent.exe runs on Wine's shell desktop with its tray icon. The open
# tray menu is left as a screenshot in build/screenshots/. Without a DISPLAY
# the desktop is drawn on Xvfb.
#   scripts/demo.sh [build-root]     (default: ./build)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
win="$root/win"
shots="$top/build/screenshots"
jobs=$(nproc 2>/dev/null || echo 2)

"$top/scripts/deps.sh"

echo "== building the Windows tree in $win"
cmake -S "$top" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$win" -j "$jobs" --target NySim NyAgent

echo "== preparing Wine in $win/wineprefix"
"$top/scripts/wine-prefix.sh" start "$win/wineprefix"
"$top/scripts/wine-prefix.sh" stop "$win/wineprefix"
export WINEPREFIX="$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

xvfb=
if [ -z "${DISPLAY:-}" ]; then
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
    xvfb=$!
    while [ ! -s "$display_file" ]; do sleep 0.1; done
    export DISPLAY=":$(cat "$display_file")"
    rm -f "$display_file"
fi

printers='HKLM\System\CurrentControlSet\Control\Print\Printers'
cleanup() {
    wine "$win/NyAgent.exe" /destroyall </dev/null >/dev/null 2>&1 || true
    for name in "Kestrel Demo USB" "Kestrel Demo Parallel"; do
        wine reg delete "$printers\\$name" /f </dev/null >/dev/null 2>&1 || true
    done
    wineserver -k </dev/null >/dev/null 2>&1 || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
}
# Whatever way the demo ends, the prefix's programs, the printers and Xvfb end with it.
trap cleanup EXIT
trap 'exit 130' INT TERM

# This session of the wineserver begins on the display, so that the desktop is drawn.
(wineserver -p; wine wineboot) </dev/null >/dev/null 2>&1

echo "== two printers of the family in the spooler: on USB001 and on LPT1:"
for pair in "Kestrel Demo USB|USB001" "Kestrel Demo Parallel|LPT1:"; do
    name=${pair%|*}
    port=${pair#*|}
    for value in "Printer Driver|Kestrel 2006" "Port|$port" "Print Processor|winprint" "Datatype|RAW"; do
        wine reg add "$printers\\$name" /v "${value%|*}" /d "${value#*|}" /f </dev/null >/dev/null 2>&1
    done
done

echo "== a simulated Kestrel Model D printing on port USB001"
"$win/wine-run" "$win/sim/NySim.exe" --port USB001 --scenario job --model 0x3F --loop </dev/null >/dev/null 2>&1 &

echo "== the agent on the shell desktop"
wine explorer /desktop=shell,1024x768 "$win/NyAgent.exe" </dev/null >/dev/null 2>&1 &
sleep 8

# The tray sits at the bottom right; the agent's icon is the rightmost one.
echo "== the tray menu"
xdotool mousemove 1014 755 click 3
sleep 2
mkdir -p "$shots"
import -display "$DISPLAY" -window root "$shots/tray-menu.png"
echo "== screenshot: $shots/tray-menu.png"
xdotool key Escape
