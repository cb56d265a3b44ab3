"""Drives the real Wordloom window as a screen reader does, through AT-SPI.

Usage: atspi_window_test.py WORDLOOM_BINARY. Run on an X display with a
session bus (run_atspi.sh). Exits 0 when every check holds, 1 on a failure,
77 when the accessibility bus or the window cannot be reached at all.
"""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

SKIP = 77
# As long as a test may take at all: a busy machine is slower, never a failure.
TIMEOUT = 20 * 60.0


class Failure(Exception):
    pass


def pump():
    """Delivers the AT-SPI events that wait on the main context."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(what, probe, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        pump()
        try:
            found = probe()
        except Exception:  # the tree changes under us while the window starts
            found = None
        if found:
            return found
        time.sleep(0.05)
    raise Failure("timed out waiting for " + what)


def find(root, predicate):
    return pyatspi.findDescendant(root, predicate)


def wordloom_app(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(binary):
    announced = []

    def on_name(event):
        if event.source is not None and event.source.getRole() == pyatspi.ROLE_STATUS_BAR:
            announced.append(event.source.name)

    try:
        # Brings up the accessibility bus and its registry before the window
        # asks for them; a window that starts first may never register.
        pyatspi.Registry.getDesktop(0).childCount
    except Exception as e:
        print("SKIP: the AT-SPI bus does not answer:", e)
        return SKIP
    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    with tempfile.TemporaryDirectory() as config:
        env["XDG_CONFIG_HOME"] = config  # the placement goes here, never to the user's settings
        window = subprocess.Popen([binary], env=env)
        try:
            app = wait_for("the window on the accessibility bus", lambda: wordloom_app(window.pid))
            frame = wait_for("the frame", lambda: find(app, lambda a: a.getRole() == pyatspi.ROLE_FRAME))
            check_window(frame, announced)
        finally:
            window.kill()
            window.wait()
    return 0


def check_window(frame, announced):
    text_pane = wait_for("the pane named Text", lambda: find(frame, lambda a: a.name == "Text"))
    result_pane = find(frame, lambda a: a.name == "Result")
    check(result_pane is not None, "no pane named Result")
    sort_lines = find(frame, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == "Sort Lines")
    check(sort_lines is not None, "no Sort Lines button")
    status = find(frame, lambda a: a.getRole() == pyatspi.ROLE_STATUS_BAR)
    check(status is not None, "no status bar")
    for caption in ("Cancel", "Exit"):
        button = find(frame, lambda a, c=caption: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == c)
        check(button is not None and button.description, caption + " does not describe itself")

    check(text_pane.queryEditableText().setTextContents("pear\nfig\napple"), "the input pane refused the text")
    check(sort_lines.queryAction().doAction(0), "Sort Lines refused its action")
    wait_for('"Status: Ready" on the status bar', lambda: status.name == "Status: Ready")
    result = result_pane.queryText()
    # Qt hands out a pane's line breaks as the Unicode line or paragraph separator.
    got = result.getText(0, result.characterCount).replace("\u2028", "\n").replace("\u2029", "\n")
    check(got == "apple\nfig\npear", "the result pane reads %r" % got)
    wait_for("the status announced", lambda: "Status: Ready" in announced)


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    try:
        return run(sys.argv[1])
    except Failure as e:
        print("FAIL:", e)
        return 1


if __name__ == "__main__":
    sys.exit(main())
