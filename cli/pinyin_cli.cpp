#include "cli/pinyin_cli.h"

#include <iostream>
#include <iterator>
#include <optional>
#include <string>

#include "cli/utf8.h"
#include "convert/conversion.h"

namespace kelvaro {
namespace {

constexpr std::string_view kUsage =
    "usage: kelvaro-pinyin [--with-characters] [TEXT]\n"
    "\n"
    "Prints the tone-marked pinyin of the Chinese characters in TEXT, then the\n"
    "keys to type for them. Without TEXT, reads UTF-8 text from standard input.\n"
    "\n"
    "  --with-characters  write each character followed by its reading: 中(zhōng)\n"
    "  --help             show this help\n";

}  // namespace

int RunPinyinCli(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
  DisplayMode mode = DisplayMode::kReadingOnly;
  std::optional<std::string_view> text;
  bool optionsEnded = false;
  for (const std::string_view arg : args) {
    if (!optionsEnded && arg == "--help") {
      out << kUsage;
      return 0;
    }
    if (!optionsEnded && arg == "--with-characters") {
      mode = DisplayMode::kCharacterWithReading;
    } else if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
      err << "kelvaro-pinyin: unknown option " << arg << "\n" << kUsage;
      return 2;
    } else if (!text) {
      text = arg;
    } else {
      err << "kelvaro-pinyin: give at most one TEXT\n" << kUsage;
      return 2;
    }
  }

  std::string input;
  if (text) {
    input = *text;
  } else {
    input.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  auto decoded = DecodeUtf8(input);
  if (const auto* error = std::get_if<Utf8Error>(&decoded)) {
    err << "kelvaro-pinyin: input is not valid UTF-8 at byte offset " << error->byteOffset << "\n";
    return 1;
  }
  const PinyinDictionary dictionary = PinyinDictionary::LoadBuiltIn();
  const PinyinConverter converter(dictionary);
  const ConversionResult result = converter.Convert(std::get<std::u16string>(decoded), mode);
  out << EncodeUtf8(result.pinyin) << '\n' << EncodeUtf8(result.hints) << '\n';
  return 0;
}

}  // namespace kelvaro
