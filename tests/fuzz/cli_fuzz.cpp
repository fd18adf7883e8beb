// Arbitrary bytes on the converter's standard input: it either prints two
// lines of UTF-8 and exits 0, or prints nothing, names the offset and exits 1.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "check.h"
#include "cli/pinyin_cli.h"
#include "dictionary/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::vector<std::string_view> args;
  if (data[0] & 1) args.push_back("--with-characters");
  std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  std::ostringstream out;
  std::ostringstream err;
  const int code = kelvaro::RunPinyinCli(args, in, out, err);
  const std::string printed = out.str();
  if (code == 0) {
    Check(err.str().empty());
    std::size_t lineFeeds = 0;
    for (const char c : printed) lineFeeds += c == '\n';
    Check(lineFeeds == 2 && printed.back() == '\n');
    Check(std::holds_alternative<std::u16string>(kelvaro::DecodeUtf8(printed)));
  } else {
    Check(code == 1);
    Check(printed.empty());
    Check(err.str().find("byte offset ") != std::string::npos);
  }
  return 0;
}
