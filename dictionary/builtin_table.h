#pragma once

#include <string_view>

namespace kelvaro {

// The GBK bytes of resources/pinyin-table.txt, compiled into the program.
std::string_view BuiltInTableGbk();

}  // namespace kelvaro
