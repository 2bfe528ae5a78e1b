#!/usr/bin/env bash
# scripts/runtime-dir.sh gives a folder of the user's own with mode 0700, and never one that
# somebody else may have made or can reach: a link, a folder of another mode or of another user.
set -uo pipefail
root=$(cd "$1" && pwd -P)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export TMPDIR=$tmp
uid=$(id -u)
name=$tmp/dizov-runtime-$uid
fail=0
# what stands at the name before | whether the name itself must be given
cases=("missing|yes" "own0700|yes" "own0755|no" "link|no" "other|no")
for c in "${cases[@]}"; do
  IFS='|' read -r before same <<<"$c"
  rm -rf "$tmp"/dizov-runtime-* "$tmp/target"
  case $before in
    own0700) mkdir -m 0700 "$name" ;;
    own0755) mkdir -m 0755 "$name" ;;
    link) mkdir -m 0700 "$tmp/target"; ln -s "$tmp/target" "$name" ;;
    other)
      [ "$uid" = 0 ] || { echo "skip: another user's folder needs root"; continue; }
      mkdir -m 0700 "$name"; chown 65534:65534 "$name" ;;
  esac
  got=$("$root/scripts/runtime-dir.sh") || { echo "FAIL: $before: exit $?"; fail=1; continue; }
  if [ "$same" = yes ] && [ "$got" != "$name" ]; then echo "FAIL: $before: gave $got, not $name"; fail=1; fi
  if [ "$same" = no ] && [ "$got" = "$name" ]; then echo "FAIL: $before: gave the name made before"; fail=1; fi
  if [ ! -d "$got" ] || [ -L "$got" ] || [ "$(stat -c '%u %a' "$got")" != "$uid 700" ]; then
    echo "FAIL: $before: $got is not a folder of uid $uid with mode 0700"; fail=1
  fi
done
exit $fail
