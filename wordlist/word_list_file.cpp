#include "wordlist/word_list_file.h"

#include <fstream>
#include <system_error>

#include "dictionary/gbk_codec.h"

namespace kelvaro {

std::vector<std::u16string> SplitWordList(std::u16string_view text, std::size_t maxEntries) {
  std::vector<std::u16string> entries;
  std::size_t entryStart = 0;
  for (std::size_t searchFrom = 0; entries.size() < maxEntries;) {
    const std::size_t cr = text.find(u"\r\n", searchFrom);
    if (cr == std::u16string_view::npos) {
      break;
    }
    entries.emplace_back(text.substr(entryStart, cr - entryStart));
    if (entries.back().empty()) {
      break;
    }
    entryStart = cr + 2;
    searchFrom = cr + 1;
  }
  return entries;
}

std::vector<std::u16string> ParseWordList(std::string_view gbkBytes, std::size_t maxEntries) {
  return SplitWordList(DecodeGbk(gbkBytes), maxEntries);
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return std::nullopt;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return std::nullopt;
  }
  std::string bytes;
  const auto size = std::filesystem::file_size(path, error);
  if (!error) {
    bytes.reserve(static_cast<std::size_t>(size));
  }
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (file.bad()) {
    return std::nullopt;
  }
  return bytes;
}

std::vector<std::u16string> LoadWordListFile(const std::filesystem::path& path,
                                             std::size_t maxEntries) {
  const auto bytes = ReadWholeFile(path);
  return bytes ? ParseWordList(*bytes, maxEntries) : std::vector<std::u16string>{};
}

}  // namespace kelvaro
