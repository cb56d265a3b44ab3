#!/bin/sh
# Runs a command on a real X server with a window manager, as people use the
# window: Xvfb and openbox. Exits 77 (skipped) when they are not installed.
command -v Xvfb >/dev/null && command -v openbox >/dev/null || { echo "Xvfb or openbox missing"; exit 77; }
tmp=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
xvfb=$!
# Each start is awaited while it lives, up to 20 minutes: a busy machine is
# slower, never a failure.
for _ in $(seq 12000); do [ -s "$tmp/display" ] && break; kill -0 $xvfb 2>/dev/null || break; sleep 0.1; done
export DISPLAY=":$(cat "$tmp/display")" QT_QPA_PLATFORM=xcb
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# Ready once the window manager announces itself on the root window.
for _ in $(seq 12000); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; kill -0 $wm 2>/dev/null || break; sleep 0.1; done
"$@"
status=$?
kill $wm $xvfb 2>/dev/null
wait 2>/dev/null
rm -rf "$tmp"
exit $status
