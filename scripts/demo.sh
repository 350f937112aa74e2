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

. "$top/sim/tools/session.sh"
session_build
# Whatever way the demo ends, the agent, the printers, the prefix's copy and Xvfb end with it.
trap session_end EXIT
trap 'exit 130' INT TERM
session_start user
if [ -n "$xvfb" ]; then
    echo "== no display to use: the desktop is drawn on Xvfb $DISPLAY"
else
    echo "== the agent's desktop opens on $DISPLAY"
fi

start_ms=$(date +%s%3N)
say() {
    ms=$(($(date +%s%3N) - start_ms))
    printf '[%3d.%d] demo   %s\n' $((ms / 1000)) $((ms % 1000 / 100)) "$*"
}

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

say "three printers of the family: a Kestrel on USB001, a Kestrel and a Brindle on the network"
simulate USB001 --model 0x3F --script "Z:$work/usb.job"
usb_sim=$last_sim
simulate NYNET1 --model 0x3F --script "Z:$work/kestrel-net.job" --pjl-port 0 --no-print-path
simulate NYNET2 --model 0x3E --script "Z:$work/brindle-net.job" --pjl-port 0 --no-print-path

# The agent's settings: popups on, and the USB printer watched through the
# print path's shared memory.
printf '"%s"=dword:00000001\n' UseNyStatusMonitor OpenOnError OpenWhenPrinting >"$work/settings.reg"
install_printers "Kestrel Demo USB|USB001|Kestrel 2006" "Kestrel Demo Network|NYNET1|Kestrel 2006 WiFi" \
    "Brindle Demo Network|NYNET2|Kestrel 2005"
plug plug DEMO0001 USB001 0x3F

say "starting the agent"
# What the agent shows is told from its first window on, until it ends.
click watch "$start_ms" &
watcher=$!
# The demo speaks English, so that its waits can read the agent's state line.
agent_start LC_ALL=en_US.UTF-8
click wait "Kestrel Demo USB" 10000 || true

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
plug unplug DEMO0001 USB001 0x3F
kill "$usb_sim" 2>/dev/null || true
wait "$usb_sim" 2>/dev/null || true
click wait "Kestrel Demo USB" 10000 "state:Not connected" || say "the agent did not notice"
sleep 3
say "plugging Kestrel Demo USB back in"
simulate USB001 --model 0x3F --scenario idle
plug plug DEMO0001 USB001 0x3F
click wait "Kestrel Demo USB" 10000 "state:Ready" || say "the agent did not notice"
sleep 2

say "opening the tray menu"
click menu || true
sleep 3
click keys menu escape || true

say "ending the agent (NyAgent.exe /destroyall)"
agent_end
wait "$watcher" 2>/dev/null || true
say "done"
