#!/bin/sh
# Builds the Windows tree, then photographs every window and layout of the
# real NyAgent.exe in English and in Russian, as PNG files in
# build/screenshots/: the status window idle, not connected, printing (both
# bars), and in error with each kind's buttons (a resumable error on a Kestrel
# and on a Brindle, an error that cannot be resumed, an error while idle), the
# tray menu (drawn flat), the device information dialog, About and Help.
# Simulated printers (NySim.exe) hold each state; NyClick.exe opens the
# windows as a user would, reports their rectangles, and each picture is cut
# out of a screenshot of the Xvfb screen. Everything runs in a copy of the
# build tree's Wine prefix, removed at the end.
#   scripts/screenshots.sh [build-root]     (default: ./build)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
win="$root/win"
work="$win/screenshots"
shots="$top/build/screenshots"

. "$top/sim/tools/session.sh"
session_build
trap session_end EXIT
trap 'exit 130' INT TERM
# Always a screen of its own, so that the pictures do not depend on the user's desktop.
session_start xvfb
mkdir -p "$shots"
rm -f "$shots"/en-*.png "$shots"/ru-*.png

# Each printer holds one state: "name|port|driver|model|script".
script printing.job '0 3 3 60 0\n3600000 1 0 0 0\n'
script paper-out.job '0 3 4 40 0x80000001 hold\n'
script card-error.job '0 3 7 0 0x40000020 hold\n'
script cover-open.job '0 1 0 0 0x80000400\n3600000 1 0 0 0\n'
printers="Kestrel Studio|NYNET1|Kestrel 2006 WiFi|0x3F|
Kestrel Front Desk|NYNET2|Kestrel 2006 WiFi|0x3F|printing.job
Kestrel Lab|NYNET3|Kestrel 2006|0x3F|paper-out.job
Brindle Kiosk|NYNET4|Kestrel 2005|0x3E|paper-out.job
Kestrel Booth|NYNET5|Kestrel 2006|0x3F|card-error.job
Kestrel Event Hall|NYNET6|Kestrel 2006|0x3F|cover-open.job"
spooler="Kestrel USB|USB001|Kestrel 2006" # no printer on the port: not connected
echo "$printers" >"$work/printers.txt"
printf '"%s"=dword:00000001\n' OpenOnError OpenWhenPrinting >"$work/settings.reg"

# The printers, each in its state from the start, and the spooler's printers
# with the ports on which they answer.
printers_start() {
    set -- "$spooler"
    while IFS='|' read -r name port driver model job; do
        if [ -n "$job" ]; then
            simulate "$port" --model "$model" --script "Z:$work/$job" --pjl-port 0 --no-print-path
        else
            simulate "$port" --model "$model" --scenario idle --pjl-port 0 --no-print-path
        fi
        set -- "$@" "$name|$port|$driver"
    done <"$work/printers.txt"
    install_printers "$@"
}

printers_end() {
    for pid in $sims; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    sims=
}

# shot FILE SELECTOR [X Y W H]: the window's rectangle, or the one given, cut
# out of the screen.
shot() {
    if [ $# -gt 2 ]; then
        geometry="$5x$6+$3+$4"
    else
        geometry=$(click rect "$2" | awk '{ print $3 "x" $4 "+" $1 "+" $2 }')
    fi
    [ -n "$geometry" ] &&
        import -display "$DISPLAY" -window root "$work/screen.png" &&
        convert "$work/screen.png" -crop "$geometry" +repage -strip "$shots/$1" &&
        echo "$shots/$1"
}

# The printer's status window alone on the screen.
status() {
    click solo "$1" && sleep 1 && shot "$file" "$1"
}

# Waits for the dialog that has the controls $1, takes it, and closes it with its button 1.
dialog() {
    click wait "dialog:$1" 20000 && sleep 1 && shot "$file" "dialog:$1" && click click "dialog:$1" 1
}

# Takes one picture into $file.
take() {
    case $1 in
    status-idle) status "Kestrel Studio" ;;
    status-not-connected) status "Kestrel USB" ;;
    status-printing) status "Kestrel Front Desk" ;;
    status-paper-out-kestrel) status "Kestrel Lab" ;;
    status-paper-out-brindle) status "Brindle Kiosk" ;;
    status-card-error) status "Kestrel Booth" ;;
    status-cover-open) status "Kestrel Event Hall" ;;
    help) click solo "Kestrel Lab" && click click "Kestrel Lab" 101 && dialog 1011,-1027 ;;
    information)
        click solo "Kestrel Studio" && click click "Kestrel Studio" 102 && click wait dialog:1026 20000 &&
            click expand dialog:1026 1027 && dialog 1026
        ;;
    tray-menu)
        # The menu with the bottom right corner of the taskbar, its icon included.
        click hide-all && click menu && sleep 1 && rect=$(click rect menu) && set -- $rect &&
            shot "$file" menu $(($1 - 8)) $(($2 - 8)) $((1024 - $1 + 8)) $((768 - $2 + 8)) &&
            click keys menu escape
        ;;
    about)
        # About is grayed while a printer prints: the jobs are cancelled first.
        for name in "Kestrel Front Desk" "Kestrel Lab" "Brindle Kiosk" "Kestrel Booth"; do
            click click "$name" 2 || return 1
        done
        sleep 3 && click menu && click keys menu down return && dialog 1020
        ;;
    esac
}

missing=
for language in en_US ru_RU; do
    lang=${language%_*}
    echo "== $language"
    printers_start
    agent_start LC_ALL="$language.UTF-8"
    # Every printer's window, and each printer's first answers (one a second).
    for name in "Kestrel USB" "Kestrel Studio" "Kestrel Front Desk" "Kestrel Lab" "Brindle Kiosk" \
        "Kestrel Booth" "Kestrel Event Hall"; do
        click wait "$name" 20000
    done
    sleep 3
    for picture in status-idle status-not-connected status-printing status-paper-out-kestrel \
        status-paper-out-brindle status-card-error status-cover-open help information tray-menu about; do
        file="$lang-$picture.png"
        if ! take "$picture"; then
            missing="$missing $file"
            # A menu or a dialog left open goes before the next picture.
            click keys menu escape 2>/dev/null || true
            for controls in 1011,-1027 1026 1020; do click click "dialog:$controls" 1 2>/dev/null || true; done
        fi
    done
    agent_end
    printers_end
done
echo "== $(ls "$shots"/en-*.png "$shots"/ru-*.png | wc -l) pictures in $shots"
if [ -n "$missing" ]; then
    echo "== missing:$missing" >&2
    exit 1
fi
