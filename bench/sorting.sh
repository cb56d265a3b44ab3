#!/bin/sh
# Sorting and de-duplication: wordloom-cli against LC_ALL=C sort on the same input.
# Corpora (made once, deterministically, under $BENCH_DATA):
#   lines.txt  one million lines of one to six words from a generated vocabulary
#   kjv5.txt   the King James Bible (bible-kjv's `bible Gen1:1-Rev22:21`) five times
# Prints for each pair the median seconds, their ratio and wordloom-cli's peak RSS.
set -e
: "${WORDLOOM_BUILD:?set WORDLOOM_BUILD to the build folder}"
: "${BENCH_DATA:?set BENCH_DATA to a data folder}"
CLI="$WORDLOOM_BUILD/cli/wordloom-cli"
RUNS=${RUNS:-5}
export LC_ALL=C

make_lines() {
  awk -v lines=1000000 -f "$(dirname "$0")/lines_corpus.awk"
}

[ -s "$BENCH_DATA/lines.txt" ] || make_lines > "$BENCH_DATA/lines.txt"
if [ ! -s "$BENCH_DATA/kjv5.txt" ]; then
  command -v bible >/dev/null || { echo "bible (package bible-kjv) is missing" >&2; exit 1; }
  bible Gen1:1-Rev22:21 > "$BENCH_DATA/kjv.txt"
  for i in 1 2 3 4 5; do cat "$BENCH_DATA/kjv.txt"; done > "$BENCH_DATA/kjv5.txt"
fi

# Runs a shell command, prints "seconds peakKiB".
timed() {
  /usr/bin/time -f '%e %M' -o "$BENCH_DATA/time.out" sh -c "$1" > /dev/null
  cat "$BENCH_DATA/time.out"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# compare NAME INPUT WORDLOOM_COMMAND REFERENCE_COMMAND
compare() {
  name=$1; input=$2; ours=$3; theirs=$4
  sh -c "$ours" < "$input" > "$BENCH_DATA/ours.out"
  sh -c "$theirs" < "$input" | grep -v '^$' > "$BENCH_DATA/theirs.out" || true
  grep -v '^$' "$BENCH_DATA/ours.out" | cmp -s - "$BENCH_DATA/theirs.out" && same=yes || same=NO
  : > "$BENCH_DATA/ours.times"; : > "$BENCH_DATA/theirs.times"
  i=0
  while [ $i -lt "$RUNS" ]; do
    timed "< '$input' $ours" >> "$BENCH_DATA/ours.times"
    timed "< '$input' $theirs" >> "$BENCH_DATA/theirs.times"
    i=$((i + 1))
  done
  ours_s=$(median < "$BENCH_DATA/ours.times")
  theirs_s=$(median < "$BENCH_DATA/theirs.times")
  rss=$(awk '{ print $2 }' "$BENCH_DATA/ours.times" | sort -n | tail -1)
  size=$(wc -c < "$input")
  awk -v n="$name" -v a="$ours_s" -v b="$theirs_s" -v r="$rss" -v s="$size" -v same="$same" 'BEGIN {
    printf "%-13s wordloom %6.2f s  reference %6.2f s  ratio %5.2f  peak RSS %4.0f MiB = %4.1fx input  same lines: %s\n",
      n, a, b, (b > 0 ? a / b : 0), r / 1024, r * 1024 / s, same }'
}

echo "lines.txt $(wc -c < "$BENCH_DATA/lines.txt") bytes, kjv5.txt $(wc -c < "$BENCH_DATA/kjv5.txt") bytes; median of $RUNS runs each, alternating"
compare sort-lines "$BENCH_DATA/lines.txt" "'$CLI' sort-lines" "sort"
compare unique-lines "$BENCH_DATA/lines.txt" "'$CLI' unique-lines" "sort -u"
compare sort-words "$BENCH_DATA/kjv5.txt" "'$CLI' sort-words" "tr -cs 'A-Za-z' '\\n' | sort"
compare unique-words "$BENCH_DATA/kjv5.txt" "'$CLI' unique-words" "tr -cs 'A-Za-z' '\\n' | sort -u"
