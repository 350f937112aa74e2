#!/bin/sh
# The installation package under Wine's own msiexec, in a prefix of its own:
# install, a second install of the same package, removal, an upgrade from an
# older version while an agent runs and a slow process still holds the
# destruction event, and a full removal with the user's settings.
#   tests/installer/installer_test.sh [build-root]     (default: ./build)
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
root=${1:-$top/build}
tree=$root/win-release
work=$tree/installer-test
pkg=$work/NyAgent.msi
old=$work/NyAgent-old.msi
mkdir -p "$work"
NY_PACKAGE_OUT=$pkg "$top/scripts/package.sh" "$root" >/dev/null
NY_PACKAGE_VERSION=0.9.0.0 NY_PACKAGE_OUT=$old "$top/scripts/package.sh" "$root" >/dev/null
cmake --build "$tree" -j 2 --target installer_event_holder >/dev/null
version=$(sed -n 's/^FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*$/\1.\2.\3.\4/p' \
    "$top/resources/version.rc")

# A booted prefix is kept and copied afresh for every run.
export WINEPREFIX=$work/prefix WINEDEBUG=-all
unset DISPLAY
if [ ! -f "$work/base/system.reg" ]; then
    "$top/scripts/wine-prefix.sh" start "$work/base"
    "$top/scripts/wine-prefix.sh" stop "$work/base"
    WINEPREFIX=$work/base wineserver -w
fi
rm -rf "$WINEPREFIX"
cp -a "$work/base" "$WINEPREFIX"
"$top/scripts/wine-prefix.sh" start "$WINEPREFIX"
trap '"$top/scripts/wine-prefix.sh" stop "$WINEPREFIX"' EXIT

company="$WINEPREFIX/drive_c/Program Files/Tessel"
dir=$company/NyAgent
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
passed=0
failed=0
check() { # what, then a command that holds
    what=$1
    shift
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)) && echo "FAILED: $what"; fi
}
msi() { # msiexec arguments; prints the seconds taken
    start=$(date +%s.%N)
    wine msiexec "$@" /qn </dev/null >/dev/null 2>&1 || echo "msiexec $* returned $?" >&2
    awk "BEGIN { printf \"%.1f\", $(date +%s.%N) - $start }"
}
# The live agents of this prefix (other prefixes on the machine run their own).
agents() {
    sleep 2 # an agent that found the event signalled has ended by now
    for p in $(pgrep -f -i 'nyagent\.exe' || true); do
        grep -qz "^WINEPREFIX=$WINEPREFIX\$" "/proc/$p/environ" 2>/dev/null &&
            [ "$(ps -o stat= -p "$p")" != Z ] && echo "$p"
    done
    return 0
}
reg_value() { wine reg query "$1" /v "$2" </dev/null 2>/dev/null | sed -n "s/^ *$2 *REG_[A-Z_]* *//p" | tr -d '\r'; }
products() { # DisplayVersion of every installed package of the agent
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s </dev/null 2>/dev/null |
        tr -d '\r' | awk '/^HKEY/ { ours = 0 } /DisplayName.*Tessel Photo Agent/ { ours = 1 }
                          /DisplayVersion/ && ours { print $3 }'
}
has_key() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
settings='HKCU\Software\Tessel\Tessel Photo\NyAgent'
installed() { [ -f "$dir/NyAgent.exe" ] && [ -f "$dir/NyAgentSetup.exe" ]; }
removed() { [ ! -e "$company" ] && [ -z "$(reg_value "$run_key" NyAgent)" ] && [ -z "$(products)" ]; }
fully_removed() { removed && ! has_key "$settings" && ! has_key 'HKCU\Software\Tessel'; }
one_new_agent() { [ -n "$old_agent" ] && [ "$(echo "$new_agent" | wc -w)" = 1 ] && [ "$new_agent" != "$old_agent" ]; }

t_install=$(msi /i "$pkg")
check "the Run value holds the quoted path" \
    [ "$(reg_value "$run_key" NyAgent)" = '"C:\Program Files\Tessel\NyAgent\NyAgent.exe"' ]
check "the files are in place" installed
sums() { (cd "$dir" && md5sum NyAgent.exe NyAgentSetup.exe); }
new_files=$(sums)
check "one agent runs after the install" [ "$(agents | wc -l)" = 1 ]

t_repair=$(msi /i "$pkg")
check "a second install keeps one product" [ "$(products)" = "$version" ]
check "a second install keeps one agent" [ "$(agents | wc -l)" = 1 ]

t_remove=$(msi /x "$pkg")
check "the removal ends the agent" [ -z "$(agents)" ]
check "the removal leaves no file, Run value or product" removed
check "the removal keeps the user's settings" has_key "$settings"

msi /i "$old" >/dev/null
old_agent=$(agents)
for f in "$dir"/*.exe; do echo stale >>"$f"; done # the older package's files differ
wine "$tree/tests/installer/installer_event_holder.exe" 5000 </dev/null >/dev/null 2>&1 &
holder=$!
sleep 1
t_upgrade=$(msi /i "$pkg")
new_agent=$(agents)
check "the slow process held the event when it was signalled" wait "$holder"
check "the upgrade replaces the older product" [ "$(products)" = "$version" ]
check "the upgrade replaces the files" [ "$(sums)" = "$new_files" ]
check "the upgrade ends the old agent and starts one new agent" one_new_agent

msi /x "$pkg" REMOVEUSERSETTINGS=1 >/dev/null
check "the full removal takes the user's settings and their empty parent keys" fully_removed

echo "installer: package $(stat -c %s "$pkg") bytes; install ${t_install} s, second install ${t_repair} s," \
    "removal ${t_remove} s, upgrade past a 5 s event holder ${t_upgrade} s"
echo "installer: $passed passed, $failed failed"
[ "$failed" = 0 ]
