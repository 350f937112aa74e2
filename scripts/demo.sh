#!/bin/sh
# Builds the Windows tree, then shows the agent at work for about a minute: the
# real NyAgent.exe on Wine's shell desktop, watching three simulated printers
# (NySim.exe): a Kestrel on USB001 whose status the print path publishes in
# shared memory, a Kestrel on the network and a Brindle on the network. A
# small day follows: a job from start to end, a paper-out that the demo
# resumes, a job that the demo cancels, and the USB printer unplugged and
# plugged back in. The demo presses the status window's buttons as a user
# would (NyClick.exe) and prints one line per event: its own actions, and what
# the agent's windows show. It uses the display in DISPLAY when it can reach
# one, so that the desktop can be watched (and clicked), and Xvfb otherwise.
# Everything runs in a copy of the build tree's Wine prefix, removed at the end.
#   scripts/demo.sh [build-root]     (default: ./build)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
win="$root/win"
work="$win/demo"
jobs=$(nproc 2>/dev/null || echo 2)

"$top/scripts/deps.sh"

echo "== building the Windows tree in $win"
cmake -S "$top" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$win" -j "$jobs" --target NyAgent NySim NyPortMon NySimCfgMgr32 NyClick NyPlug >/dev/null

# The build tree's prefix is booted once (and shared with the tests); the demo
# works in a copy whose wineserver session begins on the demo's display.
if [ ! -f "$win/wineprefix/system.reg" ]; then
    echo "== preparing Wine in $win/wineprefix (the first time takes a minute or two)"
    "$top/scripts/wine-prefix.sh" start "$win/wineprefix"
    "$top/scripts/wine-prefix.sh" stop "$win/wineprefix"
fi
export WINEPREFIX="$win/wineprefix-demo" WINEDEBUG=-all
# The agent finds the simulated USB printer through the stand-in cfgmgr32.dll
# installed beside it. The demo speaks English, so that its waits can read the
# agent's state line.
export WINEDLLOVERRIDES="cfgmgr32=n,b;mscoree,mshtml=" LC_ALL=en_US.UTF-8

xvfb=
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
    xvfb=$!
    while [ ! -s "$display_file" ]; do sleep 0.1; done
    export DISPLAY=":$(cat "$display_file")"
    rm -f "$display_file"
    echo "== no display to use: the desktop is drawn on Xvfb $DISPLAY"
else
    echo "== the agent's desktop opens on $DISPLAY"
fi

sims=
cleanup() {
    wine "C:\\Program Files\\Tessel Photo\\NyAgent.exe" /destroyall </dev/null >/dev/null 2>&1 || true
    wine "$win/sim/tools/NyClick.exe" wait-no-agent 5000 </dev/null >/dev/null 2>&1 || true
    for pid in $sims; do kill "$pid" 2>/dev/null || true; done
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
}
# Whatever way the demo ends, the agent, the printers, the prefix's copy and Xvfb end with it.
trap cleanup EXIT
trap 'exit 130' INT TERM

wineserver -k </dev/null >/dev/null 2>&1 || true # a copy left by a killed run, with its session
rm -rf "$WINEPREFIX" "$work"
cp -al "$win/wineprefix" "$WINEPREFIX"
for f in system.reg user.reg userdef.reg; do cp --remove-destination "$win/wineprefix/$f" "$WINEPREFIX/$f"; done
(wineserver -p; wine wineboot) </dev/null >/dev/null 2>&1
mkdir -p "$work" "$WINEPREFIX/drive_c/Program Files/Tessel Photo"
cp "$win/NyAgent.exe" "$win/sim/usb/cfgmgr32.dll" "$WINEPREFIX/drive_c/Program Files/Tessel Photo/"

start_ms=$(date +%s%3N)
say() {
    ms=$(($(date +%s%3N) - start_ms))
    printf '[%3d.%d] demo   %s\n' $((ms / 1000)) $((ms % 1000 / 100)) "$*"
}
click() { wine "$win/sim/tools/NyClick.exe" "$@" </dev/null; }

# One sheet from $1 ms on, as a script of the simulator: feed in, the yellow,
# magenta and cyan passes and the coating with the printer cooling down between
# them, feed out, ready; about 11 s. With a status code in $2 the printer stops
# at 40 % of the yellow pass with that error until it is resumed.
job() {
    t=$1
    echo "0 1 0 0 0"
    step() {
        t=$((t + $1))
        echo "$t $2"
    }
    step 0 "3 1 0 0"
    step 600 "3 1 100 0"
    step 300 "3 7 0 0"
    for phase in 4 3 2 5; do
        for progress in 0 20 40 60 80 100; do
            step 300 "3 $phase $progress 0"
            if [ "$phase$progress" = 440 ] && [ -n "${2:-}" ]; then step 100 "3 4 40 $2 hold"; fi
        done
        step 300 "3 7 0 0"
    done
    step 300 "3 6 0 0"
    step 500 "3 6 100 0"
    step 500 "1 0 0 0"
}
job 12000 >"$work/usb.job"
job 28000 0x80000001 >"$work/kestrel-net.job"
job 46000 >"$work/brindle-net.job"

