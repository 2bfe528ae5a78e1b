#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a normal build and once with AddressSanitizer and
# UndefinedBehaviorSanitizer, and the fuzz targets briefly. Window tests run on the offscreen platform.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
# The normal build carries the benchmarks (build/bench), whatever an earlier configure chose.
# Any compiler warning in the project's own code fails the run.
"$root/scripts/build.sh" "$root/build" -DDIZOV_BENCH=ON -DDIZOV_WERROR=ON
ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)"
# The fuzz targets, built by clang over the core libraries, each run briefly from a fixed seed.
status=0
"$root/scripts/fuzz-build.sh" "$root/build-fuzz" || status=$?
if [ "$status" = 0 ]; then
  ctest --test-dir "$root/build-fuzz" -L fuzz --output-on-failure -j"$(nproc)"
elif [ "$status" = 3 ]; then
  echo "test: the fuzz targets are not built: clang's fuzzer runtime is missing" >&2
else
  exit "$status"
fi
# The plain twins of the vector scans (what other processors run), with the shared layer's tests.
"$root/scripts/build.sh" "$root/build-scalar" -DDIZOV_SCALAR=ON -DDIZOV_BENCH=OFF -DDIZOV_WERROR=ON -- common_tests
ctest --test-dir "$root/build-scalar" -R '^common_tests\.' --output-on-failure -j"$(nproc)"
"$root/scripts/build.sh" "$root/build-asan" -DDIZOV_SANITIZE=ON -DDIZOV_BENCH=OFF -DDIZOV_WERROR=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure -j"$(nproc)"
