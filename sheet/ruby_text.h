#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "convert/conversion.h"

namespace kelvaro {

// A piece of a source line as a reading sheet prints it: a character with
// its tone-marked reading above it, or a piece of text without a reading
// (a punctuation mark, a run of spaces, a word of Latin letters or digits,
// which is never split).
struct RubyCell {
  std::size_t from;  // the code units of the source it shows
  std::size_t to;
  std::u16string reading;  // "zhōng"; empty for text without a reading
  // A printed row may not end before this cell: it is punctuation that
  // closes a phrase (，。」), or the cell before it opens one (「（《).
  bool joinsPrevious = false;
  bool operator==(const RubyCell&) const = default;
};

using RubyLine = std::vector<RubyCell>;

// The source's lines (ended by LF, CR LF, CR, U+2028 or U+2029; the end of
// the last line starts no other; an empty line stays, as a paragraph break),
// each as cells in order; an empty source is one empty line. Every reading is
// the one the pinyin box shows: the converter's, each character read in the
// context of the whole source. The cells of a line cover it without a gap.
std::vector<RubyLine> RubyLines(const PinyinConverter& converter, std::u16string_view source);

}  // namespace kelvaro
