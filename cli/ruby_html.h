#pragma once

#include <string>
#include <string_view>

#include "sheet/ruby_text.h"

namespace kelvaro {

// One line of ruby text as an HTML paragraph: each character
// with a reading as <ruby>中<rt>zhōng</rt></ruby>, other text as it stands;
// &, <, > and " escaped. An empty line gives <p></p>.
std::u16string RubyHtmlParagraph(const RubyLine& line, std::u16string_view source);

}  // namespace kelvaro
