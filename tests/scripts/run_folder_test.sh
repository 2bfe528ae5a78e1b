#!/usr/bin/env bash
# scripts/run.sh refuses a program folder inside a build folder, and an unknown program, before it
# sets up, builds or creates anything.
set -uo pipefail
root=$(cd "$1" && pwd -P)
tag=dizov-run-refused-$$
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
ln -s "$root/build" "$tmp/link"
fail=0
# expected exit status | how the folder is given | the folder | the folder that must not appear
cases=(
  "1|arg|$root/build/$tag/home|$root/build/$tag"
  "1|arg|$root/build-asan/$tag|$root/build-asan/$tag"
  "1|arg|$root/drawstat/../build/$tag|$root/build/$tag"
  "1|arg|$tmp/link/$tag|$root/build/$tag"
  "1|relative|build/$tag/x|$root/build/$tag"
  "1|env|$root/build/$tag|$root/build/$tag"
)
for c in "${cases[@]}"; do
  IFS='|' read -r want how folder made <<<"$c"
  case $how in
    arg) out=$(cd "$tmp" && env -u DIZOV_HOME "$root/scripts/run.sh" keygen "$folder" 2>&1) ;;
    relative) out=$(cd "$root" && env -u DIZOV_HOME "$root/scripts/run.sh" keygen "$folder" 2>&1) ;;
    env) out=$(cd "$tmp" && DIZOV_HOME="$folder" "$root/scripts/run.sh" keygen 2>&1) ;;
  esac
  rc=$?
  if [ "$rc" != "$want" ] || [ -e "$made" ] || [[ "$out" != *"lies in a build folder"* ]]; then
    echo "FAIL: $how $folder: exit $rc, output: $out"; [ -e "$made" ] && echo "  and $made was created"
    rm -rf "$made"; fail=1
  fi
done
# An unknown program is refused first, whatever the folder.
out=$(cd "$tmp" && "$root/scripts/run.sh" keygem "$tmp/home" 2>&1); rc=$?
if [ "$rc" != 2 ] || [ -e "$tmp/home" ] || [[ "$out" != *'no program "keygem"'* ]]; then
  echo "FAIL: unknown program: exit $rc, output: $out"; fail=1
fi
exit $fail
