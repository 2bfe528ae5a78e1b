#!/usr/bin/env bash
# Start time and peak memory of the programs with a huge file in place of each file they read at
# start: measure-start.sh BINDIR [SIZE] (SIZE as truncate takes it, 2G by default).
# Each program runs from a fresh folder of its own on a virtual display; the time is from the start
# to its first visible window, the peak is the resident set of the whole run (/usr/bin/time -v).
# The huge file is sparse (zero bytes, no line end), so it costs no disk.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: measure-start.sh BINDIR [SIZE]" >&2; exit 1; }
bindir=$(cd "$1" && pwd)
size=${2:-2G}
# The tools the measure needs beyond the suite's own set-up: installed as root, otherwise named
# before anything starts.
"$(dirname "$0")/setup.sh" time xdotool bc procps xvfb
pairs=(
  "keyprint beallp.txt"
  "ticketclip szrtpara.txt"
  "ticketclip online.txt"
  "keyedit fleiras.txt"
  "keyeval filenev.txt"
  "keyeval nagy.txt"
  "keygen jeloles1.txt"
  "vazoz jeloles.txt"
)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
printf '%-11s %-13s %8s %10s\n' program file "start s" "peak MB"
for pair in "${pairs[@]}"; do
  set -- $pair
  prog=$1 file=$2
  dir=$(mktemp -d)
  cp "$bindir/$prog" "$dir/"
  truncate -s "$size" "$dir/$file"
  start=$(date +%s.%N)
  /usr/bin/time -v -o "$dir/time.txt" "$dir/$prog" >/dev/null 2>&1 &
  timer=$!
  shown=""
  for _ in $(seq 1 3000); do
    pid=$(pgrep -P "$timer" || true)
    if [ -n "$pid" ] && xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; then
      shown=$(date +%s.%N)
      break
    fi
    kill -0 "$timer" 2>/dev/null || break
    sleep 0.05
  done
  pid=$(pgrep -P "$timer" || true)
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  wait "$timer" 2>/dev/null || true
  peak=$(awk -F: '/Maximum resident/ {printf "%.0f", $2 / 1024}' "$dir/time.txt")
  if [ -n "$shown" ]; then secs=$(printf "%.2f" "$(echo "$shown - $start" | bc)"); else secs="none"; fi
  printf '%-11s %-13s %8s %10s\n' "$prog" "$file" "$secs" "$peak"
  rm -rf "$dir"
done
