#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace kelvaro {

// Where UTF-8 input stops being valid.
struct Utf8Error {
  std::size_t byteOffset;
};

// Strict UTF-8 to UTF-16: overlong forms, encoded surrogates, code points
// above U+10FFFF and truncated sequences are errors.
std::variant<std::u16string, Utf8Error> DecodeUtf8(std::string_view bytes);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

}  // namespace kelvaro
