#!/usr/bin/env python3
"""Compares Kelvaro's readings of a corpus with two references, character by character.

    compare_readings.py compare CORPUS PAGES KELVARO_OUTPUT REFERENCE_READINGS [DISAGREEMENTS]
    compare_readings.py sample N SEED KIND DISAGREEMENTS

compare: KELVARO_OUTPUT is what `kelvaro-pinyin --with-characters` printed
for CORPUS; REFERENCE_READINGS what reference_readings.mjs wrote. Every Han
character is compared after both sides are brought to one form (tone
numbers, ü for v, the references' 一/不 sandhi undone); a character one side
gives no reading for differs. Prints the agreement of each reference with
Kelvaro and of the references with each other, in characters and in lines
(a line agrees when all its characters do), and writes each character where
Kelvaro differs from a reference to DISAGREEMENTS (TSV).

sample: prints the header and N rows of DISAGREEMENTS drawn at random with
SEED, in file order; KIND is both (Kelvaro differs from both references),
one (from one of them) or any.
"""
import random
import re
import sys
from collections import Counter

from readings import NO_READING, is_han, numbered, without_sandhi

REFERENCES = ("pinyin-pro", "@napi-rs/pinyin")
COLUMNS = ("page", "character", "line", "kelvaro") + REFERENCES + ("differs_from",)
MOST_COMMON = 15


def kelvaro_readings(output_path):
    """Kelvaro's (character, reading) pairs, from the first line of its output."""
    with open(output_path, encoding="utf-8") as output:
        first = output.readline()
    return [(char, numbered(reading)) for char, reading in re.findall(r"(.)\(([^()]*)\)", first) if is_han(char)]


def read_lines(path):
    """The lines of a file split at line feeds only, as the Node.js helper splits them."""
    with open(path, encoding="utf-8") as text:
        lines = text.read().split("\n")
    return lines[:-1] if lines and lines[-1] == "" else lines


def percent(part, whole):
    return f"{part} of {whole} ({100 * part / whole:.2f}%)" if whole else f"{part} of 0"


def compare(corpus_path, pages_path, kelvaro_path, references_path, disagreements_path=None):
    lines = read_lines(corpus_path)
    page_names = read_lines(pages_path)
    versions, *reference_lines = read_lines(references_path)
    versions = versions.split("\t")
    assert len(reference_lines) == len(lines) == len(page_names)
    kelvaro = kelvaro_readings(kelvaro_path)

    names = ("kelvaro",) + REFERENCES
    pairs = [("kelvaro", REFERENCES[0]), ("kelvaro", REFERENCES[1]), REFERENCES]
    same_chars = Counter()
    same_lines = Counter()
    missing = Counter()
    kinds = Counter()
    differing_chars = Counter()
    rows = []
    han_total = 0
    next_kelvaro = 0
    for line, page, reference_line in zip(lines, page_names, reference_lines):
        columns = [field.split(" ") for field in reference_line.split("\t")]
        line_same = dict.fromkeys(pairs, True)
        for at, char in enumerate(line):
            if not is_han(char):
                continue
            han_total += 1
            reading = {}
            if next_kelvaro < len(kelvaro) and kelvaro[next_kelvaro][0] == char:
                reading["kelvaro"] = kelvaro[next_kelvaro][1]
                next_kelvaro += 1
            else:
                reading["kelvaro"] = NO_READING
            # Reference readings are listed per code point; the line is indexed the same way.
            for name, column in zip(REFERENCES, columns):
                reading[name] = without_sandhi(char, numbered(column[at]))
            for name in names:
                missing[name] += reading[name] == NO_READING
            for pair in pairs:
                if reading[pair[0]] == reading[pair[1]] != NO_READING:
                    same_chars[pair] += 1
                else:
                    line_same[pair] = False
            differs = [name for name in REFERENCES if reading[name] != reading["kelvaro"] or reading[name] == NO_READING]
            if differs:
                kind = "both" if len(differs) == 2 else differs[0]
                kinds[kind] += 1
                if kind == "both":
                    differing_chars[char] += 1
                marked = f"{line[:at]}【{char}】{line[at + 1:]}"
                rows.append((page, char, marked, reading["kelvaro"], reading[REFERENCES[0]], reading[REFERENCES[1]], kind))
        for pair in pairs:
            same_lines[pair] += line_same[pair]
    if next_kelvaro != len(kelvaro):
        sys.exit(f"compare: Kelvaro's output has {len(kelvaro) - next_kelvaro} readings the corpus does not match")

    print(f"references: {', '.join(versions)}")
    print("characters without a reading: " + ", ".join(f"{name} {missing[name]}" for name in names))
    for first, second in pairs:
        print(f"{first} = {second}:")
        print(f"  characters {percent(same_chars[(first, second)], han_total)}")
        print(f"  lines      {percent(same_lines[(first, second)], len(lines))}")
    print(f"Kelvaro differs from both references: {kinds['both']} characters; "
          f"from pinyin-pro only: {kinds[REFERENCES[0]]}; from @napi-rs/pinyin only: {kinds[REFERENCES[1]]}")
    print("most often where it differs from both: "
          + " ".join(f"{char} {count}" for char, count in differing_chars.most_common(MOST_COMMON)))
    if disagreements_path:
        with open(disagreements_path, "w", encoding="utf-8") as out:
            out.write("\t".join(COLUMNS) + "\n")
            for row in rows:
                out.write("\t".join(row) + "\n")
        print(f"disagreements: {len(rows)} rows in {disagreements_path}")


def sample(count, seed, kind, disagreements_path):
    header, *rows = read_lines(disagreements_path)
    kept = [row for row in rows if kind == "any" or (row.rsplit("\t", 1)[1] == "both") == (kind == "both")]
    if count > len(kept):
        sys.exit(f"sample: only {len(kept)} rows of kind {kind}")
    chosen = sorted(random.Random(seed).sample(range(len(kept)), count))
    sys.stdout.write("".join(line + "\n" for line in [header] + [kept[i] for i in chosen]))


def main():
    if len(sys.argv) >= 6 and sys.argv[1] == "compare":
        compare(*sys.argv[2:7])
    elif len(sys.argv) == 6 and sys.argv[1] == "sample" and sys.argv[4] in ("both", "one", "any"):
        sample(int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], sys.argv[5])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
