#!/bin/sh
# The real window under X11, driven as a person drives it: Xvfb with the
# openbox window manager, xdotool for the mouse and the keys, xclip for the
# clipboard. One or two builds, side by side:
#
#   bench/real_window.sh [AFTER_BIN [BEFORE_BIN]]
#
# (bench/run calls it without arguments: $WORDLOOM_BUILD/app/wordloom, and
# $WORDLOOM_BEFORE as the second binary when that is set.)
#
# For every action: the time from the action to its outcome, and the longest
# the window's main thread took to answer a ping (real_window/x11_ping.c)
# during the action and in the RW_SETTLE seconds after its outcome. Outcomes
# are read from the screen (real_window/x11_strip.c: the status bar reads
# "Ready" again, a pane shows text or is empty), from the clipboard (xclip -o)
# and from the process (it exited). The parts are in real_window/.
#
#   RW_TIMEOUT  caps every wait, seconds (30); past it the window is killed and
#               started again, and the text pasted again for the next action
#   RW_SETTLE   seconds of pings after each outcome (5: the before build's
#               freeze after Sort Words began about 3 s after its click)
#   RW_PING_MS  spacing of the pings (150)
#   RW_TEXTS    which texts, of "bible lines" (both)
#   RW_COMMANDS which command buttons, by caption, comma-separated ("Phrase Count"); set, the
#               session runs only the paste, those commands and the close
#   RW_CLOSE_MS closes during each of those commands this many ms after its
#               click, one window per figure ("500 1000 1500"; none unset)
set -u
cd "$(dirname "$0")/.." || exit 1

AFTER=${1:-${WORDLOOM_BUILD:+$WORDLOOM_BUILD/app/wordloom}}
BEFORE=${2:-${WORDLOOM_BEFORE:-}}
TIMEOUT=${RW_TIMEOUT:-30}
SETTLE=${RW_SETTLE:-5}
PING_MS=${RW_PING_MS:-150}
TEXTS=${RW_TEXTS:-bible lines}
COMMANDS=${RW_COMMANDS:-}
CLOSE_MS=${RW_CLOSE_MS:-}

skip() { echo "real_window.sh: skipped: $*"; exit 0; }
for tool in Xvfb openbox xdotool xclip xprop cc timeout; do
  command -v "$tool" > /dev/null 2>&1 || skip "$tool is missing (scripts/install-deps installs it)"
done
[ -n "$AFTER" ] || skip "no wordloom to run (give its path, or set WORDLOOM_BUILD)"
for bin in "$AFTER" $BEFORE; do
  [ -x "$bin" ] || { echo "real_window.sh: $bin is not a program" >&2; exit 1; }
done
BENCH_DATA=${BENCH_DATA:-$(cd "$(dirname "$AFTER")/.." && pwd)/bench-data}

WORK=$(mktemp -d "${TMPDIR:-/tmp}/real_window.XXXXXX")
: > "$WORK/rows.before"
: > "$WORK/rows.after"
: > "$WORK/keys"
: > "$WORK/sessions"
XVFB_PID="" OPENBOX_PID="" WPID="" WATCH_PID="" CLIP_PID=""
cleanup() {
  for pid in $WATCH_PID $CLIP_PID $WPID $OPENBOX_PID $XVFB_PID; do kill "$pid" 2> /dev/null; done
  # A frozen window does not act on TERM.
  [ -n "$WPID" ] && kill -KILL "$WPID" 2> /dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cc -O2 -o "$WORK/x11_ping" bench/real_window/x11_ping.c -lX11 2> "$WORK/cc.log" &&
  cc -O2 -o "$WORK/x11_strip" bench/real_window/x11_strip.c -lX11 2>> "$WORK/cc.log" ||
  skip "the X11 probes do not compile (libx11-dev missing?): $(head -n 3 "$WORK/cc.log")"
PING="$WORK/x11_ping"
STRIP="$WORK/x11_strip"

# ---- texts ----------------------------------------------------------------

mkdir -p "$BENCH_DATA"
for text in $TEXTS; do
  case $text in
    bible)
      if [ ! -s "$BENCH_DATA/kjv.txt" ]; then
        command -v bible > /dev/null || skip "bible (package bible-kjv) is missing"
        bible Gen1:1-Rev22:21 > "$BENCH_DATA/kjv.txt"
      fi ;;
    lines)
      # The same million lines as bench/sorting.sh.
      [ -s "$BENCH_DATA/lines.txt" ] ||
        awk -v lines=1000000 -f bench/lines_corpus.awk > "$BENCH_DATA/lines.txt" ;;
    *) echo "real_window.sh: unknown text $text (bible or lines)" >&2; exit 1 ;;
  esac
done
printf 'wordloom real window placeholder' > "$WORK/placeholder"

use_text() {
  case $1 in
    bible) TEXT=$BENCH_DATA/kjv.txt TITLE="Bible" ;;
    lines) TEXT=$BENCH_DATA/lines.txt TITLE="1 M lines" ;;
  esac
  # The last line, so that Find runs through the whole text to its match.
  NEEDLE=$(tail -n 1 "$TEXT" | sed 's/^ *//')
}

