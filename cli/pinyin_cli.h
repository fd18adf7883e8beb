#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace kelvaro {

// kelvaro-pinyin [--with-characters] [TEXT]
// Prints the pinyin text and the hint text, each followed by a line feed.
// Without TEXT the source is all of in (UTF-8), checked as it is read.
// Returns the exit code: 0 done, 1 input unreadable or not valid UTF-8,
// 2 bad usage (with the usage text), 3 output not written; the other
// failures are reported in one line on err.
int RunPinyinCli(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
                 std::ostream& err);

}  // namespace kelvaro
