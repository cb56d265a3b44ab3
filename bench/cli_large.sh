#!/bin/sh
# wordloom-cli beyond memory: sort-lines and unique-lines of a generated 2 GB
# text with --buffer-size=256M against LC_ALL=C sort -S 256M (and sort -u),
# side by side in one run, with the same temporary directory.
# The text (base64 lines of a seeded AES-CTR stream: 76 ASCII characters, no
# tabs or leading spaces, so both tools order the same lines the same way) is
# made at run time under $BENCH_DATA and removed afterwards, with the outputs.
# CLI_LARGE_BYTES sets another size. Prints seconds, the ratio, peak RSS and
# whether the lines are the same bytes (wordloom-cli writes no final LF).
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

# timed OUTPUT COMMAND...: runs it, prints "seconds peakKiB".
timed() {
  out=$1; shift
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" > "$out"
  cat "$work/time"
}

# compare NAME WORDLOOM_OPTIONS SORT_OPTIONS
compare() {
  ours=$(timed "$work/ours" "$CLI" $2 --buffer-size=256M -T "$work" "$work/text")
  theirs=$(timed "$work/theirs" sort $3 -S 256M -T "$work" "$work/text")
  # sort-lines puts the empty lines first and ends without LF; unique-lines drops them.
  printf '\n' >> "$work/ours"
  grep -v '^$' "$work/ours" | cmp -s - "$work/theirs" && same=yes || same=NO
  rm -f "$work/ours" "$work/theirs"
  echo "$ours $theirs" | awk -v n="$1" -v same="$same" -v s="$BYTES" '{
    printf "%-13s wordloom %7.1f s (peak RSS %4.0f MiB)  sort %7.1f s (%4.0f MiB)  ratio %5.2f  same bytes: %s\n",
      n, $1, $2 / 1024, $3, $4 / 1024, ($3 > 0 ? $1 / $3 : 0), same }'
}

echo "text: $(wc -c < "$work/text") bytes, $(wc -l < "$work/text") line feeds; one run each, alternating"
compare sort-lines sort-lines ""
compare unique-lines unique-lines "-u"
