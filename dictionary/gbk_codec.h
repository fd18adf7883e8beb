#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvaro {

// Decodes GBK (code page 936) bytes to UTF-16. A byte that does not start a
// valid GBK sequence becomes U+FFFD and decoding goes on with the next byte,
// so any input decodes and nothing is lost silently without a trace.
std::u16string DecodeGbk(std::string_view bytes);

// Encodes UTF-16 text as GBK; nullopt when a code unit has no GBK code
// (characters beyond GBK, lone surrogates).
std::optional<std::string> EncodeGbk(std::u16string_view text);

}  // namespace kelvaro
