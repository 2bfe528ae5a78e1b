#!/usr/bin/env bash
# Prints a private runtime folder for programs started without $XDG_RUNTIME_DIR (a console, a
# virtual display): ${TMPDIR:-/tmp}/dizov-runtime-UID, made mode 0700 when missing, and used only
# when it is a folder (not a link) of this user's with mode 0700; otherwise a fresh folder of
# mktemp, since anyone may have made that name first.
set -euo pipefail
uid=$(id -u)
dir=${TMPDIR:-/tmp}/dizov-runtime-$uid
mkdir -m 0700 -- "$dir" 2>/dev/null || true
if [ -d "$dir" ] && [ ! -L "$dir" ] && [ "$(stat -c '%u %a' -- "$dir")" = "$uid 700" ]; then
  echo "$dir"
else
  mktemp -d "${TMPDIR:-/tmp}/dizov-runtime-$uid.XXXXXX"
fi
