#!/bin/sh
# Builds the agent's installation package with msitools' wixl from the Release
# tree: NyAgent.exe, its set-up helper and the status query NyStatus.exe, versioned from the version record.
#   scripts/package.sh [build-root]     (default: ./build; writes build-root/NyAgent.msi)
# NY_PACKAGE_VERSION=a.b.c.d packages under another version, NY_PACKAGE_OUT=file
# writes elsewhere, NY_PACKAGE_TREE=dir takes another Release tree than
# build-root/win-release (the installer test runs in the Release tree).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
tree=${NY_PACKAGE_TREE:-$root/win-release}
out=${NY_PACKAGE_OUT:-$root/NyAgent.msi}

"$top/scripts/deps.sh"

# The programs' own version (both version records take it from the agent's).
file_version=$(sed -n 's/^FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*$/\1.\2.\3.\4/p' \
    "$top/resources/version.rc")
version=${NY_PACKAGE_VERSION:-$file_version}
if ! echo "$version" | grep -Eq '^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$'; then
    echo "package.sh: no version a.b.c.d (got \"$version\")" >&2
    exit 1
fi

next_build=$(echo "$version" | awk -F. '{ printf "%d.%d.%d.0", $1, $2, $3 + 1 }')
revision=${version##*.}

# A tree already configured reconfigures itself when it builds (the installer
# test builds the tree it runs in).
[ -f "$tree/CMakeCache.txt" ] || cmake -S "$top" -B "$tree" \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$tree" -j 2 --target NyAgent NyAgentSetup NyStatus

# The programs go in without their symbol tables.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
x86_64-w64-mingw32-strip -o "$stage/NyAgent.exe" "$tree/NyAgent.exe"
x86_64-w64-mingw32-strip -o "$stage/NyAgentSetup.exe" "$tree/installer/NyAgentSetup.exe"
x86_64-w64-mingw32-strip -o "$stage/NyStatus.exe" "$tree/NyStatus.exe"
cp "$top/resources/icons/128_agent.ico" "$stage/NyAgent.ico"
size_kb=$(du -k -c "$stage/NyAgent.exe" "$stage/NyAgentSetup.exe" "$stage/NyStatus.exe" | sed -n 's/\ttotal$//p')

mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
(cd "$stage" && wixl -a x64 -D Version="$version" -D Revision="$revision" -D NextBuild="$next_build" \
    -D SizeKb="$size_kb" -o "$out" "$top/installer/NyAgent.wxs")

# What wixl 0.101 cannot write is set in its tables afterwards: a table is
# exported, each row passed through an awk program, and imported again.
retable() {
    msiinfo export "$out" "$1" >"$stage/$1.idt"
    awk -F'\t' -v version="$file_version" 'BEGIN { OFS = "\t" } NR <= 3 { print; next } '"$2"' { print }' \
        "$stage/$1.idt" >"$stage/$1.new"
    mv "$stage/$1.new" "$stage/$1.idt"
    (cd "$stage" && msibuild "$out" -i "$1.idt")
}
# An action can run a program only as an installed file (type 18), and
# Execute="rollback" is dropped. The helper's actions name the file
# NyAgentSetup.exe: they run the Binary row of the same name (type 2)
# instead, keeping their other flags; the rollback action gets its flags (in
# the script 1024, on rollback 256).
retable CustomAction '$3 == "NyAgentSetup.exe" && $2 % 64 == 18 { $2 -= 16 }
    $1 == "StartAgentOnRollback" && int($2 / 1024) % 2 == 0 { $2 += 1280 }'
# A component's condition: the machine's metrics folder is recorded only when given.
retable Component '$1 == "MetricsDirectory" { $5 = "METRICSDIR" }'
# The File table gives the programs the version their records carry, and a
# versioned file has no hash.
retable File '{ $5 = version }'
retable MsiFileHash 'NR > 3 { next }'
echo "package.sh: $out (version $version)"
