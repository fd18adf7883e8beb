#pragma once

#include <string>
#include <string_view>

namespace kelvaro {

// The encodings a word-list file is read in.
enum class WordListEncoding { kGbk, kUtf8 };

// The text of a word-list file and the encoding it was read in.
struct WordListText {
  WordListEncoding encoding;
  std::u16string text;
};

// Reads the bytes of a word-list file as UTF-8 when they are valid UTF-8 and
//   - they start with a byte-order mark (which is dropped), or
//   - read as UTF-8 they hold at least one Chinese character (U+4E00 to
//     U+9FFF), and at least as many as they hold, read as GBK, of the 3,755
//     characters of GB2312's first level (the most common ones), or
//   - read as UTF-8 they hold no Chinese character, and read as GBK no
//     character of GB2312's two levels (a list of Latin letters or emoji);
// and as GBK otherwise, a byte that starts no GBK character becoming U+FFFD.
//
// Why GBK bytes that happen to be valid UTF-8 stay GBK: a Chinese character
// takes three bytes in UTF-8 and a GBK character two, so the Chinese
// characters of such a misreading number at most two thirds of the GBK
// characters, and a GBK list in which fewer than one character in three lies
// outside the first level always reads as GBK. Why UTF-8 Chinese stays UTF-8:
// read as GBK, a first-level character starts on a byte 0xB0 to 0xD7, which
// in such a text is the second or third byte of a character, and at most one
// of them starts in each character.
WordListText DecodeWordList(std::string_view bytes);

}  // namespace kelvaro
