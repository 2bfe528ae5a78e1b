#!/bin/sh
# Configures a clang build with the fuzz targets and builds them: fuzz-build.sh DIR [TARGET]
# (TARGET: one fuzz_NAME, or dizov_fuzz for all). Installs clang and its fuzzer runtime where they
# are missing and it runs as root; exits 3 when they are missing and cannot be installed.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
target=${2:-dizov_fuzz}
# a clang without libclang-rt-dev cannot link -fsanitize=fuzzer
has_fuzzer() {
  command -v clang++ >/dev/null 2>&1 && [ -f "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ]
}
if ! has_fuzzer; then
  if [ "$(id -u)" != 0 ]; then echo "fuzz: clang with its fuzzer runtime is missing; run as root to install it" >&2; exit 3; fi
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang libclang-rt-dev >/dev/null \
    || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang >/dev/null || true
  has_fuzzer || { echo "fuzz: clang's fuzzer runtime cannot be installed here" >&2; exit 3; }
fi
CXX=clang++ "$root/scripts/build.sh" "$dir" -DDIZOV_FUZZ=ON -DDIZOV_BENCH=OFF -DDIZOV_WERROR=ON -- "$target"
