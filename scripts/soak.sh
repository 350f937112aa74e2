#!/bin/sh
# Runs the real NyAgent.exe (Release tree) on Wine's shell desktop, drawn on a
# private Xvfb display, for a number of minutes with 16 simulated printers in
# churn, and watches it for leaks and hangs. The printers: 8 USB printers
# served by simulators (NySim.exe --usb) through the stand-in USB printing
# class driver, and 8 network printers answering PJL, one simulator each.
# Every printer prints a job again and again, half of them running out of
# paper on the way. In the background, one after the other: a USB printer is
# unplugged and plugged back in, paper-outs are resumed and jobs cancelled
# with the status windows' buttons, a printer leaves the spooler and comes
# back, and a network printer's simulator stops and starts again a few
# seconds later.
#
# Every minute a row: the agent's private memory (RssAnon of its Linux
# process), threads and open file descriptors, each the lowest reading of the
# minute (read every 2 s, so that a printer in churn or a short-lived exchange
# thread does not count), and whether every window of the agent answered
# WM_NULL within 1 s. From minute 6 on the figures are judged against those of
# minute 5: memory may grow by 2 MB at most, threads and descriptors not at
# all. The script fails (exit code 1, with the reasons) on any growth beyond
# that, on a window that does not answer, and at once when the agent's
# process is gone. The churn's actions go to build/win-release/soak/churn.log.
# SOAK_CHURN chooses the kinds of churn, of "usb jobs spooler network" (all by
# default; empty: none), to find which one a fault comes with.
# Everything runs in a copy of the build tree's Wine prefix, removed at the end.
#   scripts/soak.sh [minutes] [build-root]     (defaults: 60, ./build)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
minutes=${1:-60}
root=${2:-$top/build}
win="$root/win-release"
work="$win/soak"
baseline_minute=5
churn_kinds=${SOAK_CHURN-usb jobs spooler network}
sample_seconds=2

. "$top/sim/tools/session.sh"
session_build Release NyUsbPrint NySoak
churner=
soak_end() {
    if [ -n "$churner" ]; then kill "$churner" 2>/dev/null || true; fi
    session_end
}
trap soak_end EXIT
trap 'exit 130' INT TERM
session_start xvfb
echo "== the desktop is drawn on Xvfb $DISPLAY; churn: ${churn_kinds:-none}, its actions in $work/churn.log"

soak() { wine "$win/sim/tools/NySoak.exe" "$@" </dev/null; }

# One sheet as a script of the simulator: ready for 3 s, then the passes, then
# ready. With a status code in $1 the printer stops halfway through the yellow
# pass with that error until it is resumed (or the job cancelled).
job() {
    t=3000
    echo "0 1 0 0 0"
    echo "$t 3 1 0 0"
    for phase in 4 3 2 5; do
        for progress in 0 50 100; do
            t=$((t + 400))
            echo "$t 3 $phase $progress 0"
            if [ "$phase$progress" = 450 ] && [ -n "${1:-}" ]; then
                t=$((t + 100))
                echo "$t 3 4 50 $1 hold"
            fi
        done
    done
    echo "$((t + 400)) 3 6 100 0"
    echo "$((t + 900)) 1 0 0 0"
}
job >"$work/plain.job"
job 0x80000001 >"$work/paper-out.job"

# The printers, "name|port|driver|model|job|serial" (a serial for USB printers).
: >"$work/printers.txt"
for i in 1 2 3 4 5 6 7 8; do
    if [ $((i % 2)) = 1 ]; then kind=paper-out; else kind=plain; fi
    echo "Kestrel Soak USB $i|USB00$i|Kestrel 2006|0x3F|$kind|NYSOAK0$i" >>"$work/printers.txt"
    if [ "$i" -le 4 ]; then
        echo "Kestrel Soak Network $i|NYNET$i|Kestrel 2006 WiFi|0x3F|$kind|" >>"$work/printers.txt"
    else
        echo "Brindle Soak Network $i|NYNET$i|Kestrel 2005|0x3E|$kind|" >>"$work/printers.txt"
    fi
