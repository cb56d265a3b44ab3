# real_window.sh: what a person does in the window, one function an action.

probe_check() {
  begin
  gone && { timed_out "$TITLE: probe check"; return; }
  kill -STOP "$WPID"; sleep 2; kill -CONT "$WPID"
  key="$TITLE: probe check, the window process stopped 2 s"
  if t1=$(answered); then outcome "$t1" "$key"; else timed_out "$key"; fi
}

# Click in the input pane, Ctrl+A, Delete: until the pane shows nothing and
# the window answers. A window that cannot is started again.
empty_pane() {
  for _ in 1 2; do
    begin
    click "$PANE_X" "$TEXT_MID" 1
    xdotool key ctrl+a Delete
    answered > /dev/null && text_pane_until equal > /dev/null && { TEXT_IN_PANE=no; return 0; }
    restart_window
  done
  return 1
}

# Pastes the text by Ctrl+V into the emptied pane; PASTED is when it showed
# text and answered. Returns 2 when the pane would not empty. (Never run in a
# subshell: it may start the window again.)
paste_by_keys() {
  empty_pane || return 2
  clip_own "$TEXT"
  begin
  xdotool key ctrl+v
  a=$(answered) && b=$(text_pane_until differ) || return 1
  PASTED=$(later "$a" "$b")
  TEXT_IN_PANE=yes
}

# Pastes the text again when an action needs it in the pane; once it has
# failed to load within the cap, the session does without it.
need_text() {
  [ "$TEXT_IN_PANE" = yes ] && return 0
  [ "$UNLOADABLE" = yes ] && return 1
  paste_by_keys && return 0
  UNLOADABLE=yes
  restart_window
  return 1
}

paste_keys() {
  key="$TITLE: Paste (Ctrl+V) into the empty pane"
  paste_by_keys
  case $? in
    0) outcome "$PASTED" "$key" ;;
    2) not_run "$key" "the pane did not empty" ;;
    *) timed_out "$key" ;;
  esac
}

paste_menu() {
  key="$TITLE: Paste (menu) into the empty pane"
  empty_pane || { not_run "$key" "the pane did not empty"; return; }
  clip_own "$TEXT"
  begin
  open_menu text || { timed_out "$key" "$MENU_NOTE"; return; }
  shown=$(($(now) - T0))
  xdotool key p
  if a=$(answered) && b=$(text_pane_until differ); then
    TEXT_IN_PANE=yes
    outcome "$(later "$a" "$b")" "$key" "menu shown at $(secs "$shown")"
  else timed_out "$key"; fi
}

# A menu item whose outcome is that the window answers: PANE LETTER KEY
menu_item() {
  begin
  open_menu "$1" || { timed_out "$3" "$MENU_NOTE"; return 1; }
  xdotool key "$2"
  if t1=$(answered); then outcome "$t1" "$3"; else timed_out "$3"; return 1; fi
}

# Select All then Copy, by the menu or by the keys (menu|keys PANE WHAT
# EXPECTED DESCRIBE); the clipboard against the file EXPECTED.
select_all_and_copy() {
  how=$1 pane=$2 what=$3 expected=$4 describe=$5
  if [ "$how" = menu ]; then
    select="$what: Select All (menu)" copy="$what: Copy (menu)"
    menu_item "$pane" a "$select" || { not_run "$copy" "Select All failed"; return; }
  else
    select="$what: Select All (Ctrl+A)" copy="$what: Copy (Ctrl+C)"
    begin
    click "$PANE_X" "$TEXT_MID" 1
    answered > /dev/null || { timed_out "$select" "the click was not answered"; not_run "$copy" "Select All failed"; return; }
    begin
    xdotool key ctrl+a
    if t1=$(answered); then outcome "$t1" "$select"
    else timed_out "$select"; not_run "$copy" "Select All failed"; return; fi
  fi
  [ "$TEXT_IN_PANE" = yes ] || { not_run "$copy" "the window was started again"; return; }
  clip_own "$WORK/placeholder"
  begin
  if [ "$how" = menu ]; then
    open_menu "$pane" || { timed_out "$copy" "$MENU_NOTE"; return; }
    xdotool key c
  else
    xdotool key ctrl+c
  fi
  if t1=$(clip_read); then outcome "$t1" "$copy" "$(clip_note "$expected" "$describe")"; else timed_out "$copy"; fi
}

