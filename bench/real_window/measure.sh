# real_window.sh: the clock of an action, the watcher's pings and the rows of results.

now() { date +%s%3N; }
secs() { awk -v ms="$1" 'BEGIN { printf "%.2f s", ms / 1000 }'; }
sleep_ms() { [ "$1" -gt 0 ] && sleep "$(awk -v ms="$1" 'BEGIN { print ms / 1000 }')"; return 0; }
load() { cut -d ' ' -f 1 /proc/loadavg; }

# An action's clock and its cap. Two clicks on one spot within Qt's
# double-click interval make a double click, so an action starts at least
# 600 ms after the last click, as a person's would.
begin() {
  sleep_ms $((LAST_CLICK + 600 - $(now)))
  T0=$(now)
  DEADLINE=$((T0 + TIMEOUT * 1000))
}
LAST_CLICK=0
click() { xdotool mousemove --window "$WIN" "$1" "$2" click "$3"; LAST_CLICK=$(now); }
ms_left() { l=$((DEADLINE - $(now))); [ "$l" -gt 1 ] && echo "$l" || echo 1; }
before_deadline() { [ "$(now)" -lt "$DEADLINE" ]; }

# The longest wait (ms) of the watcher's pings overlapping [FROM, TO]; one
# still unanswered counts until now, marked ">".
longest_wait() {
  awk -v from="$1" -v to="$2" -v now="$(now)" '
    $1 == "P" { pending = $2 }
    $1 == "A" { pending = ""; if ($2 <= to && $3 >= from && $3 - $2 > max) max = $3 - $2 }
    END { if (pending != "" && pending <= to && now - pending > max) { max = now - pending; open = ">" }
          printf "%s%d\n", open, max }' "$PINGS"
}
ping_unanswered_since() {
  awk -v to="$1" '$1 == "P" { p = $2 } $1 == "A" { p = "" } END { if (p != "" && p <= to) print p }' "$PINGS"
}
wait_text() { case $1 in ">"*) echo "> $(secs "${1#>}")" ;; *) secs "$1" ;; esac; }

# record KEY OUTCOME DURING AFTER NOTE
record() {
  grep -Fxq "$1" "$WORK/keys" 2> /dev/null || echo "$1" >> "$WORK/keys"
  printf '%s\t%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$4" "$5" >> "$WORK/rows.$LABEL"
  printf '  %-7s %-58s %-10s wait %s / %s  %s\n' "$LABEL" "$1" "$2" "$3" "$4" "$5"
}

# The outcome came at T1: records the time and the longest waits during the
# action and after it. A ping the window has not answered when the settling
# time ends is waited for, up to the cap: the freeze used to come after "Ready".
outcome() {
  t1=$1 key=$2 note=${3:-}
  settled=$((t1 + SETTLE * 1000))
  sleep_ms $((settled - $(now)))
  while [ -n "$(ping_unanswered_since "$settled")" ] && [ "$(now)" -lt $((t1 + TIMEOUT * 1000)) ]; do
    sleep 0.05
  done
  during=$(longest_wait "$T0" "$t1")
  after=$(longest_wait "$t1" "$settled")
  record "$key" "$(secs $((t1 - T0)))" "$(wait_text "$during")" "$(wait_text "$after")" "$note"
  case $after in ">"*) restart_window ;; esac
}

# Past the cap: records it with the process's other windows then open (a
# message box, say), keeps a picture of the window when RW_SHOTS names a
# folder, and starts the window again.
timed_out() {
  gone
  open=$(xdotool search --onlyvisible --pid "$WPID" 2> /dev/null | grep -vx "$WIN" |
    while read -r w; do printf '"%s" ' "$(xdotool getwindowname "$w")"; done)
  note=${2:-}${open:+ open: $open}${GONE:+ $GONE}
  [ -n "${RW_SHOTS:-}" ] && mkdir -p "$RW_SHOTS" &&
    "$STRIP" shot "$WIN" "$RW_SHOTS/$LABEL-$(echo "$1" | tr -c 'A-Za-z0-9\n' '-').ppm"
  record "$1" "> $TIMEOUT s" "$(wait_text "$(longest_wait "$T0" "$(now)")")" "–" "$note"
  restart_window
}

# Whether the window process has ended by itself; GONE says so, and the end
# of its output is shown.
gone() {
  GONE=
  kill -0 "$WPID" 2> /dev/null && [ -z "$(ps -o stat= -p "$WPID" | grep Z)" ] && return 1
  wait "$WPID"
  GONE="(the window process had ended, exit status $?)"
  echo "real_window.sh: the window process ended by itself; its output ends:" >&2
  tail -n 5 "$WORK/window.log" >&2
}

not_run() { record "$1" "not run" "–" "–" "${2:-the text did not load within $TIMEOUT s}"; }