done

# The USB printers plugged in before the driver starts: it serves those it finds then.
set --
while IFS='|' read -r name port driver model kind serial; do
    if [ -n "$serial" ]; then
        plug plug "$serial" "$port" "$model"
        simulate "$port" --model "$model" --usb "$serial" --no-print-path --script "Z:$work/$kind.job" --loop
    else
        simulate "$port" --model "$model" --pjl-port 0 --no-print-path --script "Z:$work/$kind.job" --loop
    fi
    echo "$last_sim" >"$work/$port.pid"
    sed -n "s/^NySim: $port answers PJL on 127.0.0.1:\([0-9]*\).*/\1/p" "$work/$port.log" >"$work/$port.tcp"
    set -- "$@" "$name|$port|$driver"
done <"$work/printers.txt"
soak driver start "$(echo "Z:$win/sim/usb/NyUsbPrint.sys" | sed 's|/|\\|g')"
printf '"%s"=dword:00000001\n' OpenOnError OpenWhenPrinting >"$work/settings.reg"
install_printers "$@"
agent_start LC_ALL=en_US.UTF-8

# The Linux process of the agent of this prefix (not a zombie), or nothing.
agent_process() {
    ps -eo pid=,stat=,args= | while read -r pid stat args; do
        case "$stat" in Z*) continue ;; esac
        case "$args" in "$agent"*) ;; *) continue ;; esac
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
        fi
    done
}
pid=$(agent_process)
case "$pid" in
"" | *[!0-9]*)
    echo "soak: expected one agent process in $WINEPREFIX, found: ${pid:-none}" >&2
    exit 1
    ;;
esac

log() { echo "$(date +%T) $*" >>"$work/churn.log"; }

# A network printer's simulator started again on the TCP port it had; true
# once it answers.
restart_network() {
    port=$1 model=$2 kind=$3 tcp=$4
    wine "$win/sim/NySim.exe" --port "$port" --stop-event "NySim.Stop.$port" --model "$model" \
        --pjl-port "$tcp" --no-print-path --script "Z:$work/$kind.job" --loop </dev/null \
        >"$work/$port.log" 2>&1 &
    echo $! >"$work/$port.pid"
    sleep 3
    grep -q "^NySim: $port is" "$work/$port.log"
}

# Line $1 of printers.txt, "name|port|driver|model|kind|serial", counting
# from 1 and going round after the last.
printer() {
    sed -n "$((($1 - 1) % 16 + 1))p" "$work/printers.txt"
}

# The churn, each kind of action in turn, until the script ends.
churn_usb() {
    IFS='|' read -r name port driver model kind serial <<EOF
$(printer $(($1 % 8 * 2 + 1)))
EOF
    log "unplugging $name"
    plug unplug "$serial" "$port" "$model" >>"$work/churn.log" 2>&1 || log "failed"
    sleep 3
    log "plugging $name back in"
    plug plug "$serial" "$port" "$model" >>"$work/churn.log" 2>&1 || log "failed"
}

# Paper-outs resumed, and one other job cancelled: the first that prints,
# looking from a different printer each turn.
churn_jobs() {
    grep '|paper-out|' "$work/printers.txt" | while IFS='|' read -r name rest; do
        if click click "$name" 3 >/dev/null 2>&1; then log "resumed $name"; fi
    done
    grep '|plain|' "$work/printers.txt" |
        awk -v n="$1" '{ a[NR] = $0 } END { for (i = 0; i < NR; i++) print a[(n + i) % NR + 1] }' |
        while IFS='|' read -r name rest; do
            if click click "$name" 2 >/dev/null 2>&1; then
                log "cancelled $name"
                break
            fi
        done
}

churn_spooler() {
    IFS='|' read -r name port driver model kind serial <<EOF
$(printer "$1")
EOF
    log "removing $name from the spooler"
    soak printer remove "$name" >>"$work/churn.log" 2>&1 || log "failed"
    sleep 3
    log "adding $name to the spooler"
    soak printer add "$name" "$port" "$driver" >>"$work/churn.log" 2>&1 || log "failed"
}

