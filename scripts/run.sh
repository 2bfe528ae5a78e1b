#!/usr/bin/env bash
# Sets up, builds and installs the suite into the program folder, then starts one program there:
#   run.sh [PROGRAM] [FOLDER]
# PROGRAM: drawstat (default), daystat, keygen, keygengroup, keyeval, keyevalday, ...
# FOLDER: the program folder; else $DIZOV_HOME; else ~/Dizov. It lies outside the build tree, so a
# rebuild never touches it. The install replaces the programs only: the draw history, keys,
# selections, lists and every other file of the user's stay as they are; a shipped file (an image)
# is put there only when the folder has none of that name.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-drawstat}

# Root is needed only to install missing packages. Started through sudo, the set-up runs as root
# and the rest as the user who asked, so that the build and the program folder are theirs.
if [ -z "${DIZOV_SETUP_DONE:-}" ]; then
  "$root/scripts/setup.sh"
  if [ "$(id -u)" = 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
    exec sudo -u "$SUDO_USER" -H env DIZOV_SETUP_DONE=1 ${DIZOV_HOME:+DIZOV_HOME="$DIZOV_HOME"} ${DIZOV_PRINT_PDF:+DIZOV_PRINT_PDF="$DIZOV_PRINT_PDF"} \
      ${DISPLAY:+DISPLAY="$DISPLAY"} ${XAUTHORITY:+XAUTHORITY="$XAUTHORITY"} \
      ${WAYLAND_DISPLAY:+WAYLAND_DISPLAY="$WAYLAND_DISPLAY"} "$0" "$@"
  fi
fi
home=${2:-${DIZOV_HOME:-$HOME/Dizov}}
mkdir -p "$home"
home=$(cd "$home" && pwd)
case "$home/" in
  "$root"/build*/*) echo "run: the program folder $home lies in a build folder; choose another" >&2; exit 1 ;;
esac

"$root/scripts/build.sh" "$root/build"
if [ ! -x "$root/build/bin/$program" ]; then
  echo "run: no program \"$program\" (built: $(cd "$root/build/bin" && find . -maxdepth 1 -type f -executable -printf '%f ' ))" >&2
  exit 2
fi
cmake --install "$root/build" --prefix "$home" >/dev/null

if [ ! -e "$home/vevud.txt" ]; then
  "$root/build/tools/mkdraws" "$home/vevud.txt" 100000
  echo "run: wrote a synthetic draw history of 100000 draws to $home/vevud.txt"
fi
# keyevalday reads the partial-day file that daystat cuts from the history (menu "Válogat"); until
# there is one, the last 264 draws of the history stand in for it, and only when there is none.
if [ "$program" = keyevalday ] && [ ! -e "$home/vevud.dat" ]; then
  tail -n 264 "$home/vevud.txt" > "$home/vevud.dat"
  echo "run: no vevud.dat yet (daystat cuts it); copied the last 264 draws of vevud.txt to $home/vevud.dat"
fi
echo "run: program folder $home"
cd "$home"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display; starting $program on a virtual one (xvfb-run). Stop it with Ctrl-C."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "./$program"
fi
exec "./$program"
