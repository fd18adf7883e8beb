#include "wordlist/word_list_location.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "dictionary/text_codec.h"
#include "wordlist/word_list_file.h"

namespace kelvaro {
namespace {

// An absolute path held by an environment variable, or nothing.
std::filesystem::path AbsolutePathFrom(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && value[0] == '/' ? std::filesystem::path(value)
                                             : std::filesystem::path();
}

bool OpensForReading(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return false;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  close(fd);
  return true;
}

}  // namespace

std::filesystem::path ExecutableDirectory() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : executable.parent_path();
}

std::filesystem::path FindWordListFile(const std::filesystem::path& programDirectory) {
  const std::filesystem::path utf8Name = programDirectory / kWordListFileName;
  std::error_code error;
  if (std::filesystem::exists(utf8Name, error)) {
    return utf8Name;
  }
  if (const auto gbkName = EncodeGbk(std::filesystem::path(kWordListFileName).u16string())) {
    const std::filesystem::path gbkPath = programDirectory / *gbkName;
    if (std::filesystem::exists(gbkPath, error)) {
      return gbkPath;
    }
  }
  return utf8Name;
}

std::filesystem::path OwnWordListFolder() {
  std::filesystem::path configHome = AbsolutePathFrom("XDG_CONFIG_HOME");
  if (configHome.empty()) {
    const std::filesystem::path home = AbsolutePathFrom("HOME");
    if (home.empty()) {
      return {};
    }
    configHome = home / ".config";
  }
  return configHome / "kelvaro";
}

std::filesystem::path ChooseWordListFile(const std::filesystem::path& ownFolder,
                                         const std::filesystem::path& programDirectory) {
  if (!ownFolder.empty()) {
    const std::filesystem::path own = FindWordListFile(ownFolder);
    if (OpensForReading(own)) {
      return own;
    }
  }
  return FindWordListFile(programDirectory);
}

}  // namespace kelvaro
