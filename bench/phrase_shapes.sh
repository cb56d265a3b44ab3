#!/bin/sh
# Phrase Count on texts that repeat themselves (bench/repeating_text, the
# generator of the tests): a passage of 1 to 1,000 words over and over, whole,
# with 3 words changed or with one word in a thousand changed, and varied text with stretches that come back, from
# 10 KB to 5 MB, plus the four short repeats that used to hold the command for
# minutes. Prints each shape's wall time, its CPU time (user + system: the
# figure to trust on a busy machine) and outcome (result or refusal), and the
# longest. Goal: every one within 2 s.
#   BEFORE_CLI=/path/to/older/wordloom-cli  adds a "before" column
#   SIZES="10000 100000 1000000 5000000"    text sizes in bytes
#   SLOW_LIMIT=10                           seconds after which a run is stopped
set -e
CLI="$WORDLOOM_BUILD/cli/wordloom-cli"
GEN="$WORDLOOM_BUILD/bench/repeating_text"
BEFORE=${BEFORE_CLI:-}
SIZES=${SIZES:-10000 100000 1000000 5000000}
SLOW_LIMIT=${SLOW_LIMIT:-10}
cd "$BENCH_DATA"

# Prints "cpu-seconds wall-seconds outcome" of one run, the output to /dev/null.
run() {
  status=0
  /usr/bin/time -f '%U %S %e' -o shape.time timeout "$SLOW_LIMIT" "$1" phrase-count "$2" > /dev/null 2> shape.err || status=$?
  times=$(tail -n 1 shape.time | awk '{ printf "%.2f %.2f", $1 + $2, $3 }')
  case "$status" in
    0) echo "$times result" ;;
    124|137) echo ">$SLOW_LIMIT >$SLOW_LIMIT stopped" ;;
    *) if grep -q repetitive shape.err; then echo "$times refused"; else echo "$times exit-$status"; fi ;;
  esac
}

echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg); before = ${BEFORE:-none}; stopped after $SLOW_LIMIT s"
printf '%-34s %-26s %s\n' shape "before (cpu wall s)" "after (cpu wall s)"
worst=0; worst_shape=-
shape() {
  name=$1; shift
  "$@" > shape.txt
  b=-
  [ -z "$BEFORE" ] || b=$(run "$BEFORE" shape.txt)
  a=$(run "$CLI" shape.txt)
  printf '%-34s %-26s %s\n' "$name" "$b" "$a"
  t=${a%% *}; t=${t#>}
  if awk "BEGIN { exit !($t > $worst) }"; then worst=$t; worst_shape=$name; fi
}
repeat_words() { awk -v w="$1" -v n="$2" 'BEGIN { for (i = 0; i < n; i++) printf "%s", w }'; }

shape 'zz x 10,000' repeat_words 'zz ' 10000
shape 'zz x 33,334' repeat_words 'zz ' 33334
shape 'ab cd x 20,000' repeat_words 'ab cd ' 20000
shape 'one two three x 30,000' repeat_words 'one two three ' 30000
for bytes in $SIZES; do
  for period in 1 2 3 5 8 21 60 150 400 1000; do
    # Whole, a few words changed, and one word in about a thousand changed.
    for changes in 0 3 $((bytes / 5000)); do
      shape "period $period, $changes changed, $bytes" "$GEN" periodic "$period" "$changes" "$bytes"
    done
  done
  for period in 21 150 1000; do
    shape "stretches of $period, $bytes" "$GEN" stretches "$period" 0 "$bytes"
  done
done
rm -f shape.txt shape.err shape.time
echo "longest, in CPU time: $worst s ($worst_shape) (goal <= 2 s)"
