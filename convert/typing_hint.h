#pragma once

#include <string>
#include <string_view>

namespace kelvaro {

// The keys a child presses for a reading: upper-case letters, "V" for ü,
// no tone digit. "nü3" -> "NV", "zhong1" -> "ZHONG".
std::u16string MakeTypingHint(std::u16string_view reading);

}  // namespace kelvaro
