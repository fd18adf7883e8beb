// Arbitrary bytes as a word-list file: decoding never fails, and the entries
// are the lines of the decoded text, split as the list file is defined,
// whether the bytes come whole or in pieces, and however few entries fit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string text = kelvaro::DecodeGbk(bytes);
  Check(text.size() <= bytes.size());
  const std::vector<std::u16string> expected = SplitByPositions(text);
  const auto entries = kelvaro::ParseWordList(bytes);
  Check(entries == expected);
  for (std::size_t i = 0; i + 1 < entries.size(); ++i) Check(!entries[i].empty());

  for (const std::size_t pieceSize :
       {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{64}}) {
    for (const std::size_t maxEntries : {std::size_t{2}, kelvaro::kWordListCapacity}) {
      kelvaro::WordListReader reader(maxEntries);
      for (std::size_t at = 0; at < bytes.size(); at += pieceSize) {
        reader.Feed(bytes.substr(at, pieceSize));
      }
      const std::vector<std::u16string> fitting(
          expected.begin(),
          expected.begin() + static_cast<long>(std::min(maxEntries, expected.size())));
      Check(reader.TakeEntries() == fitting);
    }
  }
  return 0;
}
