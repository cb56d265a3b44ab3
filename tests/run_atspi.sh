#!/bin/sh
# Runs the AT-SPI window test on Xvfb with its own session bus, where the
# accessibility bus starts on demand. Exits 77 (skipped) when a piece is missing.
# Debian's pyatspi lives in the system Python, not in whatever python3 is first on PATH.
here=$(dirname "$0")
python=/usr/bin/python3
command -v dbus-run-session >/dev/null || { echo "SKIP: dbus-run-session missing (package dbus)"; exit 77; }
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: at-spi-bus-launcher missing (package at-spi2-core)"; exit 77; }
"$python" -c "import pyatspi" 2>/dev/null || { echo "SKIP: $python cannot import pyatspi (package python3-pyatspi)"; exit 77; }
dbus-run-session -- true 2>/dev/null || { echo "SKIP: no session bus can start"; exit 77; }
# A hang ends after 20 minutes, as the tests' other waits do.
exec timeout 1200 dbus-run-session -- "$here/run_on_x11.sh" "$python" "$here/atspi_window_test.py" "$@"
