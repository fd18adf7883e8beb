"""What the comparison scripts share: which characters count, and readings
brought to one form so that spellings of the same reading compare equal."""
import unicodedata

TONE_MARKS = {"\u0304": "1", "\u0301": "2", "\u030c": "3", "\u0300": "4"}
NO_READING = "-"


def is_han(char):
    """A character of the CJK Unified Ideographs block, or 〇."""
    return "\u4e00" <= char <= "\u9fff" or char == "\u3007"


def numbered(reading):
    """A tone-marked syllable as letters and a tone digit (5: neutral):
    lǜ and lv4 become lü4; an empty or missing reading becomes NO_READING."""
    if not reading or reading == NO_READING:
        return NO_READING
    tone = "5"
    letters = []
    for char in unicodedata.normalize("NFD", reading.lower()):
        if char in TONE_MARKS:
            tone = TONE_MARKS[char]
        else:
            letters.append(char)
    return unicodedata.normalize("NFC", "".join(letters)).replace("v", "ü") + tone


def without_sandhi(char, reading):
    """A numbered reading of 一 or 不 with the tone change of its neighbours
    undone (yí, yì: yī; bú: bù), as Kelvaro writes each character's own tone."""
    if char == "一" and reading in ("yi2", "yi4"):
        return "yi1"
    if char == "不" and reading == "bu2":
        return "bu4"
    return reading
