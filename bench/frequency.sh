#!/bin/sh
# Word Count and Phrase Count: wordloom-cli against the coreutils word-frequency
# pipeline on the King James Bible x5, Phrase Count on the Bible, a generated
# server log and texts that repeat at length, and the literal transcription
# against the real commands on a 20,000-word sample.
#   BEFORE_CLI=/path/to/older/wordloom-cli  adds a "before" column, run alternately
#   RUNS=5                                  runs per figure (medians)
#   SLOW_LIMIT=20                           seconds after which a run is stopped
set -e
CLI="$WORDLOOM_BUILD/cli/wordloom-cli"
STREAM="$WORDLOOM_BUILD/bench/frequency_stream"
COMPARE="$WORDLOOM_BUILD/bench/frequency_compare"
WINDOW="$WORDLOOM_BUILD/bench/window_bench"
BEFORE=${BEFORE_CLI:-}
RUNS=${RUNS:-5}
SLOW_LIMIT=${SLOW_LIMIT:-20}
cd "$BENCH_DATA"

[ -s kjv.txt ] || bible Gen1:1-Rev22:21 > kjv.txt
[ -s kjv5.txt ] || for i in 1 2 3 4 5; do cat kjv.txt; done > kjv5.txt
[ -s sample20k.txt ] || awk '{ n += NF; print; if (n >= 20000) exit }' kjv.txt > sample20k.txt
# 20,000 lines of a server log, Park-Miller generator with a fixed seed.
[ -s log20k.txt ] || awk 'function rnd(n) { seed = (seed * 16807) % 2147483647; return seed % n }
  BEGIN { seed = 20261207
    split("GET POST PUT DELETE", verb, " "); split("users orders items carts sessions reports invoices search", res, " ")
    split("200 200 200 201 204 301 304 400 401 403 404 500 503", code, " "); split("alpha beta gamma delta epsilon", host, " ")
    for (i = 0; i < 20000; i++)
      printf "2026-12-%02d %02d:%02d:%02d %s-%d INFO request %s /api/v%d/%s/%d status %s took %d ms\n",
        1 + rnd(28), rnd(24), rnd(60), rnd(60), host[1 + rnd(5)], rnd(9), verb[1 + rnd(4)], 1 + rnd(3),
        res[1 + rnd(8)], rnd(100000), code[1 + rnd(13)], rnd(2000) }' > log20k.txt
[ -s hello.txt ] || awk 'BEGIN { for (i = 0; i < 400000; i++) printf "hello world "; print "" }' > hello.txt
[ -s aaa.txt ] || awk 'BEGIN { for (n = 0; n < 1048576; n += 2) printf "a "; print "" }' > aaa.txt
# A paragraph of 100 words drawn from the Bible's vocabulary (fixed seed), 1,000 times.
[ -s para.txt ] || tr -cs 'A-Za-z' '\n' < kjv.txt | awk 'length($0) > 2 && !seen[$0]++' | awk '
  { w[NR] = $0 } END { seed = 99; for (k = 0; k < 100; k++) { seed = (seed * 16807) % 2147483647; p = p w[1 + seed % NR] " " }
    for (i = 0; i < 1000; i++) printf "%s", p; print "" }' > para.txt

# Wall time in seconds of one run (stopped after SLOW_LIMIT s: printed as ">N"),
# its peak memory in MiB, and its exit code, into the named files.
timed() {
  status=0
  /usr/bin/time -f '%e %M' -o run.time timeout "$SLOW_LIMIT" sh -c "$1" > /dev/null 2> "$2.err" || status=$?
  if [ "$status" = 124 ] || [ "$status" = 137 ]; then
    echo ">$SLOW_LIMIT" >> "$2"; echo "-" >> "$2.mem"
  else
    tail -n 1 run.time | awk '{ print $1 }' >> "$2"
    tail -n 1 run.time | awk '{ printf "%.0f\n", $2 / 1024 }' >> "$2.mem"
  fi
  echo "$status" > "$2.status"
}
median() { sort -n "$1" | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'; }
# Runs each command RUNS times, alternately, and prints "median-before median-after median-peer".
alternate() {
  rm -f a.t a.t.* b.t b.t.* p.t p.t.*
  i=0
  while [ $i -lt "$RUNS" ]; do
    [ -z "$BEFORE" ] || [ -z "$1" ] || timed "$1" b.t
    timed "$2" a.t
    [ -z "$3" ] || timed "$3" p.t
    i=$((i + 1))
  done
  echo "$( [ -s b.t ] && median b.t || echo -) $(median a.t) $( [ -s p.t ] && median p.t || echo -)"
}
ratio() { echo "$1 $2" | awk '{ if ($1 ~ /^[0-9.]+$/ && $2 > 0) printf "%.2f", $1 / $2; else printf "-" }'; }
outcome() {
  case "$(cat "$1.status")" in
    0) echo "result" ;;
    124|137) echo "stopped" ;;
    *) if grep -q repetitive "$1.err"; then echo "refused"; else echo "exit $(cat "$1.status")"; fi ;;
  esac
}

echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg); $RUNS runs each, before = ${BEFORE:-none}"
echo "corpora: kjv.txt $(wc -w < kjv.txt) words; kjv5.txt $(wc -c < kjv5.txt) bytes; log20k.txt $(wc -c < log20k.txt) bytes"

wc=$(alternate "" "'$CLI' word-count < kjv5.txt" "tr -cs \"A-Za-z0-9'\" '\n' < kjv5.txt | LC_ALL=C sort | uniq -c | LC_ALL=C sort -n")
set -- $wc
tools=$3
echo "word-count, Bible x5:          wordloom $2 s   tr|sort|uniq|sort $tools s   ratio $(ratio "$2" "$tools") (goal <= 0.5)"

set -- $(alternate "'$BEFORE' phrase-count < kjv.txt" "'$CLI' phrase-count < kjv.txt" "")
mem_after=$(median a.t.mem); mem_before=$( [ -s b.t.mem ] && median b.t.mem || echo -)
echo "phrase-count, Bible, CLI:      before $1 s ($(ratio "$1" "$tools"))   after $2 s ($(ratio "$2" "$tools") of the pipeline on Bible x5; goal <= 0.5)"
echo "  peak memory:                 before $mem_before MiB   after $mem_after MiB (goal <= 74 + 43 MB = 112 MiB)"
if [ -x "$STREAM" ]; then
  set -- $(alternate "" "'$STREAM' < kjv.txt" "")
  "$CLI" phrase-count < kjv.txt > cli.out
  "$STREAM" < kjv.txt > stream.out
  same=$(cmp -s cli.out stream.out && echo yes || echo NO)
  rm -f cli.out stream.out
  echo "  rows streamed as UTF-8:      $2 s ($(ratio "$2" "$tools")), peak $(median a.t.mem) MiB, same output as the CLI: $same"
fi
set -- $(alternate "'$BEFORE' phrase-count < log20k.txt" "'$CLI' phrase-count < log20k.txt" "")
echo "phrase-count, 20,000-line log: before $1 s   after $2 s (goal < 0.5 s)"

for text in kjv5.txt hello.txt para.txt aaa.txt; do
  saved=$RUNS; RUNS=1
  set -- $(alternate "'$BEFORE' phrase-count < $text" "'$CLI' phrase-count < $text" "")
  RUNS=$saved
  before_outcome=$( [ -s b.t.status ] && outcome b.t || echo -)
  printf 'phrase-count, %-16s before %s s (%s, %s MiB)   after %s s (%s, %s MiB) (goal < 2 s)\n' "$text:" "$1" \
    "$before_outcome" "$( [ -s b.t.mem ] && cat b.t.mem || echo -)" "$2" "$(outcome a.t)" "$(cat a.t.mem)"
  [ ! -s a.t.err ] || echo "    $(sed 's/^wordloom-cli: phrase-count: //' a.t.err)"
done
rm -f a.t a.t.* b.t b.t.* p.t p.t.* run.time

if [ -x "$WINDOW" ]; then
  echo "window, Phrase Count of the Bible, click to Ready (median of 3):"
  QT_QPA_PLATFORM=offscreen "$WINDOW" kjv.txt cmdPhraseCount 3 2>/dev/null
  QT_QPA_PLATFORM=offscreen "$WINDOW" kjv.txt cmdPhraseCount 1 --cancel-after 300 2>/dev/null
fi
if [ -x "$COMPARE" ]; then
  echo "literal transcription against the real commands, 20,000-word sample:"
  "$COMPARE" --runs "$RUNS" < sample20k.txt
fi
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
