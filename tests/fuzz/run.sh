#!/bin/sh
# Builds the reader fuzz target with clang and libFuzzer against the core sources and runs it.
#   tests/fuzz/run.sh [seconds]      (default 60)
# Findings land in tests/fuzz/out/ (crash-*, with the input); turn each into a test case.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
secs=${1:-60}
out=${FUZZ_OUT:-$here/out}
mkdir -p "$out/corpus"
bin=$out/fuzz_readers
core=$root/common/core
clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/common" -I"$root/common/tests" $(pkg-config --cflags Qt6Core) \
    "$here/fuzz_readers.cpp" "$core/textfmt.cpp" "$core/cp1250.cpp" "$core/textfile.cpp" \
    "$core/draws.cpp" "$core/keyfile.cpp" "$core/synth.cpp" "$core/random.cpp" \
    $(pkg-config --libs Qt6Core) -o "$bin"
# Seeds: real records, short and faulty lines, key rows, numbers.
seeds=$out/seeds
mkdir -p "$seeds"
printf '20101231 264 01 02 03 05 08 13 19 20 04\r\n20110101 001  5 06 07 08 09 10 11 12 01\r\n' >"$seeds/records"
printf ' 03 07 11 \r\n\r\n01 02 03 04 05 06 07 08 \n21 -1 00\r' >"$seeds/keys"
printf '1.5e3,  -7 ,.5\t,0e999\r\r\n\xf5\xfb\xc1' >"$seeds/items"
cd "$out"
exec "$bin" -max_total_time="$secs" -max_len=4096 -print_final_stats=1 -artifact_prefix="$out/" "$out/corpus" "$seeds"
