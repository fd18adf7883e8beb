#!/usr/bin/python3
"""The real program on a real X server: help button, then a close request
(WM_DELETE_WINDOW, as a task bar sends it) to the main window, which the help
button has hidden. With no window left the program must end.

usage: close_hidden_main_window.py PROGRAM    (on its own server: xvfb-run -a)
"""
import os
import subprocess
import sys
import time

from Xlib import X, display, protocol
from Xlib.ext import xtest

# How long each step may take before the test gives up on it; a program that
# never ends fails here rather than hanging the run.
STEP_TIMEOUT = 15
# The middle of the help button, in pixels from the main window's top left
# corner at 96 dpi: left 8760 twips + 975 / 2, top 360 twips + 375 / 2.
HELP_BUTTON = ((8760 + 975 / 2) / 15, (360 + 375 / 2) / 15)


def wait_for(what, condition):
    deadline = time.monotonic() + STEP_TIMEOUT
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.02)
    raise AssertionError("gave up waiting for " + what)


def windows_of(xdisplay, pid):
    """The top-level windows that the process has created."""
    pid_atom = xdisplay.intern_atom("_NET_WM_PID")
    found = []
    for window in xdisplay.screen().root.query_tree().children:
        prop = window.get_full_property(pid_atom, X.AnyPropertyType)
        if prop is not None and list(prop.value) == [pid]:
            found.append(window)
    return found


def viewable(window):
    return window.get_attributes().map_state == X.IsViewable


def click(xdisplay, window, x, y):
    origin = window.translate_coords(xdisplay.screen().root, 0, 0)
    xtest.fake_input(xdisplay, X.MotionNotify, x=int(-origin.x + x), y=int(-origin.y + y))
    xtest.fake_input(xdisplay, X.ButtonPress, 1)
    xtest.fake_input(xdisplay, X.ButtonRelease, 1)
    xdisplay.sync()


def request_close(xdisplay, window):
    protocols = xdisplay.intern_atom("WM_PROTOCOLS")
    delete = xdisplay.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(
        window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(event, event_mask=X.NoEventMask)
    xdisplay.sync()


def run(xdisplay, program, scenario):
    """Starts the program, plays the scenario and gives how long the program
    took to end after the close request."""
    environment = dict(os.environ, QT_QPA_PLATFORM="xcb")
    process = subprocess.Popen([program], env=environment)
    try:
        main = wait_for("the main window",
                        lambda: next((w for w in windows_of(xdisplay, process.pid) if viewable(w)),
                                     None))
        time.sleep(0.3)  # let it finish its first paint before the click
        if scenario != "main window shown":
            click(xdisplay, main, *HELP_BUTTON)
        if scenario == "after the help window is shown":
            wait_for("the help window to replace the main window",
                     lambda: not viewable(main) and any(
                         viewable(w) for w in windows_of(xdisplay, process.pid)))
        closed = time.monotonic()
        request_close(xdisplay, main)
        try:
            process.wait(timeout=STEP_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program still runs %d s after the close request, with %d "
                                 "of its windows shown" % (STEP_TIMEOUT, sum(
                                     viewable(w) for w in windows_of(xdisplay, process.pid))))
        if process.returncode != 0:
            raise AssertionError("the program ended with %d" % process.returncode)
        return time.monotonic() - closed
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def main():
    program = sys.argv[1]
    # One connection for all scenarios: the X server resets when its last
    # client leaves, and a connection made during the reset is refused.
    xdisplay = display.Display()
    failures = 0
    for scenario in ("main window shown", "after the help window is shown",
                     "in the same instant as the help click"):
        try:
            print("%s: ended %.2f s after the close request" % (scenario, run(xdisplay, program, scenario)))
        except AssertionError as failure:
            print("%s: FAILED: %s" % (scenario, failure))
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
