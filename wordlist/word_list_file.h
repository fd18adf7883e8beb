#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

// The name of the word-list file beside the program.
inline constexpr std::u8string_view kWordListFileName = u8"小孩子感兴趣的词.txt";

// As many entries as a list box holds; lines past them are not loaded.
inline constexpr std::size_t kWordListCapacity = 32767;

// Splits decoded word-list text into entries: each line ended by CR LF is one
// entry, verbatim. The first empty line is kept as an empty entry and ends the
// list; a last line without CR LF is not an entry. At most maxEntries.
std::vector<std::u16string> SplitWordList(std::u16string_view text,
                                          std::size_t maxEntries = kWordListCapacity);

// Decodes the GBK bytes of a word-list file and splits them.
std::vector<std::u16string> ParseWordList(std::string_view gbkBytes,
                                          std::size_t maxEntries = kWordListCapacity);

// The whole content of a regular file, or nullopt when it cannot be read
// (missing, a directory, no permission). The file is opened for reading only.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Reads and parses the word-list file at path; an unreadable file gives an
// empty list.
std::vector<std::u16string> LoadWordListFile(const std::filesystem::path& path,
                                             std::size_t maxEntries = kWordListCapacity);

}  // namespace kelvaro