# A network printer goes silent, and comes back 5 s later (or at the next
# turn, if its port was not free yet); the one still down is in $down.
churn_network() {
    if [ -z "$down" ]; then
        down=$(($1 % 8 + 1))
        log "stopping the simulator of NYNET$down"
        kill "$(cat "$work/NYNET$down.pid")" 2>/dev/null || true
        sleep 5
    fi
    IFS='|' read -r name port driver model kind serial <<EOF
$(grep "|NYNET$down|" "$work/printers.txt")
EOF
    if restart_network "$port" "$model" "$kind" "$(cat "$work/$port.tcp")"; then
        log "$port answers again"
        down=
    else
        log "$port could not start again yet: $(tail -n 1 "$work/$port.log")"
    fi
}

churn() {
    trap - EXIT INT TERM
    set +e
    n=0
    down=
    while :; do
        n=$((n + 1))
        for what in $churn_kinds; do "churn_$what" "$n"; done
        sleep 2
    done
}
churn &
churner=$!

# One reading: "memory-kB threads fds", or nothing once the process is gone.
reading() {
    status=$(cat "/proc/$pid/status" 2>/dev/null) || return 0
    case "$(ps -o stat= -p "$pid")" in "" | Z*) return 0 ;; esac
    echo "$status" | awk '/^RssAnon:/ { m = $2 } /^Threads:/ { t = $2 } END { printf "%d %d ", m, t }'
    ls "/proc/$pid/fd" 2>/dev/null | wc -l
}

failures=
fail() {
    echo "soak: minute $minute: $*" >&2
    failures="$failures
  minute $minute: $*"
}

echo "== $minutes minutes, agent process $pid; judged against minute $baseline_minute from minute $((baseline_minute + 1)) on"
printf '%6s %10s %8s %6s  %s\n' minute "memory MB" threads fds "windows answering"
start=$(date +%s)
minute=0
while [ "$minute" -lt "$minutes" ]; do
    minute=$((minute + 1))
    memory= threads= fds=
    while [ "$(date +%s)" -lt $((start + minute * 60)) ]; do
        values=$(reading)
        if [ -z "$values" ]; then
            printf '%6d %10s %8s %6s  %s\n' "$minute" - - - -
            fail "the agent's process $pid is gone"
            echo "soak: FAILED:$failures" >&2
            exit 1
        fi
        set -- $values
        if [ -z "$memory" ] || [ "$1" -lt "$memory" ]; then memory=$1; fi
        if [ -z "$threads" ] || [ "$2" -lt "$threads" ]; then threads=$2; fi
        if [ -z "$fds" ] || [ "$3" -lt "$fds" ]; then fds=$3; fi
        sleep "$sample_seconds"
    done
    ping=$(timeout 120 wine "$win/sim/tools/NySoak.exe" ping </dev/null 2>&1) || true
    answered=${ping%% *}
    printf '%6d %10s %8d %6d  %s\n' "$minute" "$(awk "BEGIN { printf \"%.1f\", $memory / 1024 }")" \
        "$threads" "$fds" "$answered"
    if [ "$answered" != y ]; then fail "windows did not answer within 1 s: $ping"; fi
    if [ "$minute" = "$baseline_minute" ]; then
        base_memory=$memory base_threads=$threads base_fds=$fds
    elif [ "$minute" -gt "$baseline_minute" ]; then
        if [ "$memory" -gt $((base_memory + 2048)) ]; then
            fail "memory grew from $base_memory kB to $memory kB"
        fi
        if [ "$threads" -gt "$base_threads" ]; then fail "threads grew from $base_threads to $threads"; fi
        if [ "$fds" -gt "$base_fds" ]; then fail "file descriptors grew from $base_fds to $fds"; fi
    fi
done
if [ -n "$failures" ]; then
    echo "soak: FAILED:$failures" >&2
    exit 1
fi
echo "== passed"
