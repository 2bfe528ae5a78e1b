#!/usr/bin/env bash
# Sets up, builds and starts one program of the suite in the program folder: run.sh [PROGRAM]
# (drawstat by default). A synthetic draw history is put there only when no "vevud.txt" is there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-drawstat}
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DDIZOV_BENCH=OFF
bin="$root/build/bin"
if [ ! -e "$bin/vevud.txt" ]; then
  "$root/build/tools/mkdraws" "$bin/vevud.txt" 100000
  echo "run: wrote a synthetic draw history of 100000 draws to $bin/vevud.txt"
fi
# keyevalday reads the partial-day file that daystat cuts (menu "Válogat"); until one is cut, the
# last 264 draws of the history stand in for it, and only when there is none.
if [ "$program" = keyevalday ] && [ ! -e "$bin/vevud.dat" ]; then
  tail -n 264 "$bin/vevud.txt" > "$bin/vevud.dat"
  echo "run: no vevud.dat yet (daystat cuts it); copied the last 264 draws of vevud.txt to $bin/vevud.dat"
fi
cd "$bin"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display; starting $program on a virtual one (xvfb-run). Stop it with Ctrl-C."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "./$program"
fi
exec "./$program"
