#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "wordlist/word_list_encoding.h"

namespace kelvaro {

// The name of the word-list file, the parent's own and the one beside the
// program alike, as the build sets it in the top CMakeLists.txt.
inline constexpr std::u8string_view kWordListFileName = u8"" KELVARO_WORD_LIST_NAME;

// As many entries as a list box holds; lines past them are not loaded.
inline constexpr std::size_t kWordListCapacity = 32767;

// The most of a word-list file that is read: 16 MiB. A full list of 32,767
// words of four characters takes about 330 KB, so this is fifty times more
// than a real list needs, and it bounds the time and memory that a huge or
// endless file can take at start. Lines that end beyond it are not loaded.
inline constexpr std::size_t kWordListMaxBytes = 16 * 1024 * 1024;

// Splits decoded word-list text into entries, one for each line, verbatim. A
// GBK list's lines end with CR LF, and a lone CR or LF is part of its entry;
// a UTF-8 list's lines end with LF or CR LF, and a lone CR is part of its
// entry. The first empty line is kept as an empty entry and ends the list; a
// last line without its line end is not an entry. At most maxEntries.
std::vector<std::u16string> SplitWordList(std::u16string_view text, WordListEncoding encoding,
                                          std::size_t maxEntries = kWordListCapacity);

// The entries of a word-list file's bytes: WordListReader fed them all.
std::vector<std::u16string> ParseWordList(std::string_view bytes,
                                          std::size_t maxEntries = kWordListCapacity);

// Gathers the bytes of a word-list file as they are read, piece by piece, and
// says when the list is complete: once the lines read make a complete list
// read as GBK (up to its first empty line, or maxEntries lines), since read
// as UTF-8 it is complete by then too (each CR LF is an LF). The entries are
// then read from the whole lines gathered, up to that point or to the last
// LF: their encoding (DecodeWordList) is decided over those lines alone, so
// the entries do not depend on where the pieces are cut.
class WordListReader {
 public:
  explicit WordListReader(std::size_t maxEntries = kWordListCapacity);

  // Takes the next bytes of the file. False once the list is complete: no
  // later byte can change it.
  bool Feed(std::string_view bytes);
  // The entries, decoded and split; the bytes gathered are let go.
  std::vector<std::u16string> TakeEntries();

 private:
  std::size_t maxEntries_;
  std::string bytes_;          // the bytes gathered, up to the end of the list once complete
  std::size_t searched_ = 0;   // bytes already searched for CR LF
  std::size_t lineStart_ = 0;  // where the line that CR LF will end starts
  std::size_t lines_ = 0;      // lines ended by CR LF
  bool complete_;
};

// Reads and parses the word-list file at path, in pieces, up to
// kWordListMaxBytes and no further than the list needs. A file that is
// missing, not a regular file or unreadable gives an empty list. The file is
// opened for reading only.
std::vector<std::u16string> LoadWordListFile(const std::filesystem::path& path,
                                             std::size_t maxEntries = kWordListCapacity);

}  // namespace kelvaro
