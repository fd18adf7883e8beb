#!/usr/bin/env python3
"""Turns the manual pages under a folder into a corpus of Chinese text lines.

    man_corpus.py MAN_DIR CORPUS PAGES

Each page (gzip-compressed roff) is read in path order; roff requests,
macro definitions, comments and escapes are removed, and the text of
macros that carry text (.SH, .B, .IP, .It ...) is kept. Lines with at least
four Han characters are written to CORPUS, each once, in order of first
appearance; PAGES gets the page each line was first found in. Prints the
number of pages, lines and Han characters.
"""
import gzip
import os
import re
import sys

from readings import is_han

MIN_HAN = 4

# Requests that open a macro definition or an ignored block, which runs to "..".
DEFINITIONS = {"de", "de1", "am", "ig"}
# Requests whose arguments are not text: layout, registers, strings,
# conditionals and the page title.
NOT_TEXT = {
    "TH", "Dd", "Dt", "Os", "ds", "as", "nr", "rr", "rm",
    "if", "ie", "el", "so", "mso", "ta", "ti", "in", "ll", "ft", "ps", "vs", "sp",
    "br", "bp", "ne", "nf", "fi", "ad", "na", "hy", "nh", "ev", "mk", "rt", "tr",
    "cc", "ec", "eo", "ss", "cs", "pl", "lt", "po", "fam", "hw", "lf", "TS", "TE",
    "PD", "RS", "RE", "PP", "LP", "P", "HP", "TP", "Sp", "Vb", "Ve", "IX", "Pp",
    "Bl", "El", "Bd", "Ed", "UR", "UE", "MT", "ME", "ce", "ul", "cu", "c2", "wh",
}
# Macros whose arguments after the first are an indent, not text.
TAG_ONLY = {"IP"}

ESCAPES = re.compile(
    r"""\\(?:
        "[^\n]*                       # comment to the end of the line
      | [fFgkmMnsVY*$]\[[^\]]*\]      # \f[B], \*[name], \n[reg] ...
      | [fFgkmMnVY*$]\(..             # \f(CW, \*(lq, \n(.x
      | s[-+]?\(\d\d | s[-+]?\d+       # \s+2, \s(10
      | [fFgkmMnVY*$].                # \fB, \*R, \n x
      | [NhvwolLxbCAXDRSZ]'[^']*'     # \N'..', \h'..', \w'..' ...
      | \[[^\]]*\]                    # \[em] special characters
      | \(..                          # \(em special characters
      | .                             # \&, \-, \e, \|, \^, \c, \~ ...
    )""",
    re.VERBOSE,
)
SPECIAL = {"\\-": "-", "\\e": "\\", "\\\\": "\\", "\\~": " ", "\\ ": " ", "\\0": " ", "\\t": "\t"}


def unescape(text):
    """Removes roff escapes, keeping the characters some of them stand for."""
    return ESCAPES.sub(lambda m: SPECIAL.get(m.group(0), ""), text)


def macro_arguments(args):
    """A macro line's arguments, without their quotes."""
    return [part.strip('"') for part in re.findall(r'"[^"]*"|\S+', args)]


def page_lines(roff):
    """The text lines of one page, escapes removed."""
    in_definition = False
    for raw in roff.splitlines():
        if in_definition:
            in_definition = not raw.startswith("..")
            continue
        if raw[:1] in (".", "'"):
            match = re.match(r"[.']\s*(\S*)\s*(.*)", raw)
            name, args = match.group(1), match.group(2)
            if name in DEFINITIONS:
                in_definition = True
                continue
            if name.startswith('\\"') or name in NOT_TEXT or name.startswith("\\}"):
                continue
            arguments = macro_arguments(args)
            text = " ".join(arguments[:1] if name in TAG_ONLY else arguments)
        else:
            text = raw
        yield unescape(text).strip()


def main():
    man_dir, corpus_path, pages_path = sys.argv[1:4]
    paths = sorted(
        os.path.join(folder, name)
        for folder, _, names in os.walk(man_dir)
        for name in names
        if name.endswith(".gz") and not os.path.islink(os.path.join(folder, name))
    )
    seen = set()
    han_total = 0
    with open(corpus_path, "w", encoding="utf-8") as corpus, open(pages_path, "w", encoding="utf-8") as pages:
        for path in paths:
            with gzip.open(path, "rt", encoding="utf-8", errors="replace") as page:
                roff = page.read()
            name = os.path.relpath(path, man_dir)[: -len(".gz")]
            for line in page_lines(roff):
                line = line.replace("\t", " ")
                han = sum(1 for c in line if is_han(c))
                if han < MIN_HAN or line in seen:
                    continue
                seen.add(line)
                han_total += han
                corpus.write(line + "\n")
                pages.write(name + "\n")
    print(f"corpus: {len(paths)} manual pages, {len(seen)} lines, {han_total} Han characters")


if __name__ == "__main__":
    main()
