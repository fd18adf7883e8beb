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
    dir_ =
        std::filesystem::temp_directory_path() /
        ("kelvaro-wordlist-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path Path() const { return dir_ / kWordListFileName; }
  void Write(std::string_view bytes) const { std::ofstream(Path(), std::ios::binary) << bytes; }
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

std::string Repeat(std::string_view piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

struct HostileFile {
  const char* name;
  std::string bytes;
  std::size_t entries;
  std::u16string firstEntry;
};

TEST_F(WordListFileTest, HostileFilesLoadWhatTheSplitGivesAndStayUnchanged) {
  std::string junk(4096, '\0');
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 7919 + 13) % 251);
  const HostileFile files[] = {
      {"empty", "", 0, u""},
      {"binary junk without CR LF", junk, 0, u""},
      {"invalid GBK", "\xFF\xFF\r\n\x81\r\n", 2, u"\uFFFD\uFFFD"},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF\xE4\xB8\xAD\r\n", 1, u"锘夸腑"},
      {"LF line ends only", "a\nb\nc\n", 0, u""},
      {"50 MB of lines", Repeat("\xC3\xA8\r\n", 50 * 1024 * 1024 / 4), kWordListCapacity, u"猫"},
      {"one line of 1 MB", Repeat("a", 1024 * 1024) + "\r\n", 1, std::u16string(1024 * 1024, u'a')},
  };
  for (const HostileFile& file : files) {
    Write(file.bytes);
    const auto entries = LoadWordListFile(Path());
    EXPECT_EQ(entries.size(), file.entries) << file.name;
    if (!entries.empty()) {
      EXPECT_EQ(entries.front(), file.firstEntry) << file.name;
    }
    EXPECT_EQ(ReadWholeFile(Path()), file.bytes) << file.name;
  }
}

TEST_F(WordListFileTest, AFileWithoutReadPermissionLoadsAsAnyReaderMaySeeIt) {
  Write("\xD6\xD0\xB9\xFA\r\n");
  std::filesystem::permissions(Path(), std::filesystem::perms::none);
  // Root reads it all the same; anyone else gets an empty list.
  const bool readable = std::ifstream(Path()).good();
  EXPECT_EQ(LoadWordListFile(Path()).size(), readable ? 1u : 0u);
  std::filesystem::permissions(Path(), std::filesystem::perms::owner_all);
}

TEST(SplitWordList, StopsAtTheCapacity) {
  EXPECT_EQ(SplitWordList(u"a\r\nb\r\nc\r\n", 2), (std::vector<std::u16string>{u"a", u"b"}));
  EXPECT_EQ(SplitWordList(u"a\r\nb\r\n", 0), std::vector<std::u16string>{});
}

}  // namespace
}  // namespace kelvaro
