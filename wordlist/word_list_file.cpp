#include "wordlist/word_list_file.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "dictionary/text_codec.h"

namespace kelvaro {
namespace {

// The file is read in pieces of this size.
constexpr std::size_t kReadPiece = 64 * 1024;

}  // namespace

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

WordListReader::WordListReader(std::size_t maxEntries)
    : maxEntries_(maxEntries), complete_(maxEntries == 0) {}

bool WordListReader::Feed(std::string_view bytes) {
  if (complete_) {
    return false;
  }
  // Only the new bytes, and a CR just before them, can hold a new CR LF.
  const std::size_t searchFrom = unfinishedLine_.empty() ? 0 : unfinishedLine_.size() - 1;
  unfinishedLine_.append(bytes);
  const std::size_t lastCrLf = std::string_view(unfinishedLine_).substr(searchFrom).rfind("\r\n");
  if (lastCrLf == std::string_view::npos) {
    return true;
  }
  // GBK never uses the bytes of CR and LF inside a character, so the
  // complete lines decode as they would as part of the whole file.
  const std::size_t linesEnd = searchFrom + lastCrLf + 2;
  std::vector<std::u16string> lines = ParseWordList(
      std::string_view(unfinishedLine_).substr(0, linesEnd), maxEntries_ - entries_.size());
  const bool endedByEmptyLine = !lines.empty() && lines.back().empty();
  entries_.insert(entries_.end(), std::make_move_iterator(lines.begin()),
                  std::make_move_iterator(lines.end()));
  unfinishedLine_.erase(0, linesEnd);
  complete_ = endedByEmptyLine || entries_.size() == maxEntries_;
  if (complete_) {
    unfinishedLine_ = std::string();
  }
  return !complete_;
}

std::vector<std::u16string> LoadWordListFile(const std::filesystem::path& path,
                                             std::size_t maxEntries) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return {};
  }
  std::ifstream file(path, std::ios::binary);
  WordListReader reader(maxEntries);
  std::string piece(kReadPiece, '\0');
  for (std::size_t total = 0; total < kWordListMaxBytes;) {
    file.read(piece.data(),
              static_cast<std::streamsize>(std::min(piece.size(), kWordListMaxBytes - total)));
    const auto count = static_cast<std::size_t>(file.gcount());
    if (count == 0 || !reader.Feed(std::string_view(piece).substr(0, count))) {
      break;
    }
    total += count;
  }
  return reader.TakeEntries();
}

}  // namespace kelvaro
