#!/usr/bin/env bash
# Cuts the last day of a draw history into a partial-day draw file, as daystat's range cut of that
# day does: every record whose draw key lies in "YYYYMMDD 001" .. "YYYYMMDD 264", where YYYYMMDD is
# the date of the history's last record; the records are copied unchanged, each ended by CR LF.
#   lastday.sh HISTORY OUT
# Prints the day and the number of draws written. OUT is replaced whole, and only when the history
# has a last record.
set -euo pipefail
history=$1 out=$2
export LC_ALL=C
bom=$(printf '\357\273\277')
last=$(tail -c 4096 -- "$history" | tr -d '\r' | grep -v '^$' | tail -n 1 || true)
last=${last#"$bom"}
day=${last:0:8}
if [ -z "$day" ]; then
  echo "lastday: $history holds no draw" >&2
  exit 1
fi
tmp=$(mktemp "$out.XXXXXX")
trap 'rm -f -- "$tmp"' EXIT
count=$(awk -v from="$day 001" -v to="$day 264" -v bom="$bom" -v out="$tmp" '
  { sub(/\r$/, "") }
  NR == 1 && substr($0, 1, 3) == bom { $0 = substr($0, 4) }
  { key = substr($0, 1, 12) }
  key >= from && key <= to { printf "%s\r\n", $0 > out; n++ }
  END { close(out); print n + 0 }' "$history")
: >>"$tmp"
chmod "$(printf '%04o' $((0666 & ~8#$(umask))))" "$tmp"   # as a file the program writes
mv -f -- "$tmp" "$out"
trap - EXIT
echo "$day $count"
