#!/usr/bin/env bash
# Time and peak memory of every program's key loader over a key file that a user may pick in a
# dialog: a link to /dev/zero and a file of one line of SIZE bytes (sparse: zero bytes, no line
# end, no disk). measure-keyload.sh DRIVER [SIZE]   (DRIVER: build/bench/keyload_peak; SIZE 1G)
# Each run is capped at 4 GB of address space and 60 s, so that an unbounded reader fails with
# bad_alloc (or times out) instead of taking the machine's memory.
set -euo pipefail
driver=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
size=${2:-1G}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
ln -s /dev/zero "$dir/zero.txt"
truncate -s "$size" "$dir/oneline.txt"
printf '%-12s %-12s %8s %10s  %s\n' program file seconds "peak MB" result
for prog in keygen keygengroup keyprint keyeval keyeval-run vazoz vazoz-grid ticketclip keyedit; do
  for file in zero.txt oneline.txt; do
    out=$( (ulimit -v 4194304; /usr/bin/time -f 'TIME %e %M' timeout 60 "$driver" "$prog" "$dir/$file") 2>&1 || true)
    t=$(sed -n 's/.*TIME \([0-9.]*\) \([0-9]*\).*/\1/p' <<<"$out")
    kb=$(sed -n 's/.*TIME \([0-9.]*\) \([0-9]*\).*/\2/p' <<<"$out")
    res=$(grep -o "rows=[0-9]*\|bad_alloc\|failed" <<<"$out" | head -1 || true)
    [ -n "$res" ] || res="no end (timeout)"
    printf '%-12s %-12s %8s %10s  %s\n' "$prog" "$file" "$t" "$((kb / 1024))" "$res"
  done
done
