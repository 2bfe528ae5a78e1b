#!/usr/bin/env bash
# Only keyprint prints: it alone of the ten programs needs the print system's library (libcups) and
# Qt's printing (libQt6PrintSupport). print_links_test.sh BINDIR
set -uo pipefail
bin=$1
fail=0
for p in drawstat daystat keygen keygengroup keyeval keyevalday vazoz keyprint ticketclip keyedit; do
  needed=$(readelf -d "$bin/$p" 2>/dev/null | grep NEEDED) || { echo "FAIL: $p: cannot read $bin/$p"; fail=1; continue; }
  for lib in libcups libQt6PrintSupport; do
    if grep -q "\[$lib\." <<<"$needed"; then has=yes; else has=no; fi
    want=no
    [ "$p" = keyprint ] && want=yes
    [ "$has" = "$want" ] || { echo "FAIL: $p needs $lib: $has (expected $want)"; fail=1; }
  done
done
exit $fail
