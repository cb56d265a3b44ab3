#!/bin/sh
# Word Count and Phrase Count: wordloom-cli against a coreutils word-frequency
# pipeline on the King James Bible x5, Phrase Count on the Bible, and the
# literal transcription against the real commands on a 20,000-word sample.
set -e
CLI="$WORDLOOM_BUILD/cli/wordloom-cli"
COMPARE="$WORDLOOM_BUILD/bench/frequency_compare"
RUNS=${RUNS:-5}
cd "$BENCH_DATA"

[ -s kjv.txt ] || bible Gen1:1-Rev22:21 > kjv.txt
[ -s kjv5.txt ] || for i in 1 2 3 4 5; do cat kjv.txt; done > kjv5.txt
[ -s sample20k.txt ] || awk '{ n += NF; print; if (n >= 20000) exit }' kjv.txt > sample20k.txt

# Median wall time in seconds of RUNS runs of a shell command.
median() {
  i=0
  while [ $i -lt "$RUNS" ]; do
    /usr/bin/time -f %e -o time.out sh -c "$1" > /dev/null
    cat time.out
    i=$((i + 1))
  done | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}

echo "corpora: kjv.txt $(wc -w < kjv.txt) words, kjv5.txt $(wc -c < kjv5.txt) bytes; $RUNS runs each"
wc=$(median "'$CLI' word-count < kjv5.txt")
tools=$(median "tr -cs \"A-Za-z0-9'\" '\n' < kjv5.txt | LC_ALL=C sort | uniq -c | LC_ALL=C sort -n")
echo "word-count, Bible x5:      wordloom $wc s   tr|sort|uniq|sort $tools s   ratio $(echo "$wc $tools" | awk '{ printf "%.2f", $1 / $2 }') (goal <= 0.5)"
pc=$(median "'$CLI' phrase-count < kjv.txt")
echo "phrase-count, Bible:       wordloom $pc s (goal < 2 s)"
if [ -x "$COMPARE" ]; then
  echo "literal transcription against the real commands, 20,000-word sample:"
  "$COMPARE" --runs "$RUNS" < sample20k.txt
fi
