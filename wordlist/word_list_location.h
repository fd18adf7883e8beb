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

// The folder of a parent's own word list, as the XDG base directories place a
// program's settings: $XDG_CONFIG_HOME/kelvaro, or $HOME/.config/kelvaro when
// XDG_CONFIG_HOME is unset, empty or relative. The bytes of the variables are
// kept as they are, whatever their encoding. Empty when neither says.
std::filesystem::path OwnWordListFolder();

// The word-list file to read: the parent's own, in ownFolder, when it is a
// regular file that opens for reading; else the one beside the program. The
// installed list is never the one a parent edits, so an upgrade keeps it.
std::filesystem::path ChooseWordListFile(const std::filesystem::path& ownFolder,
                                         const std::filesystem::path& programDirectory);

}  // namespace kelvaro
