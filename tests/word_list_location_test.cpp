#include "wordlist/word_list_location.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

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

}  // namespace
}  // namespace kelvaro
