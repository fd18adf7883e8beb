#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace kelvaro {

// kelvaro-pinyin [--with-characters | --ruby] [TEXT]
// Prints the pinyin text and the hint text, each followed by a line feed, or
// with --ruby the text as HTML ruby, one paragraph a line.
// Without TEXT the source is all of in (UTF-8), checked as it is read.
// Returns the exit code that the usage text (--help) lists; a failure is
// reported in one line on err, bad usage with the usage text.
int RunPinyinCli(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
                 std::ostream& err);

// Reports on err in one line that memory ran out; returns the exit code for it.
int ReportOutOfMemory(std::ostream& err);

}  // namespace kelvaro