# A simulated printer on port $1, then its options; waits for its first line.
simulate() {
    port=$1
    shift
    wine "$win/sim/NySim.exe" --port "$port" --stop-event "NySim.Stop.$port" "$@" </dev/null >"$work/$port.log" 2>&1 &
    sims="$sims $!"
    last_sim=$!
    tries=0
    until grep -q "^NySim: $port is" "$work/$port.log" 2>/dev/null; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ]; then
            echo "demo.sh: the simulated printer on $port did not start:" >&2
            cat "$work/$port.log" >&2
            exit 1
        fi
        sleep 0.1
    done
}
# The TCP port on which the printer of port $1 answers PJL, from its first lines.
pjl_port() { sed -n "s/^NySim: $1 answers PJL on 127.0.0.1:\([0-9]*\).*/\1/p" "$work/$1.log"; }

say "three printers of the family: a Kestrel on USB001, a Kestrel and a Brindle on the network"
simulate USB001 --model 0x3F --script "Z:$work/usb.job"
usb_sim=$last_sim
simulate NYNET1 --model 0x3F --script "Z:$work/kestrel-net.job" --pjl-port 0 --no-print-path
simulate NYNET2 --model 0x3E --script "Z:$work/brindle-net.job" --pjl-port 0 --no-print-path

# The spooler's printers, the family's TCP/IP port monitor with the two
# network ports, and the agent's settings: popups on, and the USB printer
# watched through the print path's shared memory.
monitor_dll=$(echo "Z:$win/sim/portmon/NyPortMon.dll" | sed 's|/|\\\\|g')
{
    echo "REGEDIT4"
    for printer in "Kestrel Demo USB|USB001|Kestrel 2006" "Kestrel Demo Network|NYNET1|Kestrel 2006 WiFi" \
        "Brindle Demo Network|NYNET2|Kestrel 2005"; do
        IFS='|' read -r name port driver <<EOF
$printer
EOF
        printf '\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\%s]\n' "$name"
        printf '"Printer Driver"="%s"\n"Port"="%s"\n"Print Processor"="winprint"\n"Datatype"="RAW"\n' \
            "$driver" "$port"
    done
    monitor='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Monitors\Tessel TCP/IP Monitor'
    printf '\n[%s]\n"Driver"="%s"\n' "$monitor" "$monitor_dll"
    for port in NYNET1 NYNET2; do
        printf '\n[%s\\Ports\\%s]\n"IPAddress"="127.0.0.1"\n"PortNumber"=dword:%08x\n' "$monitor" "$port" \
            "$(pjl_port $port)"
    done
    printf '\n[HKEY_CURRENT_USER\\Software\\Tessel\\Tessel Photo\\NyAgent]\n'
    printf '"UseNyStatusMonitor"=dword:00000001\n"OpenOnError"=dword:00000001\n"OpenWhenPrinting"=dword:00000001\n'
} >"$work/printers.reg"
wine regedit /S "$work/printers.reg" </dev/null >/dev/null 2>&1
wine "$win/sim/tools/NyPlug.exe" plug DEMO0001 USB001 0x3F </dev/null

say "starting the agent"
wine explorer /desktop=shell,1024x768 "C:\\Program Files\\Tessel Photo\\NyAgent.exe" </dev/null >/dev/null 2>&1 &
click wait-agent 30000
click watch "$start_ms" &
watcher=$!
click wait "Kestrel Demo USB" 10000 || true
sleep 2

say "opening the tray menu"
click menu || true
sleep 3
click keys menu escape || true

say "a job on Kestrel Demo USB"
click wait "Kestrel Demo USB" 30000 open 2 || say "its window did not open"
click wait "Kestrel Demo USB" 30000 closed -2 || say "its window did not close"

say "a job on Kestrel Demo Network, which runs out of paper"
if click wait "Kestrel Demo Network" 40000 open 3; then
    sleep 3
    say "pressing Resume"
    click click "Kestrel Demo Network" 3 || true
else
    say "no Resume button came up"
fi
click wait "Kestrel Demo Network" 30000 closed -2 || say "its window did not close"

say "a job on Brindle Demo Network"
if click wait "Brindle Demo Network" 40000 open 2; then
    sleep 4
    say "pressing Cancel"
    click click "Brindle Demo Network" 2 || true
else
    say "no Cancel button came up"
fi
click wait "Brindle Demo Network" 15000 closed -2 || say "its window did not close"

sleep 1
say "unplugging Kestrel Demo USB"
wine "$win/sim/tools/NyPlug.exe" unplug DEMO0001 USB001 0x3F </dev/null
kill "$usb_sim" 2>/dev/null || true
click wait "Kestrel Demo USB" 10000 "state:Not connected" || say "the agent did not notice"
sleep 3
say "plugging Kestrel Demo USB back in"
simulate USB001 --model 0x3F --scenario idle
wine "$win/sim/tools/NyPlug.exe" plug DEMO0001 USB001 0x3F </dev/null
click wait "Kestrel Demo USB" 10000 "state:Ready" || say "the agent did not notice"
sleep 2

say "ending the agent (NyAgent.exe /destroyall)"
wine "C:\\Program Files\\Tessel Photo\\NyAgent.exe" /destroyall </dev/null >/dev/null 2>&1
wait "$watcher" 2>/dev/null || true
say "done"
