#pragma once

#include <string>
#include <string_view>

#include "convert/conversion.h"

namespace kelvaro {

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
// - anything else without a reading (Latin letters, symbols) is left out.
std::string SpokenText(const PinyinConverter& converter, std::u16string_view source,
                       std::size_t from = 0, std::size_t to = std::u16string_view::npos);

}  // namespace kelvaro
