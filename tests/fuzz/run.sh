#!/bin/sh
# Builds one libFuzzer target (a clang build of the core libraries in build-fuzz/) and fuzzes it.
#   tests/fuzz/run.sh [TARGET] [seconds]      (TARGET: readers by default, or any fuzz_TARGET.cpp here)
# Findings land in tests/fuzz/out/TARGET/ (crash-*, with the input); turn each into a regular test
# case, or keep the input in seeds_TARGET/, which every test run replays.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
target=${1:-readers}
secs=${2:-60}
"$root/scripts/fuzz-build.sh" "$root/build-fuzz" "fuzz_$target"
out=${FUZZ_OUT:-$here/out}/$target
mkdir -p "$out/corpus"
seeds="$here/seeds"
if [ -d "$here/seeds_$target" ]; then seeds="$seeds $here/seeds_$target"; fi
cd "$out"
# shellcheck disable=SC2086
exec "$root/build-fuzz/fuzz/fuzz_$target" -max_total_time="$secs" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$out/" "$out/corpus" $seeds
