#!/usr/bin/env bash
# Sets up, builds and runs every test, phase by phase: the normal build and its tests, the fuzz
# targets briefly, the plain twins of the vector code, the aarch64 syntax check (beside the later
# phases) and every test again with AddressSanitizer, UndefinedBehaviorSanitizer and the
# assertions. Window tests run on the offscreen platform. A failing phase does not stop the later
# ones: each is summed up at the end, and the command ends non-zero when any failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/main-options.sh"
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
summary=()
failed=0

# phase NAME COMMAND...: runs one phase and notes its result and time. Exit status 3 means
# "skipped" (what the phase needs is missing; the command says what).
phase() {
  local name=$1 start rc=0
  shift
  echo "test: == $name"
  start=$(date +%s)
  "$@" || rc=$?
  note "$name" "$rc" $(($(date +%s) - start))
}
note() {
  local result=ok
  case $2 in
    0) ;;
    3) result="skipped" ;;
    *) result="FAILED (exit $2)"; failed=1 ;;
  esac
  summary+=("$(printf '%-10s %-18s %5d s' "$1" "$result" "$3")")
}

phase setup "$root/scripts/setup.sh"
# The normal build carries the benchmarks (build/bench) and is configured as scripts/run.sh
# configures it, so that neither rebuilds after the other. Any compiler warning in the project's
# own code fails a build.
phase build "$root/scripts/build.sh" "$root/build" "${main_options[@]}"
phase tests ctest --test-dir "$root/build" --output-on-failure -j"$jobs"

# The aarch64 syntax check needs only the normal build's compile commands: it runs on two cores
# beside the phases below, and its output is shown at the end.
cross_log=$(mktemp)
cross_start=$(date +%s)
"$root/scripts/cross-check.sh" "$root/build" 2 >"$cross_log" 2>&1 &
cross_pid=$!

# The fuzz targets, built by clang over the core libraries, each run briefly from a fixed seed.
fuzz() {
  local rc=0
  "$root/scripts/fuzz-build.sh" "$root/build-fuzz" || rc=$?
  [ "$rc" = 0 ] || return "$rc"
  ctest --test-dir "$root/build-fuzz" -L fuzz --output-on-failure -j"$jobs"
}
phase fuzz fuzz

# The plain twins of the vector code (what other processors run), with the tests of the code
# that has them.
scalar() {
  "$root/scripts/build.sh" "$root/build-scalar" -DDIZOV_SCALAR=ON -DDIZOV_BENCH=OFF -DDIZOV_WERROR=ON -- \
    common_tests drawstat_tests &&
    ctest --test-dir "$root/build-scalar" -R '^(common_tests|drawstat_tests)\.' --output-on-failure -j"$jobs"
}
phase scalar scalar

# The sanitizer build also compiles the assertions (DIZOV_ASSERT follows DIZOV_SANITIZE).
asan() {
  "$root/scripts/build.sh" "$root/build-asan" -DDIZOV_SANITIZE=ON -DDIZOV_ASSERT=ON -DDIZOV_BENCH=OFF \
    -DDIZOV_WERROR=ON &&
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp" \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      ctest --test-dir "$root/build-asan" --output-on-failure -j"$jobs"
}
phase sanitizers asan

rc=0
wait "$cross_pid" || rc=$?
echo "test: == cross (aarch64)"
cat "$cross_log"
rm -f "$cross_log"
note cross "$rc" $(($(date +%s) - cross_start))

echo "test: summary"
for line in "${summary[@]}"; do echo "test:   $line"; done
if [ "$failed" != 0 ]; then
  echo "test: FAILED" >&2
  exit 1
fi
echo "test: all phases passed"
