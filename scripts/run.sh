#!/usr/bin/env bash
# Sets up, builds and installs the suite into the program folder, then starts one program there:
#   run.sh [PROGRAM] [FOLDER]
# PROGRAM: drawstat (default), daystat, keygen, keygengroup, keyeval, keyevalday, vazoz, keyprint,
# ticketclip, keyedit.
# FOLDER: the program folder; else $DIZOV_HOME; else ~/Dizov. It lies outside the build tree, so a
# rebuild never touches it. The install replaces the programs only: the draw history, keys,
# selections, lists and every other file of the user's stay as they are; a shipped file (an image)
# is put there only when the folder has none of that name.
#
# After the first run a start costs little more than the program's own: the set-up runs only while
# the build folder has no configuration, the programs are built only when a source file is newer
# than their last build, and installed only when a built file is newer than the last install into
# that folder. The build folder build/ is the one scripts/test.sh uses, configured the same way
# (scripts/main-options.sh); this command builds only the programs in it (target dizov_programs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd -P)
build=$root/build
programs=(drawstat daystat keygen keygengroup keyeval keyevalday vazoz keyprint ticketclip keyedit)
program=${1:-drawstat}
case " ${programs[*]} " in
  *" $program "*) ;;
  *) echo "run: no program \"$program\" (one of: ${programs[*]})" >&2; exit 2 ;;
esac

# The program folder, checked before anything is set up, built or created.
home=$(realpath -m -- "${2:-${DIZOV_HOME:-$HOME/Dizov}}")
case "$home/" in
  "$root"/build*/*) echo "run: the program folder $home lies in a build folder; choose another" >&2; exit 1 ;;
esac

# Root is needed only to install missing packages. Started through sudo, the set-up runs as root
# and the rest as the user who asked, so that the build and the program folder are theirs.
sudo_user=
if [ "$(id -u)" = 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then sudo_user=$SUDO_USER; fi
if [ -z "${DIZOV_SETUP_DONE:-}" ]; then
  if [ -n "$sudo_user" ] || [ ! -f "$build/CMakeCache.txt" ] ||
     { [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && ! command -v xvfb-run >/dev/null; }; then
    "$root/scripts/setup.sh"
  fi
  if [ -n "$sudo_user" ]; then
    exec sudo -u "$sudo_user" -H env DIZOV_SETUP_DONE=1 ${DIZOV_HOME:+DIZOV_HOME="$DIZOV_HOME"} ${DIZOV_PRINT_PDF:+DIZOV_PRINT_PDF="$DIZOV_PRINT_PDF"} \
      ${DIZOV_SPREADSHEET:+DIZOV_SPREADSHEET="$DIZOV_SPREADSHEET"} \
      ${DISPLAY:+DISPLAY="$DISPLAY"} ${XAUTHORITY:+XAUTHORITY="$XAUTHORITY"} \
      ${WAYLAND_DISPLAY:+WAYLAND_DISPLAY="$WAYLAND_DISPLAY"} "$0" "$@"
  fi
fi

# Only one build at a time in build/ (scripts/build.sh takes the same lock).
mkdir -p "$build"
locked() { flock "$build/.dizov-build.lock" "$@"; }

# Configure once, as scripts/test.sh configures build/ (so that neither rebuilds after the other),
# and build the programs; later changes of CMakeLists.txt reconfigure inside the build itself.
if [ ! -f "$build/CMakeCache.txt" ]; then
  . "$root/scripts/main-options.sh"
  "$root/scripts/build.sh" "$build" "${main_options[@]}" -- dizov_programs
fi

# Build when a source of the programs is newer than their last build, or a program is missing.
# Not their sources: the build folders, .git, a program folder inside the tree, the tests,
# benchmarks, scripts and documents.
built=$build/.dizov-programs-built
need_build=
if [ ! -f "$built" ]; then
  need_build=1
elif [ -n "$(find "$root" \( -path "$root/build*" -o -path "$root/.git" -o -path "$home" -o -path "$root/docs" \
               -o -path "$root/tests" -o -path "$root/*/tests" -o -path "$root/bench" -o -path "$root/scripts" \
               -o -path "$root/.ci" \) -prune -o -newer "$built" ! -name '*.md' -print -quit)" ]; then
  need_build=1
else
  for p in "${programs[@]}"; do [ -x "$build/bin/$p" ] || need_build=1; done
fi
if [ -n "$need_build" ]; then
  touch "$built.new"   # a source saved during the build is newer than this, so it builds next time
  locked cmake --build "$build" -j"$(nproc)" --target dizov_programs
  mv -f "$built.new" "$built"
fi

# Install when the folder lacks a program or a built file is newer than the last install there.
mkdir -p "$home"
installed=$build/.dizov-installed-$(printf '%s' "$home" | md5sum | cut -c1-16)
need_install=
if [ ! -f "$installed" ] || [ -n "$(find "$build/bin" -newer "$installed" -print -quit)" ]; then
  need_install=1
else
  for p in "${programs[@]}"; do [ -x "$home/$p" ] || need_install=1; done
fi
if [ -n "$need_install" ]; then
  touch "$installed.new"
  cmake --install "$build" --prefix "$home" --strip >/dev/null   # without the debug information
  mv -f "$installed.new" "$installed"
fi

if [ ! -e "$home/vevud.txt" ]; then
  [ -x "$build/tools/mkdraws" ] || locked cmake --build "$build" -j"$(nproc)" --target mkdraws
  "$build/tools/mkdraws" "$home/vevud.txt" 100000
  echo "run: wrote a synthetic draw history of 100000 draws to $home/vevud.txt"
fi
# keyevalday reads the partial-day file that daystat cuts from the history (menu "Válogat"); until
# there is one, the last day's draws of the history stand in for it, as daystat cuts that day.
if [ "$program" = keyevalday ] && [ ! -e "$home/vevud.dat" ]; then
  if cut=$("$root/scripts/lastday.sh" "$home/vevud.txt" "$home/vevud.dat"); then
    read -r day count <<<"$cut"
    echo "run: no vevud.dat yet (daystat cuts it); copied the $count draws of the last day ($day) of vevud.txt to $home/vevud.dat"
  fi
fi
echo "run: program folder $home"
cd "$home"
# Qt keeps per-user state in the session's runtime folder; without one, a private one of ours.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$("$root/scripts/runtime-dir.sh")
  export XDG_RUNTIME_DIR
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display; starting $program on a virtual one (xvfb-run). Stop it with Ctrl-C."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "./$program"
fi
exec "./$program"
