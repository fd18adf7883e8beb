#!/usr/bin/python3
"""Reads the main window's text boxes through AT-SPI, as a screen reader does.

Starts the program (the first argument; its output goes to the file named by
the second) on the display and session bus of the environment, puts a sample
text into Text1 and, for Text1 and the boxes it fills, Text2 and Text5, asks
every text query at every offset of the box's text, just outside it and at
the ends of the integer range. Each call has a time limit. A freeze or a crash
is a failure, after which the program is started again and the walk goes on
with the next query. Prints the first failure of each query and exits 1
naming the first of all.

The stock text box, Text4, is given the same text and the same caret and
selection, set through AT-SPI. Wherever an answer depends neither on geometry
nor on a box's width, the box must answer as Text4 does, but for the
differences listed under INTENDED DIFFERENCES. Where Text4's answers are of
no use through AT-SPI, the box's answers are checked against its own layout.
"""

import os
import re
import signal
import subprocess
import sys
import time
import unicodedata
from functools import partial

import pyatspi
from gi.repository import Atspi, GLib

CALL_LIMIT_S = 2
INT_MIN, INT_MAX = -(2**31), 2**31 - 1
SCREEN = pyatspi.DESKTOP_COORDS
# Paragraphs, an empty line, Chinese with a character outside the BMP (two
# UTF-16 units: Qt's offsets count those), Latin words with a combining mark,
# sentences, and a paragraph long enough to wrap.
SAMPLE = (
    "我们学习汉字𠀀和拼音。\n"
    "\n"
    "Hello, world. Cafe\u0301 au lait? Oui.\n"
    "孩子已经学会了一些拼音，可是还不熟悉键盘，打字时常常找不到该按的键。"
    "有了这个小工具，孩子就能自己打出想写的字了。\n"
)
# AT-SPI's boundary types. Qt's bridge reads characters, words, sentences or
# lines for them, a type's start and end alike.
COMPARED = {name: getattr(pyatspi, "TEXT_BOUNDARY_" + name) for name in (
    "CHAR", "WORD_START", "WORD_END", "SENTENCE_START", "SENTENCE_END")}
LINES = {name: getattr(pyatspi, "TEXT_BOUNDARY_" + name) for name in ("LINE_START", "LINE_END")}
# Each way to read a piece of text, with which piece it reads: the one at the
# offset, the one before or the one after.
READS = {"getTextAtOffset": 0, "getTextBeforeOffset": -1, "getTextAfterOffset": 1}
NONE = ("", -1, -1)  # no such piece of text
WITH_COORDINATES = ("getCharacterExtents", "getRangeExtents", "getOffsetAtPoint", "getExtents")

# INTENDED DIFFERENCES: where the box answers unlike the stock box on purpose,
# each with its reason and what is checked instead. They are the random-walk
# test's (textbox/tests/text_box_walk.cpp, which holds the box to a plain text edit
# inside the process):
# - The piece before or after. Where the stock box gives the piece at the
#   offset again - before the first piece, after the last, and after a piece
#   whose end still reads as that piece (a line feed, a word's or a sentence's
#   end) - the box gives none before the first piece and after the last, and
#   otherwise the next piece: a screen reader reading on piece by piece would
#   stay where it is. Checked: before, none; after, the first other piece that
#   the stock box reads from that piece's end on, or none if there is none.
# - Lines are the box's wrapped lines at its own width and font, so that
#   reading line by line follows the screen. Checked against the box's
#   character extents: the line holds the offset, its characters share a row
#   that the character before it is not on, it holds no line feed, and the
#   lines before and after it follow with at most a space or a line feed
#   between; outside the text, the caret's offset stands for the offset.
# - Attribute runs: the stock box splits its runs where it was edited, the box
#   has one a paragraph, as its text has one format. Compared outside [0, n)
#   (where -2 stands for the caret and -1 for the end); inside, the run must
#   hold the offset.
# - While a text is being composed the test only checks that answers lie in
#   the text; nothing is composed here.
# Where the stock box is broken through AT-SPI, the box is checked for sense:
# - Character extents (the stock box puts every paragraph at the top): a
#   character brought into view by moving the caret to it has extents inside
#   the box's frame; offsets outside the text have none, as in the stock box.
# - getOffsetAtPoint (the stock box answers -1 everywhere): the centre of a
#   character's extents gives that character; points outside the box give -1,
#   points inside it an offset of the text or -1.
# - Range extents (from the same character extents): only whether there are
#   any is compared.
# - Paragraphs: Qt's bridge answers no getStringAtOffset for either box; it is
#   compared once it does.


