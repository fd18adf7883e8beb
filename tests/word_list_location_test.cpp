#include "wordlist/word_list_location.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "wordlist/word_list_file.h"

namespace kelvaro {
namespace {

// 中文 in GBK: a folder name that is not valid UTF-8.
const std::string kGbkFolderName = "\xD6\xD0\xCE\xC4";
// 小孩子感兴趣的词.txt in GBK, as unzip leaves a name made on a Chinese Windows system.
const std::string kGbkWordListName =
    "\xD0\xA1\xBA\xA2\xD7\xD3\xB8\xD0\xD0\xCB\xC8\xA4\xB5\xC4\xB4\xCA.txt";

class WordListLocationTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("kelvaro-location-" +
            std::string(testing::UnitTest::GetInstance()->current_test_info()->name())) /
           kGbkFolderName;
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_.parent_path()); }
  std::filesystem::path dir_;
};

TEST_F(WordListLocationTest, FindsTheFileUnderItsUtf8OrItsGbkName) {
  const std::filesystem::path utf8 = dir_ / kWordListFileName;
  const std::filesystem::path gbk = dir_ / kGbkWordListName;
  struct Row {
    const char* name;
    bool utf8Present;
    bool gbkPresent;
    std::filesystem::path found;
  };
  const Row rows[] = {
      {"neither", false, false, utf8},
      {"UTF-8 name", true, false, utf8},
      {"GBK name", false, true, gbk},
      {"both", true, true, utf8},
  };
  for (const Row& row : rows) {
    std::filesystem::remove(utf8);
    std::filesystem::remove(gbk);
    if (row.utf8Present) std::ofstream(utf8, std::ios::binary) << "a\r\n";
    if (row.gbkPresent) std::ofstream(gbk, std::ios::binary) << "\xC3\xA8\r\n";
    EXPECT_EQ(FindWordListFile(dir_), row.found) << row.name;
  }
  EXPECT_EQ(LoadWordListFile(FindWordListFile(dir_)), std::vector<std::u16string>{u"a"});
  std::filesystem::remove(utf8);
  EXPECT_EQ(LoadWordListFile(FindWordListFile(dir_)), std::vector<std::u16string>{u"猫"});
}

TEST_F(WordListLocationTest, TheProgramFindsItsFolderWhateverBytesItsNameHolds) {
  const std::filesystem::path probe = dir_ / "probe";
  std::filesystem::copy_file(KELVARO_EXECUTABLE_DIRECTORY_PROBE, probe);
  FILE* output = popen(("'" + probe.native() + "'").c_str(), "r");
  ASSERT_NE(output, nullptr);
  std::string printed;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, output)) > 0;) {
    printed.append(buffer, n);
  }
  EXPECT_EQ(pclose(output), 0);
  EXPECT_EQ(printed, std::filesystem::canonical(dir_).native());
}