# Closes the not-found message box with Enter once it has the focus.
close_box() {
  begin
  until [ "$(xdotool getwindowfocus 2> /dev/null)" = "$(named 'Mnemora Text Search')" ]; do
    before_deadline || { restart_window; return; }
    sleep 0.02
  done
  xdotool key Return
  answered > /dev/null || restart_window
}

# Find through the prompt: NEEDLE FOUND(yes|no) KEY
find_text() {
  need_text || { not_run "$3"; return; }
  begin
  open_menu text && xdotool key f || { timed_out "$3" "$MENU_NOTE"; return; }
  until [ -n "$(named 'Wordloom Search')" ]; do before_deadline || { timed_out "$3" "no prompt"; return; }; sleep 0.02; done
  prompt=$(($(now) - T0))
  # The keys go where the window manager has put the focus.
  until [ "$(xdotool getwindowfocus 2> /dev/null)" = "$(named 'Wordloom Search')" ]; do
    before_deadline || { timed_out "$3" "the prompt never had the focus"; return; }
    sleep 0.02
  done
  answered > /dev/null || { timed_out "$3"; return; }
  xdotool key ctrl+a type --delay 5 "$1"
  begin
  xdotool key Return
  if [ "$2" = yes ]; then
    if t1=$(answered); then
      box=; [ -n "$(named 'Mnemora Text Search')" ] && box=", NOT found"
      outcome "$t1" "$3" "timed from Enter; prompt shown at $(secs "$prompt")$box"
      [ -n "$box" ] && [ "$TEXT_IN_PANE" = yes ] && close_box
    else timed_out "$3"; fi
    return
  fi
  until [ -n "$(named 'Mnemora Text Search')" ]; do before_deadline || { timed_out "$3"; return; }; sleep 0.02; done
  outcome "$(now)" "$3" "timed from Enter to the message; prompt shown at $(secs "$prompt")"
  [ "$TEXT_IN_PANE" = yes ] && close_box
}

type_char() {
  key="$TITLE: type one character into the pane"
  need_text || { not_run "$key"; return; }
  begin
  click "$PANE_X" "$TEXT_MID" 1
  answered > /dev/null || { timed_out "$key" "the click was not answered"; return; }
  begin
  xdotool key x
  if t1=$(answered); then outcome "$t1" "$key" "then BackSpace"; else timed_out "$key"; return; fi
  begin
  xdotool key BackSpace
  answered > /dev/null || restart_window
}

cut_all() {
  key="$TITLE: Cut (menu), all selected"
  need_text || { not_run "$key"; return; }
  begin
  open_menu text && xdotool key a && answered > /dev/null || { timed_out "$key" "Select All failed"; return; }
  clip_own "$WORK/placeholder"
  begin
  open_menu text || { timed_out "$key" "$MENU_NOTE"; return; }
  xdotool key t
  if c=$(clip_read) && a=$(answered) && b=$(text_pane_until equal); then
    TEXT_IN_PANE=no
    outcome "$(later "$(later "$a" "$b")" "$c")" "$key" "$(clip_note "$TEXT" "the text")"
  else timed_out "$key"; fi
}

delete_all() {
  key="$TITLE: Delete (menu), all selected"
  need_text || { not_run "$key"; return; }
  begin
  open_menu text && xdotool key a && answered > /dev/null || { timed_out "$key" "Select All failed"; return; }
  begin
  open_menu text || { timed_out "$key" "$MENU_NOTE"; return; }
  xdotool key d
  if a=$(answered) && b=$(text_pane_until equal); then
    TEXT_IN_PANE=no
    outcome "$(later "$a" "$b")" "$key"
  else timed_out "$key"; fi
}

