#include "cli/pinyin_cli.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "cli/ruby_html.h"
#include "convert/conversion.h"
#include "dictionary/text_codec.h"
#include "sheet/ruby_text.h"

namespace kelvaro {
namespace {

enum ExitCode { kDone = 0, kBadInput = 1, kBadUsage = 2, kOutputFailed = 3, kOutOfMemory = 4 };

// Each exit code with what it means, as the usage text lists them.
constexpr std::pair<ExitCode, std::string_view> kExitCodes[] = {
    {kDone, "done"},
    {kBadInput, "the input could not be read or is not valid UTF-8 (nothing is printed)"},
    {kBadUsage, "bad usage"},
    {kOutputFailed, "the output could not be written"},
    {kOutOfMemory, "there is not enough memory to convert the input"},
};

constexpr std::string_view kUsage =
    "usage: kelvaro-pinyin [--with-characters | --ruby] [TEXT]\n"
    "\n"
    "Prints the tone-marked pinyin of the Chinese characters in TEXT, then the\n"
    "keys to type for them. Without TEXT, reads UTF-8 text from standard input.\n"
    "\n"
    "  --with-characters  write each character followed by its reading: 中(zhōng)\n"
    "  --ruby             write the text as HTML ruby instead, each reading above\n"
    "                     its character: <ruby>中<rt>zhōng</rt></ruby>; one <p>\n"
    "                     per line of the text, other text kept and escaped\n"
    "  --help             show this help\n"
    "\n"
    "Exit status:\n";

std::ostream& WriteUsage(std::ostream& os) {
  os << kUsage;
  for (const auto& [code, meaning] : kExitCodes) os << "  " << code << "  " << meaning << "\n";
  return os;
}

// Input is read and checked in pieces of this size.
constexpr std::size_t kReadPiece = 64 * 1024;
// Output is encoded and written in pieces of this many UTF-16 code units.
constexpr std::size_t kWritePiece = 64 * 1024;

// What the last failed system call reports, or what failed when it did not set errno.
std::string Reason(const char* fallback) { return errno != 0 ? std::strerror(errno) : fallback; }

void InvalidUtf8(const Utf8Error& error, std::ostream& err) {
  err << "kelvaro-pinyin: input is not valid UTF-8 at byte offset " << error.byteOffset << "\n";
}

// Reads all of in as UTF-8, checking each piece as it arrives, so that the
// first invalid byte ends the reading. A failure is reported on err and gives nullopt.
std::optional<std::u16string> ReadSource(std::istream& in, std::ostream& err) {
  std::u16string source;
  Utf8Decoder decoder;
  std::array<char, kReadPiece> buffer;
  errno = 0;
  while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0) {
    if (!decoder.Feed({buffer.data(), static_cast<std::size_t>(in.gcount())}, source)) {
      InvalidUtf8(decoder.error(), err);
      return std::nullopt;
    }
    errno = 0;
  }
  if (in.bad()) {
    err << "kelvaro-pinyin: cannot read standard input: " << Reason("read error") << "\n";
    return std::nullopt;
  }
  if (!decoder.Finish()) {
    InvalidUtf8(decoder.error(), err);
    return std::nullopt;
  }
  return source;
}

// Writes text as UTF-8 and a line feed, a piece at a time, never splitting a
// surrogate pair. False at the first failed write.
bool WriteLine(std::u16string_view text, std::ostream& out) {
  while (!text.empty()) {
    std::size_t length = std::min(text.size(), kWritePiece);
    if (length < text.size() && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) {
      --length;
    }
    const std::string bytes = EncodeUtf8(text.substr(0, length));
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
      return false;
    }
    text.remove_prefix(length);
  }
  return static_cast<bool>(out << '\n');
}

int OutputFailed(std::ostream& err) {
  err << "kelvaro-pinyin: cannot write the output: " << Reason("write error") << "\n";
  return kOutputFailed;
}

// The source as HTML ruby, a paragraph and a line feed per line.
int WriteRuby(const PinyinConverter& converter, std::u16string_view source, std::ostream& out,
              std::ostream& err) {
  errno = 0;
  for (const RubyLine& line : RubyLines(converter, source)) {
    if (!WriteLine(RubyHtmlParagraph(line, source), out)) return OutputFailed(err);
  }
  return out.flush() ? kDone : OutputFailed(err);
}

int Run(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
        std::ostream& err) {
  DisplayMode mode = DisplayMode::kReadingOnly;
  bool ruby = false;
  std::optional<std::string_view> text;
  bool optionsEnded = false;
  for (const std::string_view arg : args) {
    if (!optionsEnded && arg == "--help") {
      errno = 0;
      if (!WriteUsage(out).flush()) {
        err << "kelvaro-pinyin: cannot write the output: " << Reason("write error") << "\n";
        return kOutputFailed;
      }
      return kDone;
    }
    if (!optionsEnded && arg == "--with-characters") {
      mode = DisplayMode::kCharacterWithReading;
    } else if (!optionsEnded && arg == "--ruby") {
      ruby = true;
    } else if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
      WriteUsage(err << "kelvaro-pinyin: unknown option " << arg << "\n");
      return kBadUsage;
    } else if (!text) {
      text = arg;
    } else {
      WriteUsage(err << "kelvaro-pinyin: give at most one TEXT\n");
      return kBadUsage;
    }
  }

  if (ruby && mode != DisplayMode::kReadingOnly) {
    WriteUsage(err << "kelvaro-pinyin: give --with-characters or --ruby, not both\n");
    return kBadUsage;
  }

  std::u16string source;
  if (text) {
    auto decoded = DecodeUtf8(*text);
    if (const auto* error = std::get_if<Utf8Error>(&decoded)) {
      InvalidUtf8(*error, err);
      return kBadInput;
    }
    source = std::get<std::u16string>(std::move(decoded));
  } else {
    auto read = ReadSource(in, err);
    if (!read) {
      return kBadInput;
    }
    source = std::move(*read);
  }
  const PinyinConverter converter(PinyinDictionary::LoadBuiltIn());
  if (ruby) return WriteRuby(converter, source, out, err);
  const ConversionResult result = converter.Convert(source, mode);
  source = std::u16string();  // no longer needed while the output is written
  errno = 0;
  if (!WriteLine(result.pinyin, out) || !WriteLine(result.hints, out) || !out.flush()) {
    err << "kelvaro-pinyin: cannot write the output: " << Reason("write error") << "\n";
    return kOutputFailed;
  }
  return kDone;
}

}  // namespace

int RunPinyinCli(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
  try {
    return Run(args, in, out, err);
  } catch (const std::bad_alloc&) {
    return ReportOutOfMemory(err);  // what the input and its conversion held is freed by now
  }
}

int ReportOutOfMemory(std::ostream& err) {
  err << "kelvaro-pinyin: cannot convert the input: " << std::strerror(ENOMEM) << "\n";
  return kOutOfMemory;
}

}  // namespace kelvaro
