#include "wordlist/word_list_file.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace kelvaro {
namespace {

// The file is read in pieces of this size.
constexpr std::size_t kReadPiece = 64 * 1024;

}  // namespace

std::vector<std::u16string> SplitWordList(std::u16string_view text, WordListEncoding encoding,
                                          std::size_t maxEntries) {
  const std::u16string_view lineEnd = encoding == WordListEncoding::kGbk ? u"\r\n" : u"\n";
  std::vector<std::u16string> entries;
  for (std::size_t entryStart = 0; entries.size() < maxEntries;) {
    const std::size_t end = text.find(lineEnd, entryStart);
    if (end == std::u16string_view::npos) {
      break;
    }
    std::u16string_view entry = text.substr(entryStart, end - entryStart);
    if (encoding == WordListEncoding::kUtf8 && entry.ends_with(u'\r')) {
      entry.remove_suffix(1);  // the CR of a CR LF
    }
    entries.emplace_back(entry);
    if (entry.empty()) {
      break;
    }
    entryStart = end + lineEnd.size();
  }
  return entries;
}

std::vector<std::u16string> ParseWordList(std::string_view bytes, std::size_t maxEntries) {
  WordListReader reader(maxEntries);
  reader.Feed(bytes);
  return reader.TakeEntries();
}

WordListReader::WordListReader(std::size_t maxEntries)
    : maxEntries_(maxEntries), complete_(maxEntries == 0) {}

bool WordListReader::Feed(std::string_view bytes) {
  if (complete_) {
    return false;
  }
  bytes_.append(bytes);
  // GBK never uses the bytes of CR and LF inside a character, so its lines
  // are found in the bytes. A CR at the end of the last piece may start a
  // CR LF.
  for (std::size_t cr = bytes_.find("\r\n", searched_ == 0 ? 0 : searched_ - 1);
       cr != std::string::npos; cr = bytes_.find("\r\n", cr + 1)) {
    const bool empty = cr == lineStart_;
    lineStart_ = cr + 2;
    if (empty || ++lines_ == maxEntries_) {
      bytes_.resize(lineStart_);
      complete_ = true;
      return false;
    }
  }
  searched_ = bytes_.size();
  return true;
}

std::vector<std::u16string> WordListReader::TakeEntries() {
  if (!complete_) {
    // Only whole lines: a last line without its line end is no entry.
    const std::size_t lastLf = bytes_.rfind('\n');
    bytes_.resize(lastLf == std::string::npos ? 0 : lastLf + 1);
  }
  const WordListText list = DecodeWordList(bytes_);
  bytes_ = std::string();
  return SplitWordList(list.text, list.encoding, maxEntries_);
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
