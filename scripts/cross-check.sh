#!/usr/bin/env bash
# Compiles every source of the programs (not the tests, benchmarks or fuzz targets) for aarch64 with
# -fsyntax-only, once as the default build and once with DIZOV_SCALAR, with the flags and the Qt
# headers of a configured host build: cross-check.sh BUILD [JOBS]
# Needs the cross compiler aarch64-linux-gnu-g++ (the set-up installs it): exits 3 where it is
# missing, 1 when any file fails (its errors are printed), 0 when all pass.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd -P)
build=$(cd "$1" && pwd -P)
jobs=${2:-2}
cxx=aarch64-linux-gnu-g++
command -v "$cxx" >/dev/null 2>&1 || { echo "cross: $cxx is missing" >&2; exit 3; }
db=$build/compile_commands.json
[ -f "$db" ] || { echo "cross: $db is missing (configure $build first)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# One response file a source: the host's flags without its compiler, output and sanitizers.
cat >"$work/args.cmake" <<'EOF'
file(READ "${DB}" db)
string(JSON n LENGTH "${db}")
math(EXPR last "${n} - 1")
set(count 0)
foreach(i RANGE ${last})
  string(JSON src GET "${db}" ${i} file)
  string(JSON cmd GET "${db}" ${i} command)
  file(RELATIVE_PATH rel "${ROOT}" "${src}")
  if(rel MATCHES "^\\.\\./|^build|^bench/|^tests/|/tests/")
    continue()
  endif()
  separate_arguments(args UNIX_COMMAND "${cmd}")
  set(keep "")
  set(skip FALSE)
  set(seen_compiler FALSE)
  foreach(a IN LISTS args)
    if(skip)
      set(skip FALSE)
    elseif(NOT seen_compiler)
      if(NOT a MATCHES "ccache$")
        set(seen_compiler TRUE)
      endif()
    elseif(a STREQUAL "-o")
      set(skip TRUE)
    elseif(a STREQUAL "-c" OR a STREQUAL "${src}" OR a MATCHES "^-fsanitize" OR a MATCHES "^-march=|^-mtune=")
    else()
      string(REPLACE "\\" "\\\\" a "${a}")
      string(REPLACE "\"" "\\\"" a "${a}")
      string(APPEND keep "\"${a}\"\n")
    endif()
  endforeach()
  string(MAKE_C_IDENTIFIER "${rel}" name)
  file(WRITE "${OUT}/${name}.rsp" "${keep}")
  file(WRITE "${OUT}/${name}.src" "${src}")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "no sources of the programs in ${DB}")
endif()
EOF
cmake -DDB="$db" -DROOT="$root" -DOUT="$work" -P "$work/args.cmake"
# One check: the source, the variant ("default" or "scalar"); its errors land in a log of its own.
check() {
  local rsp=$1 variant=$2 src extra=()
  src=$(cat "${rsp%.rsp}.src")
  [ "$variant" = scalar ] && extra=(-DDIZOV_SCALAR)
  # The cross compiler's own headers first; the host's /usr/include only for what it lacks
  # (GL, the print system): Qt's headers come from the host's paths in the flags.
  if ! "$cxx" @"$rsp" "${extra[@]}" -idirafter /usr/include -fsyntax-only "$src" >"${rsp%.rsp}.$variant.log" 2>&1; then
    echo "${src#"$root"/} ($variant)" >>"$work/failed"
  fi
}
export -f check
export cxx root work
ls "$work"/*.rsp | sed 's/$/ default/; p; s/ default$/ scalar/' | xargs -P "$jobs" -n 2 bash -c 'check "$0" "$1"'
total=$(($(ls "$work"/*.rsp | wc -l) * 2))
if [ -s "$work/failed" ]; then
  for log in "$work"/*.log; do
    [ -s "$log" ] && head -n 20 "$log"
  done
  echo "cross: $(wc -l <"$work/failed") of $total checks failed for aarch64:"
  sed 's/^/  /' "$work/failed"
  exit 1
fi
echo "cross: all $total checks passed for aarch64 (default and DIZOV_SCALAR)"
