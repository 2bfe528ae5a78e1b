#!/usr/bin/env bash
# scripts/lastday.sh cuts the last day of a history as daystat's range cut of that day does.
set -uo pipefail
root=$(cd "$1" && pwd -P)
cut=$root/scripts/lastday.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
check() {  # name, expected file, actual file
  if ! cmp -s "$2" "$3"; then echo "FAIL: $1"; diff <(od -c "$2") <(od -c "$3") | head; fail=1; fi
}
r() { printf '%s 01 02 03 04 05 06 07 08 0%s' "$1" "$2"; }

# Two days, LF and CR LF lines mixed, a byte order mark and an empty last line: only the last
# day's records, unchanged, each ended by CR LF.
{ printf '\357\273\277'; r "20100101 263" 1; printf '\n'; r "20100101 264" 2; printf '\r\n'
  r "20100102 001" 3; printf '\n'; r "20100102 002" 4; printf '\r\n'; r "20100102 003" 1; printf '\r\n\r\n'; } >"$tmp/h.txt"
{ r "20100102 001" 3; printf '\r\n'; r "20100102 002" 4; printf '\r\n'; r "20100102 003" 1; printf '\r\n'; } >"$tmp/want"
echo old >"$tmp/h.dat"
said=$("$cut" "$tmp/h.txt" "$tmp/h.dat") || { echo "FAIL: the cut failed"; fail=1; }
check "last day of two" "$tmp/want" "$tmp/h.dat"
[ "$said" = "20100102 3" ] || { echo "FAIL: it said \"$said\""; fail=1; }

# A history of one day, its last line without a line end: the whole day.
{ r "20100105 001" 1; printf '\r\n'; r "20100105 002" 2; } >"$tmp/one.txt"
{ r "20100105 001" 1; printf '\r\n'; r "20100105 002" 2; printf '\r\n'; } >"$tmp/want"
"$cut" "$tmp/one.txt" "$tmp/one.dat" >/dev/null
check "one day" "$tmp/want" "$tmp/one.dat"

# An empty history (or one of empty lines) writes nothing and keeps the old file.
printf '\r\n\r\n' >"$tmp/e.txt"
echo old >"$tmp/e.dat"; cp "$tmp/e.dat" "$tmp/want"
if "$cut" "$tmp/e.txt" "$tmp/e.dat" 2>/dev/null; then echo "FAIL: an empty history succeeded"; fail=1; fi
check "empty history" "$tmp/want" "$tmp/e.dat"
[ -z "$(find "$tmp" -name 'e.dat.*')" ] || { echo "FAIL: a temporary file stayed"; fail=1; }
exit $fail
