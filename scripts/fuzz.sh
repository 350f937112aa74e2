#!/bin/sh
# Builds the libFuzzer targets with clang, under AddressSanitizer and
# UndefinedBehaviorSanitizer, in a tree of their own, and runs the PJL reply
# target, then the status request target, each for the given time. The corpus it grows is kept in the tree, so a
# later run goes on from there. Fails when the target finds a crash.
#   scripts/fuzz.sh [seconds] [build-dir]     (defaults: 300, ./build/fuzz)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
root=${2:-$top/build/fuzz}

"$top/scripts/deps.sh"

cmake -S "$top" -B "$root" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DNY_SANITIZE=ON -DNY_FUZZ=ON >/dev/null
cmake --build "$root" -j 2 --target pjl_reply_fuzz status_request_fuzz

corpus=$root/corpus/pjl_reply
mkdir -p "$corpus"
"$root/tests/fuzz/pjl_reply_fuzz" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
    -dict="$top/tests/fuzz/pjl_reply.dict" -artifact_prefix="$root/" "$corpus" "$top/tests/fuzz/pjl_reply_seeds"

corpus=$root/corpus/status_request
mkdir -p "$corpus"
"$root/tests/fuzz/status_request_fuzz" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
    -artifact_prefix="$root/" "$corpus" "$top/tests/fuzz/status_request_seeds"