. bench/real_window/measure.sh
. bench/real_window/window.sh
. bench/real_window/clipboard.sh
. bench/real_window/actions.sh

# One window from start to close: LABEL BIN TEXT
session() {
  LABEL=$1 BIN=$2
  use_text "$3"
  CFG=$(mktemp -d "$WORK/config.XXXXXX")
  PINGS="$WORK/pings.$LABEL.$3"
  : > "$PINGS"
  RESTARTS=0 PEAK_KB=0 UNLOADABLE=no
  load_start=$(load)
  echo "== $TITLE, $LABEL: $BIN of $(date -r "$BIN" '+%F %T') ($(wc -c < "$TEXT") bytes, $(wc -l < "$TEXT") lines; load average $load_start)"
  start_window
  probe_check
  paste_keys
  if [ -n "$COMMANDS" ]; then
    commands_only
    return
  fi
  paste_menu
  if need_text; then select_all_and_copy menu text "$TITLE" "$TEXT" "the text"
  else not_run "$TITLE: Select All (menu)"; not_run "$TITLE: Copy (menu)"; fi
  if need_text; then select_all_and_copy keys text "$TITLE" "$TEXT" "the text"
  else not_run "$TITLE: Select All (Ctrl+A)"; not_run "$TITLE: Copy (Ctrl+C)"; fi
  find_text "$NEEDLE" yes "$TITLE: Find, found on the last line"
  find_text "qqzzqq" no "$TITLE: Find, not found"
  for wrap in off on; do
    if need_text; then menu_item text w "$TITLE: Wrap Lines $wrap"; else not_run "$TITLE: Wrap Lines $wrap"; fi
  done
  type_char
  cut_all
  delete_all
  button=1
  for name in "Change Case" "Characters Only" "Letters Only" "Sort Lines" "Sort Words" \
              "Unique Lines" "Unique Words" "Word Count" "Phrase Count" "Binary Codes"; do
    run_command $button "$name"
    button=$((button + 1))
    [ "$name" = "Sort Words" ] || continue
    if [ "$TEXT_IN_PANE" = yes ]; then copy_sorted_words
    elif [ "$UNLOADABLE" = yes ]; then
      not_run "$TITLE: Sort Words result: Select All (menu)"
      not_run "$TITLE: Sort Words result: Copy (menu)"
    else
      not_run "$TITLE: Sort Words result: Select All (menu)" "no result: the window was started again"
      not_run "$TITLE: Sort Words result: Copy (menu)" "no result: the window was started again"
    fi
  done
  peak_memory
  close_window
  echo "$TITLE, $LABEL: load average $load_start at the start, $(load) at the end; window started again $RESTARTS times" >> "$WORK/sessions"
}

# Only the commands named in RW_COMMANDS, then closes during them, then the close.
commands_only() {
  button=1
  for name in "Change Case" "Characters Only" "Letters Only" "Sort Lines" "Sort Words" \
              "Unique Lines" "Unique Words" "Word Count" "Phrase Count" "Binary Codes"; do
    case ",$COMMANDS," in
      *",$name,"*)
        run_command $button "$name"
        for ms in $CLOSE_MS; do close_during $button "$name" "$ms"; done ;;
    esac
    button=$((button + 1))
  done
  peak_memory
  close_window
  echo "$TITLE, $LABEL: load average $load_start at the start, $(load) at the end; window started again $RESTARTS times" >> "$WORK/sessions"
}

# ---- the run ----------------------------------------------------------------------

start_display
echo "real_window.sh: display $DISPLAY, cap $TIMEOUT s, pings every $PING_MS ms, $SETTLE s watched after each outcome; $(nproc) cores"
for text in $TEXTS; do
  [ -n "$BEFORE" ] && session before "$BEFORE" "$text"
  session after "$AFTER" "$text"
done

echo
cat "$WORK/sessions"
echo
echo "Outcome: time from the action to its outcome. Wait: the longest the main thread took to answer a ping, during the action / in the $SETTLE s after its outcome."
if [ -n "$BEFORE" ]; then
  echo "| Action | before | before: wait | after | after: wait | check |"
  echo "|---|---|---|---|---|---|"
else
  echo "| Action | outcome | wait | check |"
  echo "|---|---|---|---|"
fi
while IFS= read -r key; do
  awk -F '\t' -v key="$key" -v two="$BEFORE" '
    FILENAME ~ /before$/ && $1 == key { b = $2; bw = $3 " / " $4; bn = $5 }
    FILENAME ~ /after$/ && $1 == key { a = $2; aw = $3 " / " $4; an = $5 }
    END {
      if (two == "") { printf "| %s | %s | %s | %s |\n", key, a, aw, an; exit }
      if (bn == an) note = an
      else if (bn == "") note = "after: " an
      else if (an == "") note = "before: " bn
      else note = "before: " bn "; after: " an
      printf "| %s | %s | %s | %s | %s | %s |\n", key, b, bw, a, aw, note
    }' "$WORK/rows.before" "$WORK/rows.after" 2> /dev/null
done < "$WORK/keys"
exit 0
