#!/bin/sh
# Builds and runs every test: the platform-free suite natively under
# AddressSanitizer and UndefinedBehaviorSanitizer, a short run of the fuzz
# targets, then the Win32 suite under Wine in a Debug and a Release tree; the
# Release tree's tests include the installation package under Wine's msiexec.
# Fails when any of them fails or a suite runs no test.
#   scripts/test.sh [build-root]     (default: ./build)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
jobs=$(nproc 2>/dev/null || echo 2)

"$top/scripts/deps.sh"

echo "== native suite (sanitizers)"
cmake -S "$top" -B "$root/native" -DCMAKE_BUILD_TYPE=Debug -DNY_SANITIZE=ON >/dev/null
cmake --build "$root/native" -j "$jobs"
(cd "$root/native" && ctest --no-tests=error --output-on-failure -j "$jobs")

# The PJL reply and status request fuzz targets compare the parsers with the C
# library and check each rule on arbitrary input: a short run of each.
echo "== fuzz targets (clang, 30 s each)"
"$top/scripts/fuzz.sh" 30 "$root/fuzz"

# The Windows tree is built and run twice: Debug, and Release as users get it
# (optimisation brings its own warnings, and its own timing).
for config in Debug Release; do
    echo "== Win32 suite under Wine ($config)"
    tree="$root/win"
    [ "$config" = Release ] && tree="$root/win-release"
    cmake -S "$top" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=$config >/dev/null
    cmake --build "$tree" -j "$jobs"
    (cd "$tree" && ctest --no-tests=error --output-on-failure -j "$jobs")
done
echo "== all tests passed"
