// Arbitrary bytes as a word-list file: decoding never fails; the entries are
// the lines of the text, read as GBK and split at CR LF, or, only where the
// bytes are valid UTF-8, read as UTF-8 and split at LF; and they are the same
// whether the bytes come whole or in pieces.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "check.h"
#include "dictionary/text_codec.h"
#include "wordlist/word_list_file.h"

namespace {

// The split written out with 1-based positions: the found position of the
// last CR, the previous one, and the search from found + 1.
std::vector<std::u16string> SplitByPositions(const std::u16string& text) {
  std::vector<std::u16string> entries;
  long found = 0;
  long previous = -1;
  for (;;) {
    const std::size_t at =
        text.find(u"\r\n", static_cast<std::size_t>(found));  // from found + 1, 1-based
    if (at == std::u16string::npos) break;
    found = static_cast<long>(at) + 1;
    entries.push_back(text.substr(static_cast<std::size_t>(previous + 1),
                                  static_cast<std::size_t>(found - previous - 2)));
    if (entries.back().empty()) break;
    previous = found;
  }
  return entries;
}

// The UTF-8 split: an LF ends a line, and a CR just before it goes with it.
std::vector<std::u16string> SplitAtLf(const std::u16string& text) {
  std::vector<std::u16string> entries;
  std::size_t start = 0;
  for (std::size_t lf; (lf = text.find(u'\n', start)) != std::u16string::npos; start = lf + 1) {
    std::u16string line = text.substr(start, lf - start);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    entries.push_back(line);
    if (line.empty()) break;
  }
  return entries;
}

// The bytes the encoding is decided over: up to the empty line that ends the
// list read as GBK, or else up to the last LF.
std::string_view ListBytes(std::string_view bytes) {
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
    if (bytes[i] == '\r' && bytes[i + 1] == '\n') {
      if (i == lineStart) return bytes.substr(0, i + 2);
      lineStart = i + 2;
    }
  }
  const std::size_t lastLf = bytes.rfind('\n');
  return bytes.substr(0, lastLf == std::string_view::npos ? 0 : lastLf + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string_view listBytes = ListBytes(bytes);
  const auto entries = kelvaro::ParseWordList(bytes);
  std::string_view utf8Bytes = listBytes;
  if (utf8Bytes.starts_with("\xEF\xBB\xBF")) utf8Bytes.remove_prefix(3);
  const auto utf8 = kelvaro::DecodeUtf8(utf8Bytes);
  const std::u16string gbkText = kelvaro::DecodeGbk(listBytes);
  Check(gbkText.size() <= listBytes.size());
  const bool readAsGbk = entries == SplitByPositions(gbkText);
  const bool readAsUtf8 = std::holds_alternative<std::u16string>(utf8) &&
                          entries == SplitAtLf(std::get<std::u16string>(utf8));
  Check(readAsGbk || readAsUtf8);
  for (std::size_t i = 0; i + 1 < entries.size(); ++i) Check(!entries[i].empty());

  for (const std::size_t pieceSize :
       {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{64}}) {
    for (const std::size_t maxEntries : {std::size_t{2}, kelvaro::kWordListCapacity}) {
      kelvaro::WordListReader reader(maxEntries);
      for (std::size_t at = 0; at < bytes.size(); at += pieceSize) {
        reader.Feed(bytes.substr(at, pieceSize));
      }
      Check(reader.TakeEntries() == kelvaro::ParseWordList(bytes, maxEntries));
    }
  }
  return 0;
}
