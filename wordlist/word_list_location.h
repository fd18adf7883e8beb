#pragma once

#include <filesystem>

namespace kelvaro {

// The directory that holds the running program, as the bytes that the system
// gives for it, whatever their encoding (a folder unpacked from an archive
// made on Windows may carry GBK bytes). Empty when the system does not say.
std::filesystem::path ExecutableDirectory();

// The word-list file in programDirectory: the file named by kWordListFileName
// in UTF-8, or, when there is none, the one whose name is in GBK bytes, as
// unzip leaves a file named on a Chinese Windows system. The UTF-8 name when
// neither exists.
std::filesystem::path FindWordListFile(const std::filesystem::path& programDirectory);

}  // namespace kelvaro
