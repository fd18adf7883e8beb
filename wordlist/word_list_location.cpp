#include "wordlist/word_list_location.h"

#include <system_error>

#include "dictionary/text_codec.h"
#include "wordlist/word_list_file.h"

namespace kelvaro {

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

}  // namespace kelvaro