class Broken(Exception):
    """The program crashed or froze."""


class Program:
    """The program under test, started with its accessibility on."""

    def __init__(self, path, log):
        self.path, self.log, self.process, self.boxes = path, log, None, {}
        self.calls = 0

    def start(self):
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        with open(self.log, "a", encoding="utf-8") as log:
            self.process = subprocess.Popen([self.path], env=env, stdout=log,
                                            stderr=subprocess.STDOUT)
        deadline = time.monotonic() + 30
        while not self.find_boxes():
            if self.process.poll() is not None or time.monotonic() > deadline:
                raise Broken("the main window's four text boxes did not show through AT-SPI")
            time.sleep(0.2)
        self.write("Text1", SAMPLE)

    def find_boxes(self):
        # The boxes are told apart by place, top to bottom as on the window
        # (their names are accessible_names.py's to check).
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is None or app.get_process_id() != self.process.pid:
                    continue
                for window in app:
                    boxes = [child for child in window if child.getRole() == pyatspi.ROLE_TEXT]
                    if len(boxes) == 4:
                        boxes.sort(key=lambda box: box.queryComponent().getExtents(SCREEN).y)
                        self.boxes = dict(zip(("Text1", "Text2", "Text5", "Text4"), boxes))
                        return True
            except GLib.GError:
                continue  # an application that is going away
        return False

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def restart(self):
        self.stop()
        self.start()

    def ask(self, where, function, *args):
        """One call, within the time limit; a crash or a freeze raises Broken."""
        self.calls += 1
        started = time.monotonic()
        try:
            return function(*args)
        except GLib.GError as error:
            try:
                code = self.process.wait(0.5)
                raise Broken(f"{where}: the program crashed ({describe_exit(code)})") from None
            except subprocess.TimeoutExpired:
                pass
            if time.monotonic() - started >= 0.9 * CALL_LIMIT_S:
                raise Broken(f"{where}: no answer within {CALL_LIMIT_S} s: the program froze") \
                    from None
            return f"error: {error.message}"

    def text(self, name):
        return self.boxes[name].queryText()

    def write(self, name, text):
        editable = self.boxes[name].queryEditableText()
        self.ask(f"{name}: setTextContents", editable.setTextContents, text)
        got = self.ask(f"{name}: getText(0, -1)", self.text(name).getText, 0, -1)
        if got != text:
            raise Broken(f"{name}: setTextContents({text!r}) left {got!r}")


def describe_exit(code):
    return f"killed by {signal.Signals(-code).name}" if code < 0 else f"exit status {code}"


def on_screen(extents):
    """Whether extents (x, y, width, height) cover a place."""
    return isinstance(extents, tuple) and extents[2] > 0 and extents[3] > 0


def placed(extents):
    """Whether there are extents at all: a line feed may have no width."""
    return isinstance(extents, tuple) and (extents[2] > 0 or extents[3] > 0)


def inside(extents, frame):
    x, y, width, height = frame
    return on_screen(extents) and x <= extents[0] and extents[0] + extents[2] <= x + width \
        and y <= extents[1] and extents[1] + extents[3] <= y + height


def is_error(answer):
    return isinstance(answer, str) and answer.startswith("error: ")


class Units:
    """A text as UTF-16 code units, the offsets that Qt gives AT-SPI."""

    def __init__(self, text):
        self.data = text.encode("utf-16-le", "surrogatepass")
        self.n = len(self.data) // 2

    def slice(self, start, end):
        """The text from start to end, both in [0, n], as D-Bus carries it."""
        piece = self.data[2 * start:2 * end].decode("utf-16-le", "surrogatepass")
        return re.sub("[\ud800-\udfff]", "?", piece)  # a lone half goes over D-Bus as "?"

    def continues(self, offset):
        """Whether the unit at offset belongs to the character before it."""
        unit = int.from_bytes(self.data[2 * offset:2 * offset + 2], "little")
        return 0 < offset < self.n and (0xDC00 <= unit < 0xE000 or unicodedata.combining(
            self.slice(offset, offset + 1)))


