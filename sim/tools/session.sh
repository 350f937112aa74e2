# Shell functions shared by scripts/demo.sh, scripts/screenshots.sh and
# scripts/soak.sh: a Wine session of its own for the agent and simulated
# printers, on a display.
# Sourced, not run. The caller sets top (the source tree), win (the Windows
# build tree) and work (a scratch directory), and traps EXIT to session_end.
#
# The build tree's prefix is booted once (and shared with the tests); the
# session works in a copy whose wineserver session begins on the session's
# display, with the agent installed in it under C:\Program Files\Tessel Photo.
# The copy hard-links the prefix's files and copies its registry.

agent='C:\Program Files\Tessel Photo\NyAgent.exe'
sims=
xvfb=

# Installs what is missing and builds the agent, the simulator and the tools
# in the Windows build tree, of the build type in $1 (Debug by default), with
# the further targets given after it.
session_build() {
    build_type=${1:-Debug}
    if [ $# -gt 0 ]; then shift; fi
    "$top/scripts/deps.sh"
    echo "== building the Windows tree in $win"
    cmake -S "$top" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
    cmake --build "$win" -j "$(nproc 2>/dev/null || echo 2)" \
        --target NyAgent NySim NyPortMon NySimCfgMgr32 NyClick NyPlug "$@" >/dev/null
}

# Starts the session on the display in DISPLAY when $1 is "user" and that
# display answers, else on a new Xvfb screen of 1024 x 768.
session_start() {
    if [ ! -f "$win/wineprefix/system.reg" ]; then
        echo "== preparing Wine in $win/wineprefix (the first time takes a minute or two)"
        "$top/scripts/wine-prefix.sh" start "$win/wineprefix"
        "$top/scripts/wine-prefix.sh" stop "$win/wineprefix"
    fi
    export WINEPREFIX="$win/wineprefix-$(basename "$work")" WINEDEBUG=-all
    # The agent finds simulated USB printers through the stand-in cfgmgr32.dll
    # installed beside it.
    export WINEDLLOVERRIDES="cfgmgr32=n,b;mscoree,mshtml="
    if [ "$1" != user ] || [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
        display_file=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
        xvfb=$!
        while [ ! -s "$display_file" ]; do sleep 0.1; done
        export DISPLAY=":$(cat "$display_file")"
        rm -f "$display_file"
    fi
    # A copy left by a killed run goes first, with its session.
    wineserver -k </dev/null >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX" "$work"
    cp -al "$win/wineprefix" "$WINEPREFIX"
    for f in system.reg user.reg userdef.reg; do
        cp --remove-destination "$win/wineprefix/$f" "$WINEPREFIX/$f"
    done
    (wineserver -p; wine wineboot) </dev/null >/dev/null 2>&1
    mkdir -p "$work" "$WINEPREFIX/drive_c/Program Files/Tessel Photo"
    cp "$win/NyAgent.exe" "$win/sim/usb/cfgmgr32.dll" "$WINEPREFIX/drive_c/Program Files/Tessel Photo/"
}

# Ends the agent, the simulated printers, the session, its prefix and Xvfb.
session_end() {
    wine "$agent" /destroyall </dev/null >/dev/null 2>&1 || true
    click wait-no-agent 5000 >/dev/null 2>&1 || true
    for pid in $sims; do kill "$pid" 2>/dev/null || true; done
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
}

click() { wine "$win/sim/tools/NyClick.exe" "$@" </dev/null; }
plug() { wine "$win/sim/tools/NyPlug.exe" "$@" </dev/null; }

# A simulated printer on port $1, then its options; waits for its first line.
# Its process id is left in last_sim, its output in $work/<port>.log.
simulate() {
    port=$1
    shift
    wine "$win/sim/NySim.exe" --port "$port" --stop-event "NySim.Stop.$port" "$@" </dev/null \
        >"$work/$port.log" 2>&1 &
    last_sim=$!
    sims="$sims $last_sim"
    tries=0
    until grep -q "^NySim: $port is" "$work/$port.log" 2>/dev/null; do
        tries=$((tries + 1))
        if [ "$tries" -gt 150 ]; then
            echo "the simulated printer on $port did not start:" >&2
            cat "$work/$port.log" >&2
            exit 1
        fi
        sleep 0.1
    done
}

# A script for the simulator in $work/$1 from the text in $2.
script() { printf '%b' "$2" >"$work/$1"; }

# Writes the printers "name|port|driver" given as arguments into the spooler,
# each port on which a simulated printer answers PJL into the family's TCP/IP
# port monitor, and the agent's settings from settings.reg in $work if there
# is one; one import into the registry.
install_printers() {
    monitor='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Monitors\Tessel TCP/IP Monitor'
    {
        echo "REGEDIT4"
        printf '\n[%s]\n"Driver"="%s"\n' "$monitor" \
            "$(echo "Z:$win/sim/portmon/NyPortMon.dll" | sed 's|/|\\\\|g')"
        for printer in "$@"; do
            name=${printer%%|*}
            rest=${printer#*|}
            port=${rest%%|*}
            driver=${rest#*|}
            printf '\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\%s]\n' "$name"
            printf '"Printer Driver"="%s"\n"Port"="%s"\n"Print Processor"="winprint"\n"Datatype"="RAW"\n' \
                "$driver" "$port"
            tcp=$(cat "$work/$port.log" 2>/dev/null | sed -n "s/^NySim: $port answers PJL on 127.0.0.1:\([0-9]*\).*/\1/p")
            if [ -n "$tcp" ]; then
                printf '\n[%s\\Ports\\%s]\n"IPAddress"="127.0.0.1"\n"PortNumber"=dword:%08x\n' "$monitor" \
                    "$port" "$tcp"
            fi
        done
        if [ -f "$work/settings.reg" ]; then
            printf '\n[HKEY_CURRENT_USER\\Software\\Tessel\\Tessel Photo\\NyAgent]\n'
            cat "$work/settings.reg"
        fi
    } >"$work/printers.reg"
    wine regedit /S "$work/printers.reg" </dev/null >/dev/null 2>&1
}

# The agent on the shell desktop, with the environment given as arguments
# (e.g. LC_ALL=ru_RU.UTF-8); waits until its tray icon is up.
agent_start() {
    env "$@" wine explorer /desktop=shell,1024x768 "$agent" </dev/null >/dev/null 2>&1 &
    click wait-agent 30000
}

# Ends the agent and waits until it has gone.
agent_end() {
    wine "$agent" /destroyall </dev/null >/dev/null 2>&1
    click wait-no-agent 10000
}
