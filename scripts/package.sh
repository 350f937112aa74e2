#!/bin/sh
# Builds the agent's installation package with msitools' wixl from the Release
# tree: NyAgent.exe and its set-up helper, versioned from the version record.
#   scripts/package.sh [build-root]     (default: ./build; writes build-root/NyAgent.msi)
# NY_PACKAGE_VERSION=a.b.c.d packages under another version, NY_PACKAGE_OUT=file
# writes elsewhere (the installer test makes an older package so).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
tree=$root/win-release
out=${NY_PACKAGE_OUT:-$root/NyAgent.msi}

"$top/scripts/deps.sh"

version=${NY_PACKAGE_VERSION:-$(sed -n \
    's/^FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*$/\1.\2.\3.\4/p' \
    "$top/resources/version.rc")}
if ! echo "$version" | grep -Eq '^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$'; then
    echo "package.sh: no version a.b.c.d (got \"$version\")" >&2
    exit 1
fi

next_build=$(echo "$version" | awk -F. '{ printf "%d.%d.%d.0", $1, $2, $3 + 1 }')

cmake -S "$top" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$tree" -j 2 --target NyAgent NyAgentSetup

# The programs go in without their symbol tables.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
x86_64-w64-mingw32-strip -o "$stage/NyAgent.exe" "$tree/NyAgent.exe"
x86_64-w64-mingw32-strip -o "$stage/NyAgentSetup.exe" "$tree/installer/NyAgentSetup.exe"

mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
(cd "$stage" && wixl -a x64 -D Version="$version" -D NextBuild="$next_build" -o "$out" "$top/installer/NyAgent.wxs")
echo "package.sh: $out (version $version)"
