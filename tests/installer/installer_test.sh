#!/bin/sh
# The installation package under Wine's msiexec in a fresh prefix: installs, upgrades, repairs and
# removals in the default folder and in another one, an upgrade that fails because an agent does
# not end, a removal without the installed helper, the refusal of older packages, no start with
# STARTAGENT=0, and at the end no file or key of the package left behind.
#   tests/installer/installer_test.sh [release-tree]     (default: build/win-release)
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
tree=$(cd "${1:-$top/build/win-release}" && pwd)
work=$tree/installer-test
mkdir -p "$work"
package() { # version file: a package of the agent under that version
    NY_PACKAGE_TREE=$tree NY_PACKAGE_VERSION=$1 NY_PACKAGE_OUT=$2 "$top/scripts/package.sh" >/dev/null
}
pkg=$work/NyAgent.msi
version=$(NY_PACKAGE_TREE=$tree NY_PACKAGE_OUT=$pkg "$top/scripts/package.sh" | sed -n 's/.*(version \(.*\))$/\1/p')
newer=$(echo "$version" | awk -F. '{ printf "%d.%d.%d.%d", $1, $2, $3, $4 + 1 }') # the same a.b.c
package "$newer" "$work/newer.msi"
package 0.9.0.0 "$work/old.msi"
x86_64-w64-mingw32-g++-posix -Wall -Wextra -Werror -static -o "$work/holder.exe" \
    "$top/tests/installer/event_holder.cpp"
export WINEPREFIX=$work/prefix WINEDEBUG=-all
unset DISPLAY
rm -rf "$WINEPREFIX"
"$top/scripts/wine-prefix.sh" start "$WINEPREFIX"
trap '"$top/scripts/wine-prefix.sh" stop "$WINEPREFIX"' EXIT

company="$WINEPREFIX/drive_c/Program Files/Tessel"
dir=$company/NyAgent
other="$WINEPREFIX/drive_c/Photo Agent"
otherdir='C:\Photo Agent\'
run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
settings='HKCU\Software\Tessel\Tessel Photo\NyAgent'
passed=0 failed=0
check() {
    if eval "$2"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $1 (installed: $(products | tr '\n' ' ')agents: $(agents | wc -l))"
    fi
}
msi() { # msiexec's exit code, cut to 8 bits by Wine
    wine msiexec "$@" /qn </dev/null >/dev/null 2>&1 && echo 0 || echo $?
}
code() { echo $(($1 % 256)); } # an exit code as msi() reports it
agents() { # the live agents of this prefix (other prefixes run their own), once any that found
    sleep 2  # the event signalled has ended
    for p in $(pgrep -f -i 'nyagent\.exe'); do
        grep -qz "^WINEPREFIX=$WINEPREFIX\$" "/proc/$p/environ" && [ "$(ps -o stat= -p "$p")" != Z ] && echo "$p"
    done 2>/dev/null || true
}
reg_value() { # a value's data as reg query prints it
    wine reg query "$1" /v "$2" </dev/null 2>/dev/null | sed -n "s/^ *$2 *REG_[A-Z_]* *//p" | tr -d '\r'
}
machine='HKLM\Software\Tessel\Tessel Photo\NyAgent'
event_source='HKLM\System\CurrentControlSet\Services\EventLog\Application\NyAgent'
has_key() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
run_value() { wine reg query "$run" /v NyAgent </dev/null 2>/dev/null | sed -n 's/^ *NyAgent *REG_SZ *//p' | tr -d '\r'; }
uninstall_keys() { # what Programs and Features lists of the agent, one "name value" a line
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s </dev/null | tr -d '\r' |
        awk '/^HKEY/ { ours = 0 } /DisplayName.*Tessel Photo Agent/ { ours = 1 }
             ours && / REG_/ { name = $1; sub(/^ *[^ ]+ +REG_[A-Z_]+ */, ""); print name, $0 }'
}
products() { uninstall_keys | sed -n 's/^DisplayVersion //p'; } # the version of every installed package
arp() { uninstall_keys | sed -n "s/^$1 //p"; }
sums() { (cd "$1" && md5sum NyAgent.exe NyAgentSetup.exe NyStatus.exe); }
file_table() { msiinfo export "$1" File | tr -d '\r' | awk -F '\t' 'NR > 3 { print $3, $5 }' | sort; }
file_versions() { # each program and the file version its version record gives
    for f in NyAgent.exe NyAgentSetup.exe NyStatus.exe; do
        echo "$f $(strings -el "$1/$f" | grep -A1 -x FileVersion | sed -n '2s/, /./gp')"
    done
}
status_query() { # NyStatus's exit code once the agent serves its pipe (5: no agent), 10 s at most
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        rc=0
        wine "$dir/NyStatus.exe" --json </dev/null >/dev/null 2>&1 || rc=$?
        [ "$rc" != 5 ] && break
        sleep 1
    done
    echo "$rc"
}
tmp_files() { find "$WINEPREFIX/drive_c" -iname 'msi*.tmp'; }
removed='[ ! -e "$company" ] && [ ! -e "$other" ] && [ -z "$(run_value)" ] && [ -z "$(products)" ]'
# The prefix as the package must leave it: every file, and every key and value of both hives.
snapshot() {
    (cd "$WINEPREFIX/drive_c" && find . | grep -v -i -e '^./windows/temp/' -e '^./users/[^/]*/temp/' | sort)
    for hive in HKLM HKCU; do
        wine reg export "$hive" "C:\\windows\\temp\\$hive.reg" /y </dev/null >/dev/null 2>&1
        iconv -f UTF-16LE -t UTF-8 "$WINEPREFIX/drive_c/windows/temp/$hive.reg" | tr -d '\r' | grep -v '^$'
    done
}
snapshot >"$work/before.txt"

