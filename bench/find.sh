#!/bin/sh
# Find in a 10 MB pane: the pane's Find against QString::indexOf and grep on the same text.
set -e
BIN="$WORDLOOM_BUILD/bench/find_bench"
[ -x "$BIN" ] || { echo "find.sh: build the find_bench target first"; exit 1; }
CORPUS="$BENCH_DATA/find-10mb.txt"
RUNS=7
if [ ! -f "$CORPUS" ]; then
  # Lines of words drawn by a fixed linear congruential generator; never "zebra".
  awk 'BEGIN {
    n = split("the of and to in a is that for it as was with be by on not he this are or his from at which but have an they you were her she there one all we their been has more would if will some other what so no when can said into its only time could them may two than these then first any my now such like our over man me even most made after also did many before must through", w, " ");
    x = 12345; bytes = 0; line = "";
    while (bytes < 10485760 - 24) {
      x = (x * 1103515245 + 12345) % 2147483648;
      word = w[int(x / 65536) % n + 1];
      if (length(line) + length(word) > 70) { print line; bytes += length(line) + 1; line = word }
      else line = line == "" ? word : line " " word;
    }
    print "Needle in the haystack";
  }' > "$CORPUS"
fi
echo "corpus: $(wc -c < "$CORPUS") bytes, $(wc -l < "$CORPUS") lines"
QT_QPA_PLATFORM=offscreen "$BIN" "$CORPUS" "$RUNS"

# grep -b -i -o on the same file (one pass, not found), median of the runs.
ms() { echo "$1 $2" | awk '{ printf "%.1f", ($2 - $1) / 1e6 }'; }
i=0; : > "$BENCH_DATA/find-grep.ms"
while [ $i -lt $RUNS ]; do
  t0=$(date +%s%N); grep -b -i -o zebra "$CORPUS" > /dev/null || true; t1=$(date +%s%N)
  ms "$t0" "$t1" >> "$BENCH_DATA/find-grep.ms"; echo >> "$BENCH_DATA/find-grep.ms"
  i=$((i + 1))
done
echo "grep -b -i -o not found (one pass): $(sort -n "$BENCH_DATA/find-grep.ms" | sed -n "$(( RUNS / 2 + 1 ))p") ms"
