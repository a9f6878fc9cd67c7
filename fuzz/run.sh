#!/bin/sh
# Builds the XML reader's fuzz target with clang (libFuzzer, AddressSanitizer, UndefinedBehavior-
# Sanitizer) and runs it for a number of executions (default 1,000,000) on one core.
#   fuzz/run.sh [executions] [extra libFuzzer options...]
# New inputs found go to fuzz-out/corpus (not committed); crashes to fuzz-out/.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out="$root/fuzz-out"
runs=${1:-1000000}
[ $# -gt 0 ] && shift
mkdir -p "$out/corpus"
qt_flags=$(pkg-config --cflags Qt6Core)
qt_libs=$(pkg-config --libs Qt6Core)
# shellcheck disable=SC2086
clang++ -std=c++20 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/src" $qt_flags \
    "$here/fuzz_simpleXml.cpp" "$root/src/platform/simpleXml.cpp" "$root/src/platform/errors.cpp" \
    "$root/src/platform/strConvert.cpp" "$root/src/platform/bigAlloc.cpp" \
    $qt_libs -o "$out/fuzz_simpleXml"
cd "$out"
exec ./fuzz_simpleXml -runs="$runs" -jobs=1 -workers=1 -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$@" "$out/corpus" "$here/corpus"
