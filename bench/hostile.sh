#!/bin/sh
# Hostile sizes through the batch companion and the window: 100 MB of text, one
# line of 20 MB, a million distinct words. Prints time, peak memory and exit status.
set -e
CLI="$WORDLOOM_BUILD/cli/wordloom-cli"
WIN="$WORDLOOM_BUILD/bench/window_bench"
cd "$BENCH_DATA"
[ -s kjv.txt ] || bible Gen1:1-Rev22:21 > kjv.txt
[ -s big100.txt ] || { i=0; while [ $i -lt 24 ]; do cat kjv.txt; i=$((i + 1)); done; } > big100.txt
[ -s line20.txt ] || awk 'BEGIN { for (i = 0; i < 2000000; i++) printf "abcd efgh "; }' > line20.txt
[ -s distinct1m.txt ] || awk 'BEGIN { a = "abcdefghijklmnopqrstuvwxyz";
  for (i = 0; i < 1000000; i++) { n = i; w = ""; do { w = w substr(a, n % 26 + 1, 1); n = int(n / 26) } while (n > 0); printf "%s ", w } }' > distinct1m.txt
run() { # NAME COMMAND INPUT
  /usr/bin/time -f "%e s, %M KB peak" -o hostile.time sh -c "'$CLI' $2 < $3 > /dev/null; echo \$? > hostile.rc" || true
  echo "$1: $(cat hostile.time), exit $(cat hostile.rc) ($(wc -c < "$3") bytes in)"
}
run "sort-lines 100 MB" sort-lines big100.txt
run "word-count 100 MB" word-count big100.txt
run "unique-words 100 MB" unique-words big100.txt
run "binary-codes one 20 MB line" binary-codes line20.txt
run "sort-words one 20 MB line" sort-words line20.txt
run "word-count a million distinct words" word-count distinct1m.txt
if [ -x "$WIN" ]; then
  QT_QPA_PLATFORM=offscreen "$WIN" big100.txt cmdSortLines 1 2>/dev/null
  QT_QPA_PLATFORM=offscreen "$WIN" line20.txt cmdCase 1 2>/dev/null
  QT_QPA_PLATFORM=offscreen "$WIN" distinct1m.txt cmdWordCount 1 2>/dev/null
fi
