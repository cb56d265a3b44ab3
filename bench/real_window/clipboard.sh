# real_window.sh: the clipboard, through xclip.

# Puts FILE's bytes on the clipboard: xclip owns it and serves them until
# another program takes it over.
clip_own() {
  kill "$CLIP_PID" 2> /dev/null
  xclip -quiet -selection clipboard -i "$1" > /dev/null 2>&1 &
  CLIP_PID=$!
  i=0
  until timeout 2 xclip -o -selection clipboard -t TARGETS > /dev/null 2>&1; do
    i=$((i + 1)); [ $i -lt 100 ] || { echo "real_window.sh: xclip does not own the clipboard" >&2; exit 1; }
    sleep 0.02
  done
}

# Reads the clipboard until it holds something other than the placeholder;
# prints when the reading ended.
clip_read() {
  while before_deadline; do
    timeout "$(awk -v ms="$(ms_left)" 'BEGIN { print ms / 1000 }')" \
      xclip -o -selection clipboard > "$WORK/clip.out" 2> /dev/null
    if [ -s "$WORK/clip.out" ] && ! cmp -s "$WORK/clip.out" "$WORK/placeholder"; then now; return 0; fi
    sleep 0.05
  done
  return 1
}

# What the clipboard holds against the expected text.
clip_note() {
  n=$(wc -c < "$WORK/clip.out")
  if cmp -s "$WORK/clip.out" "$1"; then echo "$n bytes, exactly $2"
  elif tr -d '\r' < "$WORK/clip.out" | cmp -s - "$1"; then echo "$n bytes, $2 with CR LF line breaks"
  else echo "$n bytes, NOT $2 ($(wc -c < "$1") bytes)"
  fi
}