# The default folder: install, the same package again, repair, removal without the installed helper.
# Wine's msiexec knows no /fa: the repair is asked for with the properties /fa sets.
check "the install returns 0" '[ "$(msi /i "$pkg")" = 0 ]'
check "the Run value holds the quoted path" '[ "$(run_value)" = "\"C:\\Program Files\\Tessel\\NyAgent\\NyAgent.exe\"" ]'
check "the files are in place" '[ -f "$dir/NyAgent.exe" ] && [ -f "$dir/NyAgentSetup.exe" ] && [ -f "$dir/NyStatus.exe" ]'
check "one agent runs after the install" '[ "$(agents | wc -l)" = 1 ]'
check "the agent's event source is registered with its message table" \
    '[ "$(reg_value "$event_source" EventMessageFile)" = "C:\\Program Files\\Tessel\\NyAgent\\NyAgent.exe" ] &&
     [ "$(reg_value "$event_source" TypesSupported)" = 0x7 ] && [ -z "$(reg_value "$machine" MetricsDirectory)" ]'
check "the installed status query reaches it" '[ "$(status_query)" != 5 ]'
check "Programs and Features shows the version, folder, links, size and icon, and no Change" \
    '[ "$(products)" = "$version" ] && [ "$(arp InstallLocation)" = "C:\\Program Files\\Tessel\\NyAgent\\" ] &&
     [ -n "$(arp HelpLink)" ] && [ -n "$(arp URLInfoAbout)" ] && [ "$(arp NoModify)" = 0x1 ] &&
     [ "$(arp Size)" -gt 0 ] && ls "$WINEPREFIX"/drive_c/windows/Installer/*/NyAgent.ico >/dev/null'
new_files=$(sums "$dir")
check "every program carries a version record, and the package's File table gives its version" \
    '[ "$(file_table "$pkg")" = "$(file_versions "$dir")" ] &&
     [ "$(file_versions "$dir" | awk "NF == 2" | wc -l)" = 3 ]'
check "the same package again keeps one product and one agent" \
    '[ "$(msi /i "$pkg")" = 0 ] && [ "$(products)" = "$version" ] && [ "$(agents | wc -l)" = 1 ]'
old_agent=$(agents)
echo damaged >"$dir/NyAgentSetup.exe"
check "a repair with the agent running returns 0, restores the files and starts one agent again" \
    '[ "$(msi /i "$pkg" REINSTALL=ALL REINSTALLMODE=a)" = 0 ] && [ "$(sums "$dir")" = "$new_files" ] &&
     [ "$(agents | wc -l)" = 1 ] && [ "$(agents)" != "$old_agent" ]'
check "the repair leaves no temporary file" '[ -z "$(tmp_files)" ]'
# The user turned a switch off: the agent stores only what the user changed.
wine reg add "$settings" /v OpenOnError /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
rm "$dir/NyAgentSetup.exe"
check "a removal without the installed helper returns 0" '[ "$(msi /x "$pkg")" = 0 ]'
check "the removal ends the agent" '[ -z "$(agents)" ]'
check "the removal leaves no file, Run value or product" "$removed"
check "the removal keeps the user's settings" 'has_key "$settings"'

# Another folder, given once: upgrades and the removal find it without it.
check "an install into another folder with a metrics folder returns 0 and records it" \
    '[ "$(msi /i "$work/old.msi" INSTALLDIR="$otherdir" METRICSDIR="C:\\metrics")" = 0 ] &&
     [ "$(reg_value "$machine" MetricsDirectory)" = "C:\\metrics" ]'
check "the other folder holds the files and the Run value points there" \
    '[ -f "$other/NyAgent.exe" ] && [ ! -e "$company" ] && [ "$(run_value)" = "\"C:\\Photo Agent\\NyAgent.exe\"" ]'
check "Programs and Features shows the other folder" '[ "$(arp InstallLocation)" = "$otherdir" ]'
old_agent=$(agents)
check "an upgrade given the folder again returns 0 and replaces the agent" \
    '[ "$(msi /i "$pkg" INSTALLDIR="$otherdir")" = 0 ] && [ "$(agents | wc -l)" = 1 ] &&
     [ "$(agents)" != "$old_agent" ] && [ "$(sums "$other")" = "$new_files" ]'
check "an upgrade of the same a.b.c with a higher fourth field, given neither folder, keeps both" \
    '[ "$(msi /i "$work/newer.msi")" = 0 ] && [ "$(products)" = "$newer" ] && [ -f "$other/NyAgent.exe" ] &&
     [ ! -e "$company" ] && [ "$(agents | wc -l)" = 1 ] && [ "$(reg_value "$machine" MetricsDirectory)" = "C:\\metrics" ]'
check "the removal, not given the folder, removes it and ends the agent" \
    '[ "$(msi /x "$work/newer.msi")" = 0 ] && [ -z "$(agents)" ] && '"$removed"' &&
     ! has_key "$event_source" && [ -z "$(reg_value "$machine" MetricsDirectory)" ]'

# An upgrade while an agent runs and a slow process holds the destruction event: 5 s is waited
# for; past 30 s the upgrade fails and leaves the older version and one agent running.
for hold in 5000 32000; do
    msi /i "$work/old.msi" >/dev/null
    old_agent=$(agents)
    for f in "$dir"/*.exe; do echo older >>"$f"; done # the older package's files differ
    old_files=$(sums "$dir")
    wine "$work/holder.exe" $hold </dev/null >/dev/null 2>&1 &
    holder=$!
    sleep 1
    result=$(msi /i "$pkg")
    check "the slow process held the event for $hold ms after it was signalled" 'wait "$holder"'
    new_agent=$(agents)
    if [ $hold = 5000 ]; then
        check "the upgrade returns 0 and replaces the older product and its files" \
            '[ "$result" = 0 ] && [ "$(products)" = "$version" ] && [ "$(sums "$dir")" = "$new_files" ]'
        check "the upgrade ends the old agent and starts one new agent" \
            '[ -n "$old_agent" ] && [ "$(echo "$new_agent" | wc -w)" = 1 ] && [ "$new_agent" != "$old_agent" ]'
        msi /x "$pkg" >/dev/null
    else
        # Windows Installer reports the failed action as 1603, Wine's as 1627.
        check "the upgrade fails and leaves the older product and its files" \
            '{ [ "$result" = "$(code 1603)" ] || [ "$result" = "$(code 1627)" ]; } &&
             [ "$(products)" = 0.9.0.0 ] && [ "$(sums "$dir")" = "$old_files" ]'
        check "the failed upgrade starts one agent again" \
            '[ "$(echo "$new_agent" | wc -w)" = 1 ] && [ "$new_agent" != "$old_agent" ]'
    fi
done

# Older packages are refused, also one that differs only in the fourth field.
msi /i "$work/newer.msi" STARTAGENT=0 >/dev/null
check "STARTAGENT=0 installs without starting an agent" '[ "$(products)" = "$newer" ] && [ -z "$(agents)" ]'
for older in "$pkg" "$work/old.msi"; do
    check "$(basename "$older") over $newer is refused" \
        '[ "$(msi /i "$older")" = "$(code 1603)" ] && [ "$(products)" = "$newer" ]'
done

check "the full removal also takes the user's settings and their empty parents" \
    '[ "$(msi /x "$work/newer.msi" REMOVEUSERSETTINGS=1)" = 0 ] && '"$removed"' &&
     ! has_key "$settings" && ! has_key "HKCU\\Software\\Tessel"'
snapshot >"$work/after.txt"
# Of the difference, what is the package's: any file but the installer's own empty folder, and any
# key or value that names the product or the package's codes, plain or packed as the installer
# writes them (each part reversed, the last eight bytes digit by digit).
packed() {
    echo "$1" | tr -d '{}-' | awk '{ for (i = 8; i; i--) printf "%s", substr($0, i, 1)
        for (i = 12; i > 8; i--) printf "%s", substr($0, i, 1)
        for (i = 16; i > 12; i--) printf "%s", substr($0, i, 1)
        for (i = 17; i < 33; i += 2) printf "%s%s", substr($0, i + 1, 1), substr($0, i, 1); print "" }'
}
ours='tessel|nyagent|photo agent'
for m in "$pkg" "$work/newer.msi" "$work/old.msi"; do
    for c in $(msiinfo export "$m" Property | tr -d '\r' | sed -n 's/^\(ProductCode\|UpgradeCode\)\t{\(.*\)}$/\2/p'); do
        ours="$ours|$c|$(packed "$c")"
    done
done
diff "$work/before.txt" "$work/after.txt" | grep '^[<>]' | grep -v -x '> ./windows/Installer' |
    grep -i -E "^[<>] \./|$ours" >"$work/left.txt" || true
tmp_files >>"$work/left.txt"
check "nothing of the package is left in the prefix's files or registry" '[ ! -s "$work/left.txt" ]'
cat "$work/left.txt"

echo "installer: $passed passed, $failed failed"
[ "$failed" = 0 ]
