#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace kelvaro {

// Where UTF-8 input stops being valid.
struct Utf8Error {
  std::size_t byteOffset;
};

// Strict UTF-8 to UTF-16 for input that arrives in pieces: each piece is
// checked as it comes, so the first invalid byte is found without reading
// further. A sequence may be split between pieces. Overlong forms, encoded
// surrogates, code points above U+10FFFF and truncated sequences are errors.
class Utf8Decoder {
 public:
  // Appends the text of the next piece to out. False once the input is
  // invalid; error() then tells where.
  bool Feed(std::string_view piece, std::u16string& out);
  // Ends the input. False when it is invalid or ends inside a sequence.
  bool Finish();
  Utf8Error error() const { return {offset_}; }

 private:
  bool Fail() {
    failed_ = true;
    return false;
  }

  std::size_t offset_ = 0;         // bytes decoded so far: the offset of what comes next
  std::array<char, 4> pending_{};  // the start of a sequence that the piece cut
  std::size_t pendingSize_ = 0;
  bool failed_ = false;
};

// Strict UTF-8 to UTF-16 of a whole text, as Utf8Decoder checks it.
std::variant<std::u16string, Utf8Error> DecodeUtf8(std::string_view bytes);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

}  // namespace kelvaro
