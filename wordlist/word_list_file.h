#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvaro {

// The name of the word-list file beside the program, as the build sets it in
// the top CMakeLists.txt.
inline constexpr std::u8string_view kWordListFileName = u8"" KELVARO_WORD_LIST_NAME;

// As many entries as a list box holds; lines past them are not loaded.
inline constexpr std::size_t kWordListCapacity = 32767;

// The most of a word-list file that is read: 16 MiB. A full list of 32,767
// words of four characters takes about 330 KB, so this is fifty times more
// than a real list needs, and it bounds the time and memory that a huge or
// endless file can take at start. Lines that end beyond it are not loaded.
inline constexpr std::size_t kWordListMaxBytes = 16 * 1024 * 1024;

// Splits decoded word-list text into entries: each line ended by CR LF is one
// entry, verbatim. The first empty line is kept as an empty entry and ends the
// list; a last line without CR LF is not an entry. At most maxEntries.
std::vector<std::u16string> SplitWordList(std::u16string_view text,
                                          std::size_t maxEntries = kWordListCapacity);

// Decodes the GBK bytes of a word-list file and splits them.
std::vector<std::u16string> ParseWordList(std::string_view gbkBytes,
                                          std::size_t maxEntries = kWordListCapacity);

// Builds the list from the bytes of a word-list file as they are read, piece
// by piece: each run of complete lines is decoded and split when its CR LF
// arrives, so only the unfinished last line is held as bytes. The entries are
// those that ParseWordList gives for all the bytes fed, wherever the pieces
// are cut.
class WordListReader {
 public:
  explicit WordListReader(std::size_t maxEntries = kWordListCapacity);

  // Takes the next bytes of the file. False once the list is complete (full,
  // or ended by its empty line): no later byte can change it.
  bool Feed(std::string_view bytes);
  // The entries so far, handed over.
  std::vector<std::u16string> TakeEntries() { return std::move(entries_); }

 private:
  std::size_t maxEntries_;
  std::vector<std::u16string> entries_;
  std::string unfinishedLine_;
  bool complete_;
};

// Reads and parses the word-list file at path, in pieces, up to
// kWordListMaxBytes and no further than the list needs. A file that is
// missing, not a regular file or unreadable gives an empty list. The file is
// opened for reading only.
std::vector<std::u16string> LoadWordListFile(const std::filesystem::path& path,
                                             std::size_t maxEntries = kWordListCapacity);

}  // namespace kelvaro
