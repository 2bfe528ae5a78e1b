#!/usr/bin/env bash
# Configures and builds one build folder: build.sh DIR [cmake options...] [-- targets...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
opts=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do opts+=("$1"); shift; done
[ $# -gt 0 ] && shift
targets=()
for t in "$@"; do targets+=(--target "$t"); done
# RelWithDebInfo unless the options name a build type.
type=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
for o in "${opts[@]}"; do
  case $o in -DCMAKE_BUILD_TYPE=*) type=() ;; esac
done
launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# One build at a time in a folder (scripts/run.sh takes the same lock).
mkdir -p "$dir"
exec 9>"$dir/.dizov-build.lock"
flock 9
cmake -S "$root" -B "$dir" "${type[@]}" "${launcher[@]}" "${opts[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
