#!/bin/sh
# wordloom-mpi on one machine: sort-lines, unique-lines and word-count of a
# generated text (MPI_BENCH_BYTES, default 1 GiB) by wordloom-cli, by
# wordloom-mpi on one process (unbound, as wordloom-cli runs) and on two, in
# turn (each run starting with the next of the three), MPI_BENCH_RUNS times (default 3; MPI_BENCH_COMMANDS picks the
# commands), all writing with -o to a file in the
# same folder (standard output of an MPI job passes through mpirun, a cost of
# its own); prints the median
# wall, CPU (user + system of every process) and user seconds, and the
# ratios -n 1 / wordloom-cli (the cost of the frame) and -n 2 / -n 1 (the
# scaling), and whether the bytes are the same, with the load average
# (1 minute) as each line ends: figures from a busy machine are told apart.
# Then the instructions each program runs (cachegrind, when valgrind is
# there and MPI_BENCH_INSTRUCTIONS is not 0): the frame's cost per byte and
# once, figures a busy machine does not move. Then the communication volume: bytes
# sent between processes over input bytes, on 2 and 4 processes (from the
# --status lines). Then a process killed mid-run: kill -9 of process 1, then
# of process 0, of a sort-lines -o job: seconds until the job ends, its exit
# status, and what is left in the folder.
# The line text is base64 of a seeded AES-CTR stream (76 ASCII characters a
# line, all distinct); the word text is lines_corpus.awk's million lines
# (a 50,000-word vocabulary) repeated. Both are made under $BENCH_DATA and
# removed afterwards. On a shared machine user time is the steadiest figure:
# the system time of zeroing fresh (large) pages swings with the other
# processes' use of memory.
set -e
: "${WORDLOOM_BUILD:?set WORDLOOM_BUILD to the build folder}"
: "${BENCH_DATA:?set BENCH_DATA to a data folder}"
CLI="$WORDLOOM_BUILD/cli/wordloom-cli"
MPI="$WORDLOOM_BUILD/mpi/wordloom-mpi"
if [ ! -x "$MPI" ] || ! command -v mpirun > /dev/null; then
  echo "wordloom-mpi or mpirun missing: skipped"
  exit 0
fi
BYTES=${MPI_BENCH_BYTES:-1073741824}
RUNS=${MPI_BENCH_RUNS:-3}
export LC_ALL=C
# One machine: shared memory between the processes, no network probed.
export OMPI_MCA_btl=self,vader OMPI_MCA_pml=ob1 OMPI_MCA_btl_vader_single_copy_mechanism=none
MPIRUN="mpirun --oversubscribe"
[ "$(id -u)" -eq 0 ] && MPIRUN="$MPIRUN --allow-run-as-root"
# Open MPI binds each process to one core when it starts two or fewer: a
# lone process is let onto both cores, as wordloom-cli runs.
ALONE="$MPIRUN --bind-to none"
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d "$BENCH_DATA/mpi.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

openssl enc -aes-256-ctr -pbkdf2 -nosalt -pass pass:wordloom < /dev/zero 2>/dev/null |
  base64 | head -c "$BYTES" > "$work/lines"
awk -v lines=1000000 -f "$here/lines_corpus.awk" > "$work/chunk"
: > "$work/words"
while [ "$(wc -c < "$work/words")" -lt "$BYTES" ]; do cat "$work/chunk" >> "$work/words"; done
truncate -s "$BYTES" "$work/words"
rm -f "$work/chunk"
echo "texts: $BYTES bytes each; $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"

# timed COMMAND...: runs it, prints "wallSeconds cpuSeconds userSeconds".
timed() {
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$@"
  awk '{ print $1, $2 + $3, $2 }' "$work/time"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

compare() {
  cmd=$1 text=$2
  : > "$work/cli.t"; : > "$work/n1.t"; : > "$work/n2.t"
  same=yes
  # Each run starts with another of the three: on a virtual machine the
  # memory a process lets go is cheap to take again for a while, so the
  # one that follows a large run is favoured.
  for run in $(seq "$RUNS"); do
    case $((run % 3)) in
      1) order="cli n1 n2" ;;
      2) order="n1 n2 cli" ;;
      0) order="n2 cli n1" ;;
    esac
    for who in $order; do
      case $who in
        cli) timed "$CLI" "$cmd" -o "$work/cli.out" "$text" >> "$work/cli.t" ;;
        n1) timed $ALONE -n 1 "$MPI" "$cmd" -o "$work/n1.out" "$text" >> "$work/n1.t" ;;
        n2) timed $MPIRUN -n 2 "$MPI" "$cmd" -o "$work/n2.out" "$text" >> "$work/n2.t" ;;
      esac
    done
    cmp -s "$work/cli.out" "$work/n1.out" && cmp -s "$work/cli.out" "$work/n2.out" || same=NO
    rm -f "$work/cli.out" "$work/n1.out" "$work/n2.out"
  done
  set -- $(for f in cli n1 n2; do
             cut -d' ' -f1 "$work/$f.t" | median
             cut -d' ' -f2 "$work/$f.t" | median
             cut -d' ' -f3 "$work/$f.t" | median
           done)
  # The ratios within each round too: the runs of a round follow one
  # another, so a slow spell of a shared machine weighs on both sides.
  set -- "$@" $(paste -d' ' "$work/cli.t" "$work/n1.t" "$work/n2.t" | awk '{ print $4 / $1 }' | median) \
              $(paste -d' ' "$work/cli.t" "$work/n1.t" "$work/n2.t" | awk '{ print $7 / $4 }' | median)
  echo "$@" | awk -v n="$cmd" -v same="$same" -v load="$(cut -d' ' -f1 /proc/loadavg)" '{
    printf "%-12s wall: cli %5.1f s, -n 1 %5.1f s, -n 2 %5.1f s | -n1/cli %4.2f, -n2/-n1 %4.2f (in a round: %4.2f, %4.2f) || CPU: cli %5.1f s, -n 1 %5.1f s, -n 2 %5.1f s | -n1/cli %4.2f, -n2/-n1 %4.2f || user: cli %5.2f s, -n 1 %5.2f s, -n 2 %5.2f s | -n1/cli %4.2f | same bytes: %s | load %s\n",
      n, $1, $4, $7, $4 / $1, $7 / $4, $10, $11, $2, $5, $8, $5 / $2, $8 / $5, $3, $6, $9, $6 / $3, same, load }'
}

