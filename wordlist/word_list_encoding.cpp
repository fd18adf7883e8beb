#include "wordlist/word_list_encoding.h"

#include <algorithm>
#include <cstddef>
#include <variant>

#include "dictionary/text_codec.h"

namespace kelvaro {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The characters of GB2312 that bytes read as GBK hold.
struct Gb2312Count {
  std::size_t firstLevel = 0;  // rows 16 to 55: bytes B0A1 to D7F9
  std::size_t bothLevels = 0;  // rows 16 to 87: bytes B0A1 to F7FE
};

Gb2312Count CountGb2312(std::string_view bytes) {
  Gb2312Count count;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const auto trail = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    // A GBK character: a lead byte 81 to FE and a trail byte 40 to FE but 7F.
    if (lead < 0x81 || lead == 0xFF || trail < 0x40 || trail == 0x7F || trail == 0xFF) {
      ++i;
      continue;
    }
    if (lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1) {
      ++count.bothLevels;
      count.firstLevel += lead < 0xD7 || (lead == 0xD7 && trail <= 0xF9);
    }
    i += 2;
  }
  return count;
}

std::size_t CountChineseCharacters(std::u16string_view text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char16_t c) { return c >= 0x4E00 && c <= 0x9FFF; }));
}

// Valid UTF-8 without a byte-order mark: UTF-8 when its reading as UTF-8
// holds Chinese characters at least as often as its reading as GBK holds
// first-level ones, or when neither reading holds any.
bool ReadsAsUtf8(std::u16string_view utf8Text, std::string_view bytes) {
  const std::size_t chinese = CountChineseCharacters(utf8Text);
  const Gb2312Count gbk = CountGb2312(bytes);
  return chinese > 0 ? chinese >= gbk.firstLevel : gbk.bothLevels == 0;
}

}  // namespace

WordListText DecodeWordList(std::string_view bytes) {
  const bool byteOrderMark = bytes.starts_with(kByteOrderMark);
  auto utf8 = DecodeUtf8(byteOrderMark ? bytes.substr(kByteOrderMark.size()) : bytes);
  if (auto* text = std::get_if<std::u16string>(&utf8)) {
    if (byteOrderMark || ReadsAsUtf8(*text, bytes)) {
      return {WordListEncoding::kUtf8, std::move(*text)};
    }
  }
  return {WordListEncoding::kGbk, DecodeGbk(bytes)};
}

}  // namespace kelvaro
