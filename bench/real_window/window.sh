# real_window.sh: the X display, the window, where its controls are and what it shows.

start_display() {
  # The window manager and the window keep their settings in the temporary folder.
  export XDG_CONFIG_HOME="$WORK/xdg-config" XDG_CACHE_HOME="$WORK/xdg-cache" XDG_DATA_HOME="$WORK/xdg-data"
  # Xvfb picks a free display itself, so that other X tests can run alongside.
  Xvfb -displayfd 3 -noreset -screen 0 1600x1000x24 -nolisten tcp 3> "$WORK/display" > "$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  i=0
  until [ -s "$WORK/display" ] && DISPLAY=":$(cat "$WORK/display")" xdotool getdisplaygeometry > /dev/null 2>&1; do
    i=$((i + 1)); [ $i -lt 100 ] || { echo "real_window.sh: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
  done
  export DISPLAY=":$(cat "$WORK/display")"
  openbox > "$WORK/openbox.log" 2>&1 &
  OPENBOX_PID=$!
  i=0
  until xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id'; do
    i=$((i + 1)); [ $i -lt 100 ] || { echo "real_window.sh: openbox did not start" >&2; exit 1; }
    sleep 0.1
  done
}

# Where the buttons, the panes and the status bar are, read from the pixels:
# the buttons are the runs of rows where a column near the right edge differs
# from the background, the panes the long runs of a column near the left.
find_layout() {
  eval "$(xdotool getwindowgeometry --shell "$WIN" | sed -n 's/^\(WIDTH\|HEIGHT\)=/GEOM_\1=/p')"
  BUTTONS=$("$STRIP" runs "$WIN" $((GEOM_WIDTH - 20)) $((GEOM_WIDTH - 4)) 2 | awk '{ printf "%d ", ($1 + $2) / 2 }')
  set -- $BUTTONS
  [ $# -eq 12 ] || { echo "real_window.sh: found $# buttons, not 12" >&2; return 1; }
  set -- $("$STRIP" runs "$WIN" 40 $((GEOM_WIDTH - 4)) 2 | awk '$2 - $1 > 40')
  [ $# -eq 4 ] || { echo "real_window.sh: did not find the two panes" >&2; return 1; }
  TEXT_MID=$((($1 + $2) / 2)) RESULT_MID=$((($3 + $4) / 2))
  BUTTON_X=$((GEOM_WIDTH - 45))
  PANE_X=$(((GEOM_WIDTH - 110) / 2))
  # Clear of the caret at a line's start and of the scroll bars.
  TEXT_REGION="25 $(($1 + 4)) $((GEOM_WIDTH - 175)) $(($2 - $1 - 24))"
  STATUS_REGION="0 $((GEOM_HEIGHT - 24)) $((GEOM_WIDTH < 400 ? GEOM_WIDTH : 400)) 24"
}

answered() { "$PING" once "$WIN" "$(ms_left)"; }
text_pane_until() { "$STRIP" until "$1" "$WIN" $TEXT_REGION "$WORK/text.empty" "$(ms_left)"; }
status_until() { "$STRIP" until "$1" "$WIN" $STATUS_REGION "$WORK/ready" "$(ms_left)"; }
click_button() { idx=$1; set -- $BUTTONS; eval "y=\${$idx}"; click "$BUTTON_X" "$y" 1; }
later() { [ "$1" -gt "$2" ] && echo "$1" || echo "$2"; }

# The references: "Ready" after Change Case on the short text the window
# opens with, and the input pane emptied.
take_references() {
  begin
  click_button 1
  answered > /dev/null || return 1
  sleep 1
  "$STRIP" grab "$WIN" $STATUS_REGION "$WORK/ready" || return 1
  click "$PANE_X" "$TEXT_MID" 1
  xdotool key ctrl+a Delete
  answered > /dev/null || return 1
  sleep 0.5
  "$STRIP" grab "$WIN" $TEXT_REGION "$WORK/text.empty"
}

start_window() {
  XDG_CONFIG_HOME="$CFG" NO_AT_BRIDGE=1 "$BIN" >> "$WORK/window.log" 2>&1 &
  WPID=$!
  WIN=
  begin
  while [ -z "$WIN" ]; do
    kill -0 "$WPID" 2> /dev/null && before_deadline || { echo "real_window.sh: $BIN did not open its window" >&2; exit 1; }
    sleep 0.1
    WIN=$(named Wordloom)
  done
  answered > /dev/null && sleep 0.5 && find_layout && take_references ||
    { echo "real_window.sh: the window of $BIN does not look as expected" >&2; exit 1; }
  "$PING" watch "$WIN" "$PING_MS" >> "$PINGS" 2> /dev/null &
  WATCH_PID=$!
  TEXT_IN_PANE=no
}

note_peak_memory() {
  kb=$(awk '/^VmHWM/ { print $2 }' "/proc/$WPID/status" 2> /dev/null)
  [ -n "$kb" ] && [ "$kb" -gt "$PEAK_KB" ] && PEAK_KB=$kb
  return 0
}

restart_window() {
  note_peak_memory
  kill "$WATCH_PID" 2> /dev/null
  kill -KILL "$WPID" 2> /dev/null
  wait "$WPID" 2> /dev/null
  RESTARTS=$((RESTARTS + 1))
  start_window
}

popup() { xdotool search --onlyvisible --pid "$WPID" 2> /dev/null | grep -vx "$WIN" | head -n 1; }
# (xdotool's search matches any of its conditions unless told --all.)
named() { xdotool search --all --onlyvisible --pid "$WPID" --name "^$1\$" 2> /dev/null | head -n 1; }

# Right-clicks the pane (text or result) and waits until its menu is shown
# and the window answers from the menu's loop, which has the keyboard then;
# MENU_NOTE says which failed.
open_menu() {
  y=$TEXT_MID
  [ "$1" = result ] && y=$RESULT_MID
  click "$PANE_X" "$y" 3
  MENU_NOTE="the menu did not open"
  until [ -n "$(popup)" ]; do before_deadline || return 1; sleep 0.02; done
  MENU_NOTE="the menu opened, the window did not answer"
  answered > /dev/null
}
