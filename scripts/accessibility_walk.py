#!/usr/bin/python3
"""Reads the main window's text boxes through AT-SPI, as a screen reader does.

Starts the program (the first argument; its output goes to the file named by
the second) on the display and session bus of the environment, puts a sample
text into Text1 and, for Text1 and the boxes it fills, Text2 and Text5, asks
every text query at every offset of the box's text and outside it. The
answers are compared with those of the stock text box, Text4, given the same
text. Each query has a time limit. A freeze or a crash is a failure, after
which the program is started again and the walk goes on with the next query.
Prints the first failure of each query and exits 1 naming the first of all.
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
# and a paragraph long enough to wrap.
SAMPLE = (
    "我们学习汉字𠀀和拼音。\n"
    "\n"
    "Hello, world. Cafe\u0301 au lait? Oui.\n"
    "孩子已经学会了一些拼音，可是还不熟悉键盘，打字时常常找不到该按的键。"
    "有了这个小工具，孩子就能自己打出想写的字了。\n"
)
BOUNDARIES = {name: getattr(pyatspi, "TEXT_BOUNDARY_" + name) for name in (
    "CHAR", "WORD_START", "WORD_END", "SENTENCE_START", "SENTENCE_END", "LINE_START", "LINE_END")}
# Each way to read a piece of text, with which piece it reads: the one at the
# offset, the one before or the one after.
READS = {"getTextAtOffset": 0, "getTextBeforeOffset": -1, "getTextAfterOffset": 1}
NONE = ("", -1, -1)  # Qt's answer when there is no such piece of text
WITH_COORDINATES = ("getCharacterExtents", "getRangeExtents", "getOffsetAtPoint", "getExtents")

# Where a long text box answers unlike the stock box on purpose, and what is
# checked there instead:
# - Words and sentences are Qt's own boundaries, where the stock box moves a
#   text cursor: at a space the box reads the space, the stock box the word
#   before it, and the stock box reads a run of Chinese as one word. Lines are
#   the wrapped lines at each box's own width and font. So each is checked to
#   be a piece of the text that holds its offset, splits no character and
#   follows the one before, and is not compared.
# - With no piece before the first or after the last, the box answers NONE or
#   an empty range; the stock box repeats the piece.
# - A character is a surrogate pair or a letter with its combining marks, as
#   Qt's grapheme boundaries have it; the stock box splits them. So characters
#   are checked against the text itself.
# - At the end of the text and outside it, a boundary query may answer NONE or
#   any piece of the text; the stock box reads the last piece. The end may
#   have the caret's extents; the stock box gives zeros.
# - Caret and selection ends outside the text are clamped to it, as the box's
#   setCursorPosition does; the stock box ignores them.
# - getText clamps its ends to the text and a reversed range is empty; the
#   stock box answers "" for some such ranges and odd pieces for others.
# - The stock box has no hit test (-1 at every point): a character's centre
#   must give back its offset.


class Broken(Exception):
    """The program crashed or froze."""


class Program:
    """The program under test, started with its accessibility on."""

    def __init__(self, path, log):
        self.path, self.log, self.process, self.boxes = path, log, None, {}

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
        # The boxes have no accessible names: they are told apart by place,
        # top to bottom as on the window.
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
        """One query, within the time limit; a crash or a freeze raises Broken."""
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
    """Whether extents (x, y, width, height) stand for a place on a line: a
    line feed or a combining mark may have no width."""
    return isinstance(extents, tuple) and extents[2] >= 0 and extents[3] > 0


def clamp(offset, n):
    return min(max(offset, 0), n)


class Units:
    """A text as UTF-16 code units, the offsets that Qt gives AT-SPI."""

    def __init__(self, text):
        self.data = text.encode("utf-16-le", "surrogatepass")
        self.n = len(self.data) // 2

    def slice(self, start, end):
        start, end = clamp(start, self.n), clamp(end, self.n)
        piece = self.data[2 * start:2 * max(start, end)].decode("utf-16-le", "surrogatepass")
        return re.sub("[\ud800-\udfff]", "?", piece)  # a lone half goes over D-Bus as "?"

    def continues(self, offset):
        """Whether the unit at offset belongs to the character before it."""
        unit = int.from_bytes(self.data[2 * offset:2 * offset + 2], "little")
        return 0 < offset < self.n and (0xDC00 <= unit < 0xE000 or unicodedata.combining(
            self.slice(offset, offset + 1)))

    def character_start(self, offset):
        while self.continues(offset):
            offset -= 1
        return offset

    def characters(self):
        """(start, end) of each character."""
        starts = [offset for offset in range(self.n) if not self.continues(offset)]
        return list(zip(starts, starts[1:] + [self.n]))


class Walk:
    """The queries over one box, beside the stock box holding the same text."""

    def __init__(self, program, name, failures):
        self.program, self.name, self.failures = program, name, failures
        self.box, self.stock = program.text(name), program.text("Text4")
        self.units = Units(program.ask(f"{name}: getText(0, -1)", self.box.getText, 0, -1))
        self.n = self.units.n
        program.write("Text4", self.units.slice(0, self.n))
        self.offsets = [*range(-2, self.n + 3), INT_MAX, INT_MIN]
        self.characters = self.units.characters()
        self.pieces = {}  # (boundary, offset): the box's piece there

    def call(self, text, method, *args):
        shown = args[:-1] if method in WITH_COORDINATES else args
        query = f"{method}({', '.join(str(arg).replace('TEXT_BOUNDARY_', '') for arg in shown)})"
        who = "Text4" if text is self.stock else self.name
        answer = self.program.ask(f"{who}: {query}", getattr(text, method), *args)
        return tuple(answer) if isinstance(answer, (list, tuple)) else answer

    def expect(self, kind, query, got, want):
        if got != want:
            self.failures.add(f"{self.name}: {kind}",
                              f"{self.name}: {query} = {got!r}, expected {want!r}")

    def well_formed(self, answer):
        """NONE, or a range of the text with its text."""
        if not isinstance(answer, tuple) or len(answer) != 3:
            return False
        text, start, end = answer
        return answer == NONE or (0 <= start <= end <= self.n
                                  and text == self.units.slice(start, end))

    def nothing(self, answer):
        return self.well_formed(answer) and answer[1] == answer[2]

    def boundary_query(self, read, boundary):
        kind = f"{read} {boundary}"
        for offset in self.offsets:
            query = f"{read}({offset}, {boundary})"
            got = self.call(self.box, read, offset, BOUNDARIES[boundary])
            if boundary == "CHAR" and 0 <= offset < self.n:
                self.check_character(kind, query, read, offset, got)
            elif boundary != "CHAR" and 0 <= offset <= self.n:
                self.check_piece(kind, query, read, boundary, offset, got)
            elif not self.well_formed(got):
                self.expect(kind, query, got, "NONE or a piece of the text")

    def check_character(self, kind, query, read, offset, got):
        index = next(i for i, (start, end) in enumerate(self.characters) if start <= offset < end)
        index += READS[read]
        if 0 <= index < len(self.characters):
            start, end = self.characters[index]
            self.expect(kind, query, got, (self.units.slice(start, end), start, end))
        elif not self.nothing(got):
            self.expect(kind, query, got, "NONE or an empty range")

    def piece_at(self, boundary, offset):
        if (boundary, offset) not in self.pieces:
            self.pieces[boundary, offset] = self.call(self.box, "getTextAtOffset", offset,
                                                      BOUNDARIES[boundary])
        return self.pieces[boundary, offset]

    def is_piece(self, answer):
        """A range of the text with its text, splitting no character."""
        return self.well_formed(answer) and answer != NONE and not (
            self.units.continues(answer[1]) or self.units.continues(answer[2]))

    def check_piece(self, kind, query, read, boundary, offset, got):
        """A word, sentence or line: the piece holding the offset, or the one
        just before or after it, with at most a space or line feed between."""
        _, start, end = piece = self.piece_at(boundary, offset)
        if not self.is_piece(piece) or not start <= offset <= end:
            return self.expect(kind, query, piece, f"a piece of the text holding {offset}")
        if READS[read] == 0:
            return self.expect(kind, query, got, piece)
        before = READS[read] < 0
        if (start == 0) if before else (end == self.n):
            if not self.nothing(got):
                self.expect(kind, query, got, "NONE or an empty range")
            return
        _, other_start, other_end = got if self.is_piece(got) else NONE
        gap = (other_end, start) if before else (end, other_start)
        if got == NONE or got != self.piece_at(boundary, other_start) or gap[0] > gap[1] \
                or self.units.slice(*gap) not in ("", "\n", " "):
            self.expect(kind, query, got, f"the piece {'before' if before else 'after'} {piece!r}")

    def character_extents(self):
        for offset in self.offsets:
            got = self.call(self.box, "getCharacterExtents", offset, SCREEN)
            query = f"getCharacterExtents({offset})"
            if 0 <= offset < self.n:
                if not on_screen(got):
                    self.expect("getCharacterExtents", query, got, "a box around it")
            elif offset != self.n:
                self.expect("getCharacterExtents", query, got,
                            self.call(self.stock, "getCharacterExtents", offset, SCREEN))

    def offset_at_point(self):
        component = self.program.boxes[self.name].queryComponent()
        left, top, width, height = self.call(component, "getExtents", SCREEN)
        for offset in range(self.n):
            if self.units.continues(offset):
                continue
            self.call(self.box, "setCaretOffset", offset)  # scrolls it into view
            extents = self.call(self.box, "getCharacterExtents", offset, SCREEN)
            if not on_screen(extents):
                continue  # a failure of getCharacterExtents
            x, y, w, h = extents
            if left <= x and x + w <= left + width and top <= y and y + h <= top + height:
                self.expect("getOffsetAtPoint", f"getOffsetAtPoint(the centre of {offset})",
                            self.call(self.box, "getOffsetAtPoint", x + w // 2, y + h // 2,
                                      SCREEN), offset)
        for x, y in ((left - 40, top - 40), (left + width + 40, top + height + 40),
                     (INT_MIN, INT_MIN), (INT_MAX, INT_MAX)):
            self.expect("getOffsetAtPoint", f"getOffsetAtPoint({x}, {y})",
                        self.call(self.box, "getOffsetAtPoint", x, y, SCREEN), -1)

    def attributes(self):
        for offset in self.offsets:
            for method, args in (("getAttributeRun", (offset, False)),
                                 ("getAttributes", (offset,))):
                got = self.call(self.box, method, *args)
                if 0 <= offset < self.n and not (isinstance(got, tuple)
                                                 and got[1] <= offset < got[2]):
                    self.expect(method, f"{method}({offset})", got, f"a run holding {offset}")

    def character_at_offset(self):
        for offset in self.offsets:
            at = self.units.character_start(offset) if 0 <= offset < self.n else offset
            self.expect("getCharacterAtOffset", f"getCharacterAtOffset({offset})",
                        self.call(self.box, "getCharacterAtOffset", offset),
                        self.call(self.stock, "getCharacterAtOffset", at))

    def get_text(self):
        n = self.n
        ranges = [(offset, offset + 1) for offset in self.offsets[:-2]]
        ranges += [(-5, n + 5), (0, -1), (-5, -1), (-5, 0), (n, n + 5), (3, 2), (n + 5, n + 9),
                   (INT_MIN, INT_MAX), (INT_MAX, INT_MIN)]
        for start, end in ranges:
            want = self.units.slice(start, n if end == -1 else end)  # -1: to the end
            self.expect("getText", f"getText({start}, {end})",
                        self.call(self.box, "getText", start, end), want)

    def range_extents(self):
        n = self.n
        for start, end in ((0, n), (-5, n + 5), (-5, 0), (n, n + 5), (n - 1, n + 2), (3, 2)):
            got = self.call(self.box, "getRangeExtents", start, end, SCREEN)
            want = self.call(self.stock, "getRangeExtents", start, end, SCREEN)
            if on_screen(got) != on_screen(want):
                self.expect("getRangeExtents", f"getRangeExtents({start}, {end})", got,
                            f"{'a' if on_screen(want) else 'no'} box, as the stock box's {want!r}")

    def caret_and_selection(self):
        n, middle = self.n, self.n // 2
        values = (INT_MIN, -5, -1, 0, 1, middle, n - 1, n, n + 1, n + 5, INT_MAX)
        for value in values:
            self.call(self.box, "setCaretOffset", 3)
            self.call(self.box, "setCaretOffset", value)
            self.expect_selection(f"setCaretOffset({value})", clamp(value, n), clamp(value, n))
        for start in values:
            for end in (INT_MIN, -5, 0, middle, n, n + 5):
                self.call(self.box, "setSelection", 0, start, end)
                self.expect_selection(f"setSelection(0, {start}, {end})", clamp(start, n),
                                      clamp(end, n))
        for index in (1, -1, INT_MAX):
            self.expect("getSelection", f"getSelection({index})",
                        self.call(self.box, "getSelection", index), (0, 0))
        self.call(self.box, "removeSelection", 0)
        self.expect("removeSelection", "getNSelections() after removeSelection(0)",
                    self.call(self.box, "getNSelections"), 0)

    def expect_selection(self, query, anchor, caret):
        selected = (min(anchor, caret), max(anchor, caret)) if anchor != caret else (0, 0)
        got = (self.call(self.box, "getNSelections"), self.call(self.box, "getSelection", 0),
               self.program.ask(f"{self.name}: caretOffset", lambda: self.box.caretOffset))
        self.expect(query.split("(")[0], f"{query}: selections, selection 0, caret", got,
                    (int(anchor != caret), selected, caret))

    def queries(self):
        """Each query over all its offsets by name, with what asks it and the
        query whose answers it needs."""
        table = {}
        for read, step in READS.items():
            for boundary in BOUNDARIES:
                needs = f"getTextAtOffset {boundary}" if step and boundary != "CHAR" else None
                table[f"{read} {boundary}"] = (partial(self.boundary_query, read, boundary), needs)
        for name, ask in (("getCharacterExtents", self.character_extents),
                          ("getOffsetAtPoint", self.offset_at_point),
                          ("attributes", self.attributes),
                          ("getCharacterAtOffset", self.character_at_offset),
                          ("getText", self.get_text),
                          ("getRangeExtents", self.range_extents),
                          ("caret and selection", self.caret_and_selection)):
            table[name] = (ask, None)
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
        for query, (_, needs) in walk.queries().items():
            if needs in stopped:
                failures.add(f"{name}: {query} not asked",
                             f"{name}: {query}: not asked, as it needs {needs}")
                continue
            try:
                walk.queries()[query][0]()
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
        print(f"accessibility-walk: every text query answered as expected ({seconds:.0f} s)")
        return 0
    for kind in failures.first:
        print(f"accessibility-walk: {failures.count[kind]} x {kind}")
    print(f"accessibility-walk: FAIL ({len(failures.first)} queries, {seconds:.0f} s): "
          f"first failure: {next(iter(failures.first.values()))}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
