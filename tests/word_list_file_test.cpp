#include "wordlist/word_list_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace kelvaro {
namespace {

struct SplitRow {
  const char* name;
  std::u16string_view text;
  std::vector<std::u16string> entries;
};

const SplitRow kSplitRows[] = {
    {"empty", u"", {}},
    {"every line ended", u"妈妈\r\n爸爸\r\n小狗\r\n", {u"妈妈", u"爸爸", u"小狗"}},
    {"last line without CR LF", u"妈妈\r\n爸爸\r\n小狗", {u"妈妈", u"爸爸"}},
    {"empty line ends the list", u"妈妈\r\n爸爸\r\n\r\n小狗\r\n", {u"妈妈", u"爸爸", u""}},
    {"starts with CR LF", u"\r\n妈妈\r\n", {u""}},
    {"LF only", u"妈妈\n爸爸\n", {}},
    {"spaces kept", u"  小猫 \r\n", {u"  小猫 "}},
    {"lone CR and LF stay in the entry", u"a\rb\nc\r\n", {u"a\rb\nc"}},
    {"CR before CR LF", u"a\r\r\nb\r\n", {u"a\r", u"b"}},
    {"no line end at all", u"小猫", {}},
};

TEST(SplitWordList, SplitsAtCrLfUpToTheFirstEmptyLine) {
  for (const SplitRow& row : kSplitRows) {
    EXPECT_EQ(SplitWordList(row.text), row.entries) << row.name;
  }
}

TEST(ParseWordList, DecodesGbk) {
  EXPECT_EQ(ParseWordList("\xD6\xD0\xB9\xFA\r\n\xFF\r\n"),
            (std::vector<std::u16string>{u"中国", u"\uFFFD"}));
  // A UTF-8 file is read as GBK and yields garbled entries, nothing more.
  const auto garbled = ParseWordList("\xE4\xB8\xAD\r\n");
  ASSERT_EQ(garbled.size(), 1u);
  EXPECT_NE(garbled[0], u"中");
}

class WordListFileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("kelvaro-wordlist-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path Path() const { return dir_ / kWordListFileName; }
  void Write(std::string_view bytes) const {
    std::ofstream(Path(), std::ios::binary) << bytes;
  }
  std::filesystem::path dir_;
};

TEST_F(WordListFileTest, MissingFileGivesAnEmptyList) {
  EXPECT_TRUE(LoadWordListFile(Path()).empty());
  EXPECT_FALSE(ReadWholeFile(Path()).has_value());
}

TEST_F(WordListFileTest, DirectoryWithTheFileNameGivesAnEmptyList) {
  std::filesystem::create_directory(Path());
  EXPECT_TRUE(LoadWordListFile(Path()).empty());
}

TEST_F(WordListFileTest, ReadsTheWholeFileAndLeavesItUnchanged) {
  const std::string bytes = "\xD6\xD0\xB9\xFA\r\n\xC3\xA8\r\n";  // 中国, 猫
  Write(bytes);
  EXPECT_EQ(LoadWordListFile(Path()), (std::vector<std::u16string>{u"中国", u"猫"}));
  EXPECT_EQ(ReadWholeFile(Path()), bytes);
}

}  // namespace
}  // namespace kelvaro
