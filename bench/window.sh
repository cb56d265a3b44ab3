#!/bin/sh
# The commands in the real window (offscreen): click to result shown, against
# the same work done by coreutils on the same text in the same run.
set -e
BIN="$WORDLOOM_BUILD/bench/window_bench"
[ -x "$BIN" ] || { echo "window.sh: build the window_bench target first"; exit 1; }
cd "$BENCH_DATA"
[ -s kjv.txt ] || bible Gen1:1-Rev22:21 > kjv.txt
if [ ! -s lines10.txt ]; then
  # About 10 MB of lines of one to six generated words, fixed seed.
  awk 'BEGIN { x = 7; for (i = 0; i < 480000; i++) {
      x = (x * 1103515245 + 12345) % 2147483648; n = 1 + int(x / 65536) % 6; line = "";
      for (j = 0; j < n; j++) { x = (x * 1103515245 + 12345) % 2147483648; m = 2 + int(x / 65536) % 7; w = "";
        for (k = 0; k < m; k++) { x = (x * 1103515245 + 12345) % 2147483648; w = w sprintf("%c", 97 + int(x / 65536) % 26) }
        line = line == "" ? w : line " " w }
      print line } }' > lines10.txt
fi
ms() { /usr/bin/time -f %e -o peer.time sh -c "$1" > /dev/null; awk '{ printf "%.0f", $1 * 1000 }' peer.time; }
echo "lines10.txt: $(wc -c < lines10.txt) bytes; kjv.txt: $(wc -c < kjv.txt) bytes"
QT_QPA_PLATFORM=offscreen "$BIN" lines10.txt cmdSortLines 3 2>/dev/null
echo "  peer LC_ALL=C sort on the same file: $(ms 'LC_ALL=C sort lines10.txt') ms (goal: window under 2000 ms)"
QT_QPA_PLATFORM=offscreen "$BIN" lines10.txt cmdUniqueLines 3 2>/dev/null
echo "  peer LC_ALL=C sort -u on the same file: $(ms 'LC_ALL=C sort -u lines10.txt') ms (goal: window under 2000 ms)"
QT_QPA_PLATFORM=offscreen "$BIN" kjv.txt cmdWordCount 3 2>/dev/null
echo "  peer tr|sort|uniq -c|sort -n: $(ms "tr -cs \"A-Za-z0-9'\" '\n' < kjv.txt | LC_ALL=C sort | uniq -c | LC_ALL=C sort -n") ms (goal: window under 2000 ms)"
QT_QPA_PLATFORM=offscreen "$BIN" kjv.txt cmdWordCount 3 --cancel-after 10 2>/dev/null
echo "  (goal: Cancel processed within 100 ms)"
QT_QPA_PLATFORM=offscreen "$BIN" kjv.txt cmdPhraseCount 1 --cancel-after 300 2>/dev/null
