#include "dictionary/pinyin_dictionary.h"

#include <stdexcept>
#include <unordered_map>

#include "dictionary/builtin_table.h"
#include "dictionary/text_codec.h"

namespace kelvaro {
namespace {

bool IsReadingLetter(char16_t c) { return (c >= u'a' && c <= u'z') || c == u'ü'; }
bool IsToneDigit(char16_t c) { return c >= u'1' && c <= u'5'; }

[[noreturn]] void ThrowBadLine(std::size_t lineNumber, const char* what) {
  throw std::invalid_argument("dictionary line " + std::to_string(lineNumber) + ": " + what);
}

}  // namespace

PinyinDictionary::PinyinDictionary(std::u16string_view text)
    : readings_(1), index_(std::make_unique<std::array<ReadingId, 0x10000>>()) {
  index_->fill(0);
  std::unordered_map<std::u16string_view, ReadingId> idOfReading;
  std::size_t lineNumber = 0;
  for (std::size_t start = 0; start < text.size();) {
    ++lineNumber;
    const std::size_t end = text.find(u"\r\n", start);
    if (end == std::u16string_view::npos) {
      ThrowBadLine(lineNumber, "missing CR LF");
    }
    const std::u16string_view line = text.substr(start, end - start);
    start = end + 2;
    if (line.size() < 4 || line[1] != u' ') {
      ThrowBadLine(lineNumber, "expected a character, a space and a reading");
    }
    const std::u16string_view reading = line.substr(2);
    for (std::size_t i = 0; i + 1 < reading.size(); ++i) {
      if (!IsReadingLetter(reading[i])) {
        ThrowBadLine(lineNumber, "reading holds a character other than a to z and ü");
      }
    }
    if (!IsToneDigit(reading.back())) {
      ThrowBadLine(lineNumber, "reading does not end in a tone digit 1 to 5");
    }
    ReadingId& slot = (*index_)[line[0]];
    if (slot != 0) {
      continue;  // a repeated character: its first line counts
    }
    auto [it, inserted] =
        idOfReading.try_emplace(reading, static_cast<ReadingId>(readings_.size()));
    if (inserted) {
      readings_.emplace_back(reading);
    }
    slot = it->second;
  }
}

PinyinDictionary PinyinDictionary::LoadBuiltIn() {
  return PinyinDictionary(DecodeGbk(BuiltInTableGbk()));
}

}  // namespace kelvaro