class Walk:
    """The queries over one box, beside the stock box holding the same text."""

    def __init__(self, program, name, failures):
        self.program, self.name, self.failures = program, name, failures
        self.box, self.stock = program.text(name), program.text("Text4")
        self.state = ""  # the caret and selection that the failures name
        text = program.ask(f"{name}: getText(0, -1)", self.box.getText, 0, -1)
        program.write("Text4", text)
        self.units = Units(text)
        n = self.n = self.units.n
        self.offsets = [*range(-2, n + 3), INT_MAX, INT_MIN]
        self.outside = [offset for offset in self.offsets if not 0 <= offset <= n]
        # Anchor and caret: the first state is asked at every offset, the
        # others where the answer is about the caret.
        middle = n // 2
        self.states = ((middle, middle), (0, 0), (n, n), (3, middle), (middle, 3))
        self.stock_pieces = {}  # (boundary, offset in the text): the stock box's piece
        self.lines = {}  # (boundary, offset in the text): the box's line
        self.row_tops = None  # the top of each character's extents, taken at one time
        count = (self.property(self.box, "characterCount"),
                 self.property(self.stock, "characterCount"))
        self.check(count == (n, n), "characterCount", "characterCount", count[0],
                   f"expected {n}, the length of its text; the stock box answers {count[1]}")

    def call(self, text, method, *args):
        shown = args[:-1] if method in WITH_COORDINATES else args
        query = f"{method}({', '.join(str(arg).replace('TEXT_BOUNDARY_', '') for arg in shown)})"
        who = "Text4" if text is self.stock else self.name
        answer = self.program.ask(f"{who}: {query}{self.state}", getattr(text, method), *args)
        return tuple(answer) if isinstance(answer, (list, tuple)) else answer

    def property(self, text, name):
        who = "Text4" if text is self.stock else self.name
        return self.program.ask(f"{who}: {name}{self.state}", lambda: getattr(text, name))

    def check(self, ok, kind, query, got, expected):
        if not ok:
            self.failures.add(f"{self.name}: {kind}",
                              f"{self.name}: {query}{self.state} = {got!r}, {expected}")

    def same(self, kind, query, method, *args, answer=lambda a: a):
        """Asks both boxes; the box must answer as the stock box does."""
        got = self.call(self.box, method, *args)
        want = self.call(self.stock, method, *args)
        self.check(answer(got) == answer(want), kind, query, got,
                   f"the stock box answers {want!r}")
        return got

    def selection_state(self, text):
        return (self.property(text, "caretOffset"), self.call(text, "getNSelections"),
                self.call(text, "getSelection", 0), self.call(text, "getSelection", 1))

    def set_state(self, anchor, caret):
        """The same anchor and caret in both boxes, set through AT-SPI."""
        self.state = ""
        for text in (self.box, self.stock):
            self.call(text, "setCaretOffset", anchor)
            if anchor != caret:
                self.call(text, "setSelection", 0, anchor, caret)
        got, want = self.selection_state(self.box), self.selection_state(self.stock)
        calls = f"setCaretOffset({anchor})" + (
            f", setSelection(0, {anchor}, {caret})" if anchor != caret else "")
        self.check(got == want, "caret and selection",
                   f"{calls}: caret, selections, selections 0 and 1", got,
                   f"the stock box has {want!r}")
        self.state = f" (caret at {caret})" if anchor == caret else \
            f" (selected from {anchor} to {caret})"

    def each_state(self, offsets=None):
        """(anchor, caret, offset) for every state and the offsets asked in it."""
        for index, (anchor, caret) in enumerate(self.states):
            self.set_state(anchor, caret)
            for offset in self.offsets if index == 0 else (offsets or self.outside):
                yield anchor, caret, offset

    def well_formed(self, answer):
        """NONE, or a range of the text with its text."""
        if not isinstance(answer, tuple) or len(answer) != 3:
            return False
        text, start, end = answer
        return answer == NONE or (isinstance(start, int) and isinstance(end, int)
                                  and 0 <= start <= end <= self.n
                                  and text == self.units.slice(start, end))

    # Characters, words and sentences: as the stock box.

    def stock_piece(self, offset, boundary):
        if not 0 <= offset <= self.n:
            return self.call(self.stock, "getTextAtOffset", offset, boundary)
        if (boundary, offset) not in self.stock_pieces:
            self.stock_pieces[boundary, offset] = self.call(self.stock, "getTextAtOffset",
                                                            offset, boundary)
        return self.stock_pieces[boundary, offset]

    def stock_next(self, piece, boundary):
        """The first piece other than this one that the stock box reads from
        its end on, or NONE."""
        for offset in range(piece[2], self.n + 1):
            if self.stock_piece(offset, boundary) != piece:
                return self.stock_piece(offset, boundary)
        return NONE

    def compared_pieces(self, read, boundary):
        kind, step = f"{read} {boundary}", READS[read]
        for _, _, offset in self.each_state():
            query = f"{read}({offset}, {boundary})"
            got = self.call(self.box, read, offset, COMPARED[boundary])
            want = self.call(self.stock, read, offset, COMPARED[boundary])
            if not self.well_formed(got):
                self.check(False, kind, query, got, "expected none or a range of the text")
            elif step and got != want and want == self.stock_piece(offset, COMPARED[boundary]):
                expected = NONE if step < 0 else self.stock_next(want, COMPARED[boundary])
                self.check(got == expected, kind, query, got,
                           f"expected {expected!r} where the stock box repeats {want!r}")
            else:
                self.check(got == want, kind, query, got, f"the stock box answers {want!r}")

    # Lines: the box's own, checked against its layout.

    def rows(self):
        if self.row_tops is None:
            extents = [self.call(self.box, "getCharacterExtents", offset, SCREEN)
                       for offset in range(self.n)]
            self.row_tops = [e[1] if on_screen(e) else None for e in extents]
        return self.row_tops

    def line_at(self, offset, boundary):
        if (boundary, offset) not in self.lines:
            self.lines[boundary, offset] = self.call(self.box, "getTextAtOffset", offset, boundary)
        return self.lines[boundary, offset]

    def is_line(self, answer):
        """A wrapped line as the box shows it."""
        if not self.well_formed(answer) or answer == NONE or "\n" in answer[0]:
            return False
        _, start, end = answer
        if start == self.n:  # the empty line after a final line feed
            return end == start and self.units.slice(start - 1, start) == "\n"
        top = self.rows()[start]
        return top is not None and all(self.rows()[i] == top for i in range(start, end)) \
            and (start == 0 or self.rows()[start - 1] != top)

    def lines_read(self, read, boundary):
        kind, step = f"{read} {boundary}", READS[read]
        for _, caret, offset in self.each_state():
            query = f"{read}({offset}, {boundary})"
            got = self.call(self.box, read, offset, LINES[boundary])
            at = offset if 0 <= offset <= self.n else caret  # outside the text, the caret
            if step == 0:
                self.check(self.is_line(got) and got[1] <= at <= got[2], kind, query, got,
                           f"expected the line holding {at}, one row of the box")
            else:
                self.check_next_line(kind, query, at, step < 0, boundary, got)

    def check_next_line(self, kind, query, offset, before, boundary, got):
        line = self.line_at(offset, LINES[boundary])
        if not self.is_line(line):
            return  # a failure of getTextAtOffset
        _, start, end = line
        if (start == 0) if before else (end == self.n):
            self.check(got == NONE, kind, query, got,
                       f"expected none {'before the first' if before else 'after the last'} "
                       f"line {line!r}")
            return
        ok = self.is_line(got) and got == self.line_at(got[1], LINES[boundary])
        if ok:
            gap = (got[2], start) if before else (end, got[1])
            ok = gap[0] <= gap[1] and self.units.slice(*gap) in ("", " ", "\n")
        self.check(ok, kind, query, got,
                   f"expected the line {'before' if before else 'after'} {line!r}")

    def paragraphs(self):
        # Asked once: a refused call costs a wait for the program's exit.
        granularity = Atspi.TextGranularity.PARAGRAPH
        got = self.call(self.box, "getStringAtOffset", 0, granularity)
        want = self.call(self.stock, "getStringAtOffset", 0, granularity)
        if is_error(got) and is_error(want):
            return
        for _, _, offset in self.each_state():
            self.same("getStringAtOffset PARAGRAPH", f"getStringAtOffset({offset}, PARAGRAPH)",
                      "getStringAtOffset", offset, granularity)

    # Geometry: the box's own.

    def extents_and_points(self):
        self.state = ""
        frame = self.call(self.program.boxes[self.name].queryComponent(), "getExtents", SCREEN)
        for offset in self.offsets:
            query = f"getCharacterExtents({offset})"
            if not 0 <= offset < self.n:
                got = self.call(self.box, "getCharacterExtents", offset, SCREEN)
                want = self.call(self.stock, "getCharacterExtents", offset, SCREEN)
                self.check(got == want and not placed(got), "getCharacterExtents", query, got,
                           f"expected none, as the stock box's {want!r}")
                continue
            self.call(self.box, "setCaretOffset", offset)  # brings it into view
            got = self.call(self.box, "getCharacterExtents", offset, SCREEN)
            self.check(inside(got, frame), "getCharacterExtents", f"{query} with the caret there",
                       got, f"expected a place inside the box's frame {frame!r}")
            if not inside(got, frame) or self.units.continues(offset):
                continue
            x, y, width, height = got
            point = (x + width // 2, y + height // 2)
            at = self.call(self.box, "getOffsetAtPoint", *point, SCREEN)
            self.check(at == offset, "getOffsetAtPoint",
                       f"getOffsetAtPoint{point}, the centre of {query}", at, f"expected {offset}")
        left, top, width, height = frame
        for x, y in ((left - 40, top - 40), (left + width + 40, top + height + 40),
                     (INT_MIN, INT_MIN), (INT_MAX, INT_MAX)):
            got = self.call(self.box, "getOffsetAtPoint", x, y, SCREEN)
            self.check(got == -1, "getOffsetAtPoint", f"getOffsetAtPoint({x}, {y})", got,
                       "expected -1 outside the box")
        for i in range(11):
            for j in range(5):
                x, y = left + i * (width - 1) // 10, top + j * (height - 1) // 4
                got = self.call(self.box, "getOffsetAtPoint", x, y, SCREEN)
                self.check(-1 <= got <= self.n, "getOffsetAtPoint", f"getOffsetAtPoint({x}, {y})",
                           got, f"expected an offset in [0, {self.n}] or -1")

    def range_extents(self):
        self.state = ""
        n = self.n
        # Qt's bridge asks each offset from start to end, so the ranges are
        # short near the ends of the integer range.
        for start, end in ((0, n), (0, -1), (-5, n + 5), (-5, 0), (n, n + 5), (n - 1, n + 2),
                           (3, 2), (INT_MIN, INT_MIN + 3), (INT_MAX - 3, INT_MAX - 1),
                           (INT_MAX, INT_MIN)):
            got = self.call(self.box, "getRangeExtents", start, end, SCREEN)
            want = self.call(self.stock, "getRangeExtents", start, end, SCREEN)
            self.check(placed(got) == placed(want) and (placed(got) or got == want),
                       "getRangeExtents", f"getRangeExtents({start}, {end})", got,
                       f"expected {'a' if placed(want) else 'no'} place, as the stock "
                       f"box's {want!r}")

    # Attributes, characters, text, caret and selection: as the stock box.

    def attributes(self):
        beyond = [offset for offset in self.offsets if not 0 <= offset < self.n]
        for _, _, offset in self.each_state(beyond):
            for method, args in (("getAttributeRun", (offset, False)),
                                 ("getAttributes", (offset,))):
                query = f"{method}({offset})"
                if offset in beyond:
                    self.same(method, query, method, *args, answer=lambda a: a[1:])
                    continue
                got = self.call(self.box, method, *args)
                self.check(isinstance(got, tuple) and 0 <= got[1] <= offset < got[2] <= self.n,
                           method, query, got, f"expected a run of the text holding {offset}")
        self.same("getDefaultAttributes", "getDefaultAttributes", "getDefaultAttributes")

    def characters(self):
        for _, _, offset in self.each_state():
            self.same("getCharacterAtOffset", f"getCharacterAtOffset({offset})",
                      "getCharacterAtOffset", offset)

    def get_text(self):
        n = self.n
        ends = (INT_MIN, -5, -2, -1, 0, 1, 3, n // 2, n - 1, n, n + 1, n + 5, INT_MAX)
        ranges = [(start, end) for start in ends for end in ends]
        for index, state in enumerate(self.states):
            self.set_state(*state)
            asked = ranges + [(offset, offset + 1) for offset in range(-2, n + 2)] \
                if index == 0 else ranges
            for start, end in asked:
                self.same("getText", f"getText({start}, {end})", "getText", start, end)

    def caret_and_selection(self):
        n, middle = self.n, self.n // 2
        values = (INT_MIN, -5, -1, 0, 1, middle, n - 1, n, n + 1, n + 5, INT_MAX)
        calls = [("setCaretOffset", (value,)) for value in values]
        calls += [("setSelection", (0, start, end)) for start in values for end in values]
        calls += [("setSelection", (index, 1, 4)) for index in (1, -1, INT_MAX)]
        calls += [("addSelection", pair) for pair in ((1, 4), (-5, 4), (4, n + 5), (4, 4))]
        calls += [("removeSelection", (index,)) for index in (0, 1, -1, INT_MAX)]
        for anchor, caret in ((3, 3), (middle, 2)):
            for method, args in calls:
                self.set_state(anchor, caret)
                query = f"{method}({', '.join(map(str, args))})"
                answers = (self.call(self.box, method, *args), self.selection_state(self.box))
                want = (self.call(self.stock, method, *args), self.selection_state(self.stock))
                self.check(answers == want, method,
                           f"{query}: its answer, then caret, selections, selections 0 and 1",
                           answers, f"the stock box gives {want!r}")

    def queries(self):
        """Each query over all its offsets by name, with what asks it and the
        query whose answers it needs."""
        table = []
        for read, step in READS.items():
            for boundary in COMPARED:
                table.append((f"{read} {boundary}", partial(self.compared_pieces, read, boundary),
                              None))
            for boundary in LINES:
                needs = f"getTextAtOffset {boundary}" if step else None
                table.append((f"{read} {boundary}", partial(self.lines_read, read, boundary),
                              needs))
        table += [("paragraphs", self.paragraphs, None),
                  ("getCharacterExtents and getOffsetAtPoint", self.extents_and_points, None),
                  ("getRangeExtents", self.range_extents, None),
                  ("attributes", self.attributes, None),
                  ("getCharacterAtOffset", self.characters, None),
                  ("getText", self.get_text, None),
                  ("caret and selection", self.caret_and_selection, None)]
        return table


class Failures:
    """Each failing query once, with how often it failed, in order of finding."""

    def __init__(self):
        self.first, self.count = {}, {}

    def add(self, kind, message):
        if kind not in self.first:
            self.first[kind] = message
            print(f"accessibility-walk: FAIL: {message}", flush=True)
        self.count[kind] = self.count.get(kind, 0) + 1


def walk_all(program, failures):
    program.start()
    for name in ("Text1", "Text2", "Text5"):
        walk = Walk(program, name, failures)
        print(f"accessibility-walk: {name}: {walk.n} offsets", flush=True)
        stopped = set()  # the queries that crashed or froze the program
        for index, (query, _, needs) in enumerate(walk.queries()):
            if needs in stopped:
                failures.add(f"{name}: {query} not asked",
                             f"{name}: {query}: not asked, as it needs {needs}")
                continue
            try:
                walk.queries()[index][1]()
            except Broken as broken:
                stopped.add(query)
                failures.add(f"{name}: {query} stopped the program", str(broken))
                print("accessibility-walk: starting the program again", flush=True)
                program.restart()
                walk = Walk(program, name, failures)
    # The program is still there and answers.
    if program.process.poll() is not None:
        raise Broken(f"the program is gone at the end "
                     f"({describe_exit(program.process.returncode)})")
    text = program.ask("Text1: getText(0, -1) at the end", program.text("Text1").getText, 0, -1)
    if text != SAMPLE:
        raise Broken(f"Text1 holds {text!r} at the end, not the sample")


def main():
    program_path, log = sys.argv[1:3]
    Atspi.set_timeout(CALL_LIMIT_S * 1000, CALL_LIMIT_S * 1000)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    started = time.monotonic()
    failures = Failures()
    program = Program(program_path, log)
    try:
        walk_all(program, failures)
    except Broken as broken:
        failures.add("the walk", str(broken))
    finally:
        program.stop()
    seconds = time.monotonic() - started
    if not failures.first:
        print(f"accessibility-walk: {program.calls} calls, every text query answered as "
              f"expected ({seconds:.0f} s)")
        return 0
    for kind in failures.first:
        print(f"accessibility-walk: {failures.count[kind]} x {kind}")
    print(f"accessibility-walk: FAIL ({len(failures.first)} queries, {program.calls} calls, "
          f"{seconds:.0f} s): first failure: {next(iter(failures.first.values()))}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
