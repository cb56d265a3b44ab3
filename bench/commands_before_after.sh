#!/bin/sh
# Every command of wordloom-cli in two builds, run alternately on the same
# texts in one run: median wall time, median processor time (user + system)
# and peak memory of each, and the after/before ratio of the wall times.
#   bench/commands_before_after.sh BEFORE_CLI [AFTER_CLI]
# Texts: kjv5.txt (the Bible five times) and lines.txt (one million generated
# lines), as bench/sorting.sh makes them; Phrase Count on kjv.txt (five Bibles
# are refused as too repetitive). Input on standard input, which both read.
set -e
BEFORE=${1:?give the older wordloom-cli}
AFTER=${2:-$WORDLOOM_BUILD/cli/wordloom-cli}
RUNS=${RUNS:-5}
BENCH_DATA=${BENCH_DATA:-$(dirname "$AFTER")/../bench-data}
[ -s "$BENCH_DATA/lines.txt" ] && [ -s "$BENCH_DATA/kjv5.txt" ] || {
  echo "run bench/sorting.sh first: it makes lines.txt and kjv5.txt" >&2; exit 1; }
T=$(mktemp -d); trap 'rm -rf "$T"' EXIT
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
one() { # CLI COMMAND INPUT OUT: appends "wall cpu peakKiB"
  /usr/bin/time -f '%e %U %S %M' -o "$T/t" "$1" "$2" < "$3" > "$T/out.$4"
  awk '{ print $1, $2 + $3, $4 }' "$T/t" >> "$T/$4"
}
printf '%-16s %-9s %22s %22s %6s %s\n' command text "before: s / cpu / MiB" "after: s / cpu / MiB" ratio same
for job in change-case:kjv5 characters-only:kjv5 letters-only:kjv5 binary-codes:kjv5 \
           sort-lines:lines unique-lines:lines sort-words:kjv5 unique-words:kjv5 \
           word-count:kjv5 phrase-count:kjv; do
  cmd=${job%%:*} text=${job#*:}
  : > "$T/b"; : > "$T/a"
  i=0
  while [ $i -lt "$RUNS" ]; do
    one "$BEFORE" "$cmd" "$BENCH_DATA/$text.txt" b
    one "$AFTER" "$cmd" "$BENCH_DATA/$text.txt" a
    i=$((i + 1))
  done
  cmp -s "$T/out.b" "$T/out.a" && same=yes || same=NO
  for s in b a; do
    eval "w_$s=\$(awk '{ print \$1 }' \"\$T/\$s\" | median)"
    eval "c_$s=\$(awk '{ print \$2 }' \"\$T/\$s\" | median)"
    eval "m_$s=\$(awk '{ print int(\$3 / 1024) }' \"\$T/\$s\" | median)"
  done
  printf '%-16s %-9s %22s %22s %6s %s\n' "$cmd" "$text" "$w_b / $c_b / $m_b" "$w_a / $c_a / $m_a" \
    "$(awk -v a="$w_a" -v b="$w_b" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')" "$same"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