# A command button (1-10 down the column): click to "Ready" on the screen.
# The status bar is watched from before the click, so that the texts of a
# short run are not missed.
run_command() {
  key="$TITLE: $2"
  need_text || { not_run "$key"; return; }
  "$STRIP" until differ "$WIN" $STATUS_REGION "$WORK/ready" $((TIMEOUT * 1000 + 1000)) > /dev/null &
  watcher=$!
  sleep 0.1
  begin
  click_button "$1"
  if wait "$watcher" && t1=$(status_until equal); then outcome "$t1" "$key"
  else timed_out "$key"; fi
}

# The result of Sort Words, selected and copied by the menu, against
# wordloom-cli's (of the after build, else of the before build).
copy_sorted_words() {
  expected="$WORK/sorted-words.$TITLE"
  if [ ! -f "$expected" ]; then
    for cli in "$(dirname "$AFTER")/../cli/wordloom-cli" "$(dirname "${BEFORE:-$AFTER}")/../cli/wordloom-cli" ""; do
      [ -x "$cli" ] && "$cli" sort-words < "$TEXT" > "$expected" && break
    done
    [ -f "$expected" ] || : > "$expected"
  fi
  describe="wordloom-cli sort-words"
  [ -s "$expected" ] || describe="(no wordloom-cli to compare with)"
  select_all_and_copy menu result "$TITLE: Sort Words result" "$expected" "$describe"
}

peak_memory() {
  note_peak_memory
  note="with the text and the last result shown"
  [ "$RESTARTS" -gt 0 ] && note="highest of the $((RESTARTS + 1)) window processes (restarted after a cap)"
  record "$TITLE: peak memory (VmHWM)" "$((PEAK_KB / 1024)) MiB" "–" "–" "$note"
}

close_window() {
  key="$TITLE: close (Alt+F4 through openbox)"
  timeout 5 xdotool windowactivate --sync "$WIN" 2> /dev/null
  kill "$WATCH_PID" 2> /dev/null
  begin
  xdotool key alt+F4
  while kill -0 "$WPID" 2> /dev/null && [ -z "$(ps -o stat= -p "$WPID" | grep Z)" ]; do
    before_deadline || break
    sleep 0.02
  done
  t1=$(now)
  if kill -0 "$WPID" 2> /dev/null && [ -z "$(ps -o stat= -p "$WPID" | grep Z)" ]; then
    record "$key" "> $TIMEOUT s" "–" "–" "did not exit; killed"
    kill -KILL "$WPID" 2> /dev/null
  else
    conf="$CFG/Wordloom/Wordloom.conf"
    stored="placement NOT stored"
    [ -f "$conf" ] && [ "$(grep -cE '^(Top|Left|Width|Height)=' "$conf")" -eq 4 ] && stored="placement stored (Top, Left, Width, Height)"
    record "$key" "$(secs $((t1 - T0)))" "–" "–" "$stored"
  fi
  wait "$WPID" 2> /dev/null
  WPID=
}

# A command button (1-10) clicked, the window closed (Alt+F4) DELAY ms later,
# whatever stage the command has reached: the time from the close to the
# process's end. The window is started again for what follows.
close_during() {
  key="$TITLE: $2, closed $3 ms after the click"
  need_text || { not_run "$key"; return; }
  timeout 5 xdotool windowactivate --sync "$WIN" 2> /dev/null
  begin
  click_button "$1"
  sleep_ms "$3"
  kill "$WATCH_PID" 2> /dev/null
  t0=$(now)
  xdotool key alt+F4
  while kill -0 "$WPID" 2> /dev/null && [ -z "$(ps -o stat= -p "$WPID" | grep Z)" ]; do
    before_deadline || break
    sleep 0.02
  done
  t1=$(now)
  if kill -0 "$WPID" 2> /dev/null && [ -z "$(ps -o stat= -p "$WPID" | grep Z)" ]; then
    record "$key" "> $TIMEOUT s" "–" "–" "did not exit; killed"
    kill -KILL "$WPID" 2> /dev/null
  else
    record "$key" "$(secs $((t1 - t0)))" "–" "–" "exited"
  fi
  wait "$WPID" 2> /dev/null
  start_window
}
