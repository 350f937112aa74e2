#!/bin/sh
# The installation package under Wine's msiexec in a fresh prefix: install, the same package again,
# removal, an upgrade from an older version while an agent runs and a slow process holds the
# destruction event, a full removal.   tests/installer/installer_test.sh [build-root]
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
root=${1:-$top/build}
work=$root/win-release/installer-test
pkg=$work/NyAgent.msi
version=$(NY_PACKAGE_OUT=$pkg "$top/scripts/package.sh" "$root" | sed -n 's/.*(version \(.*\))$/\1/p')
NY_PACKAGE_VERSION=0.9.0.0 NY_PACKAGE_OUT=$work/old.msi "$top/scripts/package.sh" "$root" >/dev/null
x86_64-w64-mingw32-g++-posix -Wall -Wextra -Werror -static -o "$work/holder.exe" "$top/tests/installer/event_holder.cpp"
export WINEPREFIX=$work/prefix WINEDEBUG=-all
unset DISPLAY
rm -rf "$WINEPREFIX"
"$top/scripts/wine-prefix.sh" start "$WINEPREFIX"
trap '"$top/scripts/wine-prefix.sh" stop "$WINEPREFIX"' EXIT

company="$WINEPREFIX/drive_c/Program Files/Tessel"
dir=$company/NyAgent
run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
settings='HKCU\Software\Tessel\Tessel Photo\NyAgent'
passed=0 failed=0
check() { if eval "$2"; then passed=$((passed + 1)); else failed=$((failed + 1)) && echo "FAILED: $1"; fi; }
msi() { wine msiexec "$@" /qn </dev/null >/dev/null 2>&1 || echo "msiexec $* returned $?" >&2; }
agents() { # the live agents of this prefix (other prefixes run their own), once any that found
    sleep 2  # the event signalled has ended
    for p in $(pgrep -f -i 'nyagent\.exe'); do
        grep -qz "^WINEPREFIX=$WINEPREFIX\$" "/proc/$p/environ" && [ "$(ps -o stat= -p "$p")" != Z ] && echo "$p"
    done 2>/dev/null || true
}
has_key() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
run_value() { wine reg query "$run" /v NyAgent </dev/null 2>/dev/null | sed -n 's/^ *NyAgent *REG_SZ *//p' | tr -d '\r'; }
products() { # the version of every installed package of the agent
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s </dev/null | tr -d '\r' |
        awk '/^HKEY/ { ours = 0 } /DisplayName.*Tessel Photo Agent/ { ours = 1 } /DisplayVersion/ && ours { print $3 }'
}
sums() { (cd "$dir" && md5sum NyAgent.exe NyAgentSetup.exe); }
removed='[ ! -e "$company" ] && [ -z "$(run_value)" ] && [ -z "$(products)" ]'

msi /i "$pkg"
check "the Run value holds the quoted path" '[ "$(run_value)" = "\"C:\\Program Files\\Tessel\\NyAgent\\NyAgent.exe\"" ]'
check "the files are in place" '[ -f "$dir/NyAgent.exe" ] && [ -f "$dir/NyAgentSetup.exe" ]'
check "one agent runs after the install" '[ "$(agents | wc -l)" = 1 ]'
new_files=$(sums)

msi /i "$pkg"
check "the same package again keeps one product and one agent" \
    '[ "$(products)" = "$version" ] && [ "$(agents | wc -l)" = 1 ]'

# The user turned a switch off: the agent stores only what the user changed.
wine reg add "$settings" /v OpenOnError /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
msi /x "$pkg"
check "the removal ends the agent" '[ -z "$(agents)" ]'
check "the removal leaves no file, Run value or product" "$removed"
check "the removal keeps the user's settings" 'has_key "$settings"'

msi /i "$work/old.msi"
old_agent=$(agents)
for f in "$dir"/*.exe; do echo older >>"$f"; done # the older package's files differ
wine "$work/holder.exe" 5000 </dev/null >/dev/null 2>&1 &
holder=$!
sleep 1
msi /i "$pkg"
new_agent=$(agents)
check "the slow process held the event when it was signalled" 'wait "$holder"'
check "the upgrade replaces the older product and its files" '[ "$(products)" = "$version" ] && [ "$(sums)" = "$new_files" ]'
check "the upgrade ends the old agent and starts one new agent" \
    '[ -n "$old_agent" ] && [ "$(echo "$new_agent" | wc -w)" = 1 ] && [ "$new_agent" != "$old_agent" ]'

msi /x "$pkg" REMOVEUSERSETTINGS=1
check "the full removal also takes the user's settings and their empty parents" \
    "$removed"' && ! has_key "$settings" && ! has_key "HKCU\\Software\\Tessel"'

echo "installer: $passed passed, $failed failed"
[ "$failed" = 0 ]
