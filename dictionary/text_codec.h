#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kelvaro {

// GBK (code page 936) and UTF-8 to and from UTF-16, through iconv.

// Decodes GBK bytes to UTF-16. A byte that does not start a valid GBK
// sequence becomes U+FFFD and decoding goes on with the next byte, so any
// input decodes and nothing is lost silently without a trace.
std::u16string DecodeGbk(std::string_view bytes);

// Encodes UTF-16 text as GBK; nullopt when a code unit has no GBK code
// (characters beyond GBK, lone surrogates).
std::optional<std::string> EncodeGbk(std::u16string_view text);

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
  Utf8Decoder();
  ~Utf8Decoder();
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

  class Converter;  // the iconv conversion from UTF-8
  std::unique_ptr<Converter> converter_;
  std::size_t offset_ = 0;  // bytes decoded so far: the offset of what comes next
  std::string pending_;     // the start of a sequence that the piece cut
  bool failed_ = false;
};

// Strict UTF-8 to UTF-16 of a whole text, as Utf8Decoder checks it.
std::variant<std::u16string, Utf8Error> DecodeUtf8(std::string_view bytes);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

}  // namespace kelvaro