// Sets an environment variable for the length of a test (nullopt: unset) and
// restores it after.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ~ScopedVariable() { Set(old_); }

 private:
  void Set(const std::optional<std::string>& value) {
    if (value) {
      setenv(name_, value->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  const char* name_;
  std::optional<std::string> old_;
};

// What lies at the parent's own word-list path.
enum class Own {
  kNone,
  kUtf8List,
  kEmptyFile,
  kFolder,
  kDanglingLink,
  kNoReadPermission,
  kGbkName
};

struct OwnListRow {
  const char* name;
  std::optional<std::string> xdgConfigHome;  // relative to the test's folder when not empty
  std::optional<std::string> home;           // relative to the test's folder
  std::string ownFolder;                     // where the own list is put, relative too
  Own own;
  bool ownChosen;
};

// 张小明 in GBK bytes: a home folder whose name is not UTF-8.
const std::string kGbkHomeName = "\xD5\xC5\xD0\xA1\xC3\xF7";

const OwnListRow kOwnListRows[] = {
    {"~/.config", std::nullopt, "home", "home/.config/kelvaro", Own::kUtf8List, true},
    {"HOME with a Chinese name", std::nullopt, "张小明", "张小明/.config/kelvaro", Own::kUtf8List,
     true},
    {"HOME with a name in GBK bytes", std::nullopt, kGbkHomeName, kGbkHomeName + "/.config/kelvaro",
     Own::kUtf8List, true},
    {"XDG_CONFIG_HOME with a Chinese name", "设置", "home", "设置/kelvaro", Own::kUtf8List, true},
    {"XDG_CONFIG_HOME empty", "", "home", "home/.config/kelvaro", Own::kUtf8List, true},
    {"XDG_CONFIG_HOME relative", "relative", "home", "home/.config/kelvaro", Own::kUtf8List, true},
    {"XDG_CONFIG_HOME wins over HOME", "xdg", "home", "home/.config/kelvaro", Own::kUtf8List,
     false},
    {"own list under its GBK name", std::nullopt, "home", "home/.config/kelvaro", Own::kGbkName,
     true},
    {"own list empty", std::nullopt, "home", "home/.config/kelvaro", Own::kEmptyFile, true},
    {"no own list", std::nullopt, "home", "home/.config/kelvaro", Own::kNone, false},
    {"own list a folder", std::nullopt, "home", "home/.config/kelvaro", Own::kFolder, false},
    {"own list a dangling link", std::nullopt, "home", "home/.config/kelvaro", Own::kDanglingLink,
     false},
    {"own list unreadable", std::nullopt, "home", "home/.config/kelvaro", Own::kNoReadPermission,
     false},
    {"no HOME, no XDG_CONFIG_HOME", std::nullopt, std::nullopt, "home/.config/kelvaro",
     Own::kUtf8List, false},
};

// The parent's own list comes first; a missing or unreadable one leaves the
// list beside the program, whatever the names of the folders.
TEST_F(WordListLocationTest, TheParentsOwnListComesFirst) {
  const std::filesystem::path root = dir_.parent_path();
  const std::filesystem::path program = root / "program";
  std::filesystem::create_directories(program);
  std::ofstream(program / kWordListFileName, std::ios::binary) << "\xD6\xD0\xB9\xFA\r\n";  // 中国
  const std::vector<std::u16string> programEntries{u"中国"};
  const std::vector<std::u16string> ownEntries{u"恐龙", u"小熊猫"};

  for (const OwnListRow& row : kOwnListRows) {
    SCOPED_TRACE(row.name);
    const auto inRoot = [&](const std::optional<std::string>& name) -> std::optional<std::string> {
      if (!name || name->empty() || name == "relative") return name;
      return (root / *name).native();
    };
    const ScopedVariable xdg("XDG_CONFIG_HOME", inRoot(row.xdgConfigHome));
    const ScopedVariable home("HOME", inRoot(row.home));
    const std::filesystem::path folder = root / row.ownFolder;
    std::filesystem::create_directories(folder);
    const std::filesystem::path own =
        folder / (row.own == Own::kGbkName ? std::filesystem::path(kGbkWordListName)
                                           : std::filesystem::path(kWordListFileName));
    bool readable = true;
    switch (row.own) {
      case Own::kNone:
        break;
      case Own::kUtf8List:
      case Own::kGbkName:
        std::ofstream(own, std::ios::binary) << "恐龙\n小熊猫\n";
        break;
      case Own::kEmptyFile:
        std::ofstream(own, std::ios::binary).flush();
        break;
      case Own::kFolder:
        std::filesystem::create_directory(own);
        break;
      case Own::kDanglingLink:
        std::filesystem::create_symlink(folder / "gone.txt", own);
        break;
      case Own::kNoReadPermission:
        std::ofstream(own, std::ios::binary) << "恐龙\n小熊猫\n";
        std::filesystem::permissions(own, std::filesystem::perms::none);
        // Root reads it all the same.
        readable = std::ifstream(own).good();
        break;
    }
    const bool ownChosen = row.ownChosen || (row.own == Own::kNoReadPermission && readable);
    const std::filesystem::path chosen = ChooseWordListFile(OwnWordListFolder(), program);
    EXPECT_EQ(chosen, ownChosen ? own : program / kWordListFileName);
    const std::vector<std::u16string> entries = LoadWordListFile(chosen);
    if (row.own == Own::kEmptyFile) {
      EXPECT_TRUE(entries.empty());
    } else {
      EXPECT_EQ(entries, ownChosen ? ownEntries : programEntries);
    }
    std::filesystem::remove_all(root / row.ownFolder.substr(0, row.ownFolder.find('/')));
  }
}

}  // namespace
}  // namespace kelvaro
