#!/usr/bin/python3
"""Reads the main window's controls through AT-SPI, as a screen reader lists them.

Starts the program (the first argument; its output goes to the file named by
the second) on the display and session bus of the environment and checks:
- the four text boxes and the word list are named by the words of their
  captions;
- the banner and the keyboard picture say what a click on them does, opening
  the home page, and offer that as a press action;
- no object of the window is focusable, or a button, without showing: the
  controls that are never shown are not offered at all.
Prints every failure and exits 1, naming the first.
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

CALL_LIMIT_S = 2
# Each control's name with its role, top to bottom as on the window.
NAMED = (("小孩子感兴趣的词", pyatspi.ROLE_LIST), ("文字框", pyatspi.ROLE_TEXT),
         ("拼音", pyatspi.ROLE_TEXT), ("打字提示", pyatspi.ROLE_TEXT), ("打字框", pyatspi.ROLE_TEXT))
# The pictures' names: what they show, then what a click does.
PICTURES = ("横幅：打开主页", "键盘图：打开主页")
PRESS = "Press"
BUTTONS = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_CHECK_BOX,
           pyatspi.ROLE_TOGGLE_BUTTON)


def window_of(process):
    """The program's main window, once it shows its controls through AT-SPI."""
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline and process.poll() is None:
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == process.pid:
                    for window in app:
                        if window.childCount > 10:
                            return window
            except GLib.GError:
                continue  # an application that is going away
        time.sleep(0.2)
    return None


def objects_under(window):
    """Every object of the window but the entries of lists and the parts of
    text boxes."""
    for child in window:
        yield child
        if child.getRole() not in (pyatspi.ROLE_LIST, pyatspi.ROLE_TEXT):
            yield from objects_under(child)


def describe(accessible):
    return f"{accessible.getRoleName()} {accessible.name!r}"


def actions(accessible):
    try:
        action = accessible.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def check(window):
    failures = []
    objects = list(objects_under(window))
    by_name = {}
    for accessible in objects:
        by_name.setdefault(accessible.name, []).append(accessible)

    for name, role in NAMED:
        found = [a for a in by_name.get(name, []) if a.getRole() == role]
        if len(found) != 1:
            unnamed = sum(1 for a in objects if a.getRole() == role and not a.name)
            failures.append(f"{len(found)} {Atspi.role_get_name(role)} named {name!r}, "
                            f"expected 1 ({unnamed} of that role have no name)")
    tops = [by_name[name][0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y
            for name, _ in NAMED[1:] if len(by_name.get(name, [])) == 1]
    if tops != sorted(tops):
        failures.append("the text boxes' names are not in their order on the window")

    for name in PICTURES:
        found = by_name.get(name, [])
        if len(found) != 1:
            failures.append(f"{len(found)} objects named {name!r}, expected 1: the picture "
                            f"says nothing of what a click on it does")
        elif PRESS not in actions(found[0]):
            failures.append(f"{describe(found[0])} offers no {PRESS} action, only "
                            f"{actions(found[0])}")

    for accessible in objects:
        states = accessible.getState()
        offered = states.contains(pyatspi.STATE_FOCUSABLE) or accessible.getRole() in BUTTONS
        if offered and not states.contains(pyatspi.STATE_SHOWING):
            failures.append(f"{describe(accessible)} is offered "
                            f"({'focusable' if states.contains(pyatspi.STATE_FOCUSABLE) else 'a button'})"
                            f" but never showing")
    return failures


def main():
    program_path, log = sys.argv[1:3]
    Atspi.set_timeout(CALL_LIMIT_S * 1000, CALL_LIMIT_S * 1000)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    with open(log, "a", encoding="utf-8") as output:
        process = subprocess.Popen([program_path], env=env, stdout=output,
                                   stderr=subprocess.STDOUT)
    try:
        window = window_of(process)
        failures = check(window) if window else ["the main window did not show through AT-SPI"]
    except GLib.GError as error:
        failures = [f"AT-SPI: {error.message}"]
    finally:
        process.kill()
        process.wait()
    for failure in failures:
        print(f"accessible-names: FAIL: {failure}", flush=True)
    if failures:
        print(f"accessible-names: FAIL ({len(failures)}): first failure: {failures[0]}")
        return 1
    print(f"accessible-names: the boxes, the word list and the pictures are named as expected; "
          f"nothing unseen is offered")
    return 0


if __name__ == "__main__":
    sys.exit(main())