echo "medians of $RUNS runs in turn:"
for cmd in ${MPI_BENCH_COMMANDS:-sort-lines unique-lines word-count}; do
  case $cmd in *word*) compare "$cmd" "$work/words" ;; *) compare "$cmd" "$work/lines" ;; esac
done

# The frame's cost in instructions, which a busy or shared machine does not
# change: each program's own instructions (cachegrind; mpirun's are not
# counted) on the first 16 and 64 MiB of the text, split into what the
# frame adds once and per input byte (the slope between the two sizes).
if command -v valgrind > /dev/null && [ "${MPI_BENCH_INSTRUCTIONS:-1}" = 1 ]; then
  echo "instructions (cachegrind; -n 1 and wordloom-cli, the first 16 and 64 MiB):"
  refs() { valgrind --tool=cachegrind --cache-sim=no --cachegrind-out-file=/dev/null "$@" 2>&1 |
           sed -n 's/.*I *refs: *//p' | tr -d ','; }
  for cmd in ${MPI_BENCH_COMMANDS:-sort-lines unique-lines word-count}; do
    text="$work/lines"; case $cmd in *word*) text="$work/words";; esac
    for mib in 16 64; do
      head -c $((mib << 20)) "$text" > "$work/cut$mib"
      refs "$CLI" "$cmd" -o "$work/cut.cli" "$work/cut$mib" > "$work/refs.cli$mib" &
      $ALONE -n 1 valgrind --tool=cachegrind --cache-sim=no --cachegrind-out-file=/dev/null \
        "$MPI" "$cmd" -o "$work/cut.mpi" "$work/cut$mib" 2>&1 | sed -n 's/.*I *refs: *//p' | tr -d ',' > "$work/refs.mpi$mib"
      wait
      cmp -s "$work/cut.cli" "$work/cut.mpi" || echo "  $cmd: NOT the same bytes at $mib MiB"
    done
    awk -v n="$cmd" -v c16="$(cat "$work/refs.cli16")" -v c64="$(cat "$work/refs.cli64")" \
        -v m16="$(cat "$work/refs.mpi16")" -v m64="$(cat "$work/refs.mpi64")" 'BEGIN {
      # a + b x through both sizes: b per byte, a once.
      once = (4 * m16 - m64) / 3 - (4 * c16 - c64) / 3
      printf "  %-12s at 64 MiB: cli %.4g, -n 1 %.4g (%.3f); per byte -n 1 / cli %.3f; -n 1 adds %.3g once\n",
        n, c64, m64, m64 / c64, (m64 - m16) / (c64 - c16), once }'
    rm -f "$work"/cut* "$work"/refs.*
  done
fi

echo "communication volume (bytes sent between processes / input bytes; -o, each process writing its part):"
for cmd in sort-lines unique-lines sort-words unique-words word-count change-case; do
  text="$work/lines"; case $cmd in *word*) text="$work/words";; esac
  line="$cmd"
  for n in 2 4; do
    sent=$($MPIRUN -n $n "$MPI" "$cmd" --status -o "$work/volume.out" "$text" 2>&1 > /dev/null |
           sed -n 's/.*, \([0-9]*\) bytes sent between processes$/\1/p' | tail -n 1)
    line="$line, -n $n: $(awk -v s="$sent" -v b="$BYTES" 'BEGIN { printf "%.3f", s / b }')"
  done
  echo "  $line"
  rm -f "$work/volume.out"
done

# killed VICTIM: a sort-lines -o job on two processes; once both processes
# run and the temporary output exists, kill -9 of the VICTIM-th child of mpirun.
killed() {
  $MPIRUN -n 2 "$MPI" sort-lines -o "$work/killed.out" "$work/lines" > /dev/null 2> "$work/killed.err" &
  job=$!
  while [ "$(pgrep -P $job | wc -l)" -lt 2 ] || ! ls -a "$work" | grep -q '^\.wordloom-cli-'; do
    sleep 0.1
  done
  victim=$(pgrep -P $job | sort -n | sed -n "${1}p")
  start=$(date +%s.%N)
  kill -9 "$victim"
  status=0
  wait $job || status=$?
  end=$(date +%s.%N)
  left=$(ls -A "$work" | grep -v -e '^lines$' -e '^words$' -e '^time$' -e '\.t$' -e '^killed.err$' | tr '\n' ' ')
  echo "  kill -9 of process $(($1 - 1)): the job ended after $(echo "$end - $start" | bc) s with status $status; left behind: ${left:-nothing}"
}
echo "a process killed mid-run:"
killed 2
killed 1
