#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "convert/conversion.h"

namespace kelvaro {

// One word the voice says: where it starts in the spoken text, and the
// source characters it reads (both digits of 15 for shi2 and for wu3).
struct SpokenWord {
  std::size_t offset;
  std::size_t from;
  std::size_t to;
  bool operator==(const SpokenWord&) const = default;
};

struct Speech {
  std::string text;
  std::vector<SpokenWord> words;  // in order
};

// What the voice is given for the characters from to to (0-based, end
// excluded) of a source text, each read in the context of the whole text:
// tone-numbered syllables separated by spaces (ü written v, 5 for the
// neutral tone), as a teacher reads them aloud:
// - 一 and 不 change their tone before another syllable, as spoken (一个
//   yi2 ge4, 一百 yi4 bai3, 不要 bu2 yao4), but 一 keeps yi1 in numbers and
//   counting (十一, 一二三), after 第, before 月, 日 and 号, and before a pause;
// - numbers written in digits are read as Chinese numbers: four digits
//   before 年 digit by digit as a year (2026年 er4 ling2 er4 liu4 nian2),
//   up to four digits without a leading zero as a count (15 shi2 wu3), and
//   any other run digit by digit;
// - ，、；： and the like end a clause with ",", 。！？ and line ends a
//   sentence with "." (and a line break before the next syllable);
// - a word of Latin letters (full-width ones too) is read by the English
//   voice: the text then switches voices with SSML, <voice name="en">apple
//   </voice>, each stretch of pinyin in a voice element of its own, since
//   the voice does not return to pinyin by itself;
// - anything else without a reading (symbols) is left out.
Speech SpeechOf(const PinyinConverter& converter, std::u16string_view source, std::size_t from = 0,
                std::size_t to = std::u16string_view::npos);

}  // namespace kelvaro
