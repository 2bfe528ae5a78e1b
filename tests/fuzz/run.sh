#!/bin/sh
# Builds one libFuzzer target with clang against the core sources and runs it.
#   tests/fuzz/run.sh [TARGET] [seconds]      (TARGET: readers by default, or any fuzz_TARGET.cpp here)
# A target's extra sources (paths from the repository root, one a line) are listed in
# fuzz_TARGET.sources beside it. Findings land in tests/fuzz/out/TARGET/ (crash-*, with the
# input); turn each into a regular test case.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
target=${1:-readers}
secs=${2:-60}
# clang with its fuzzer runtime (a clang without libclang-rt-dev cannot link -fsanitize=fuzzer)
if ! command -v clang++ >/dev/null 2>&1 || [ ! -f "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ]; then
  if [ "$(id -u)" != 0 ]; then echo "fuzz: clang is missing; run as root to install it" >&2; exit 1; fi
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang libclang-rt-dev qt6-base-dev pkg-config >/dev/null \
    || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang qt6-base-dev pkg-config
fi
out=${FUZZ_OUT:-$here/out}/$target
mkdir -p "$out/corpus"
bin=$out/fuzz_$target
extra=""
incs=""
if [ -f "$here/fuzz_$target.sources" ]; then
  for f in $(grep -v '^#' "$here/fuzz_$target.sources"); do
    extra="$extra $root/$f"
    # a program's sources include their own headers from the program's folder ("core/keyload.h")
    dir="-I$root/${f%%/*}"
    case " $incs " in *" $dir "*) ;; *) incs="$incs $dir" ;; esac
  done
fi
# The project's own code builds without a warning here too (Qt's headers come as system headers).
clang++ -std=c++20 -g -O1 -fPIC -Wall -Wextra -Werror -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/common" -I"$root/common/tests" -I"$root" $incs $(pkg-config --cflags Qt6Core | sed "s/-I/-isystem /g") \
    "$here/fuzz_$target.cpp" "$root"/common/core/*.cpp $extra \
    $(pkg-config --libs Qt6Core) -o "$bin"
# Seeds: real records, short and faulty lines, key rows, numbers.
seeds=$out/seeds
mkdir -p "$seeds"
printf '20101231 264 01 02 03 05 08 13 19 20 04\r\n20110101 001  5 06 07 08 09 10 11 12 01\r\n' >"$seeds/records"
printf ' 03 07 11 \r\n\r\n01 02 03 04 05 06 07 08 \n21 -1 00\r' >"$seeds/keys"
printf '1.5e3,  -7 ,.5\t,0e999\r\r\n\xf5\xfb\xc1' >"$seeds/items"
if [ -d "$here/seeds_$target" ]; then cp "$here/seeds_$target"/* "$seeds"/ 2>/dev/null || true; fi
cd "$out"
exec "$bin" -max_total_time="$secs" -max_len=4096 -print_final_stats=1 -artifact_prefix="$out/" "$out/corpus" "$seeds"
