#!/usr/bin/python3
"""Checks the installed package's copyright file against what it ships.

Usage: check_copyright.py ROOT

ROOT is where the package is installed (/ once it is). The copyright file
must be in Debian's machine-readable format, every licence it names must
have its text, and it must say what each shipped program links: every
program in usr/bin and usr/lib/kelvaro is named in its header's comment, and
the paragraph that names it mentions each library it links whose licence
matters (Qt, espeak-ng), as readelf lists them; kelvaro-pinyin links neither.
"""

import pathlib
import subprocess
import sys

from debian import copyright as dep5

# The libraries whose licence the copyright file must name for a program
# that links them: the start of their file name, and the name the file uses.
LICENCE_LIBRARIES = {"libQt6": "Qt 6", "libespeak-ng": "libespeak-ng"}


def linked_libraries(program):
    """The libraries a program needs, as its dynamic section lists them."""
    output = subprocess.run(["readelf", "-d", str(program)], check=True,
                            capture_output=True, text=True).stdout
    return [line.split("[", 1)[1].rstrip("]") for line in output.splitlines()
            if "(NEEDED)" in line]


def is_elf(path):
    with open(path, "rb") as file:
        return file.read(4) == b"\x7fELF"


def main():
    root = pathlib.Path(sys.argv[1])
    path = root / "usr/share/doc/kelvaro/copyright"
    failures = []
    with open(path, encoding="utf-8") as file:
        parsed = dep5.Copyright(file, strict=True)

    standalone = {paragraph.license.synopsis for paragraph in parsed.all_license_paragraphs()}
    named = set()
    for paragraph in parsed.all_files_paragraphs():
        licence = paragraph.license
        named.add(licence.synopsis)
        if not licence.text and licence.synopsis not in standalone:
            failures.append(f"{licence.synopsis} (Files: {' '.join(paragraph.files)}) has no text")
    failures += [f"licence paragraph {name} names no files" for name in standalone - named]

    # The header's comment: one paragraph for each program, split at " ." lines.
    comment = parsed.header.comment or ""
    paragraphs = [" ".join(block.split()) for block in comment.split("\n .\n")]
    programs = [p for folder in ("usr/bin", "usr/lib/kelvaro") for p in sorted((root / folder).iterdir())
                if (folder == "usr/lib/kelvaro" or p.name.startswith("kelvaro")) and p.is_file()
                and p.stat().st_mode & 0o111]
    for program in programs:
        shipped_as = "/" + str(program.relative_to(root))
        about = [p for p in paragraphs if shipped_as + "," in p or shipped_as + " " in p]
        if not about:
            failures.append(f"the copyright file does not say what {shipped_as} links")
            continue
        if not is_elf(program):
            continue
        libraries = linked_libraries(program)
        print(f"{shipped_as} links {' '.join(libraries)}")
        for prefix, name in LICENCE_LIBRARIES.items():
            if not any(library.startswith(prefix) for library in libraries):
                continue
            if program.name == "kelvaro-pinyin":
                failures.append(f"{shipped_as} links {name}")
            elif name not in about[0]:
                failures.append(f"{shipped_as} links {name}, which the copyright file does not say")

    print(f"copyright: {len(list(parsed.all_files_paragraphs()))} Files paragraphs, "
          f"licences {', '.join(sorted(named))}, {len(programs)} programs checked")
    for failure in failures:
        print(f"FAIL {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
