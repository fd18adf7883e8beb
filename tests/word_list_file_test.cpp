#include "wordlist/word_list_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/test_support.h"

#if defined(__SANITIZE_ADDRESS__)
#define KELVARO_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#define KELVARO_ADDRESS_SANITIZER __has_feature(address_sanitizer)
#else
#define KELVARO_ADDRESS_SANITIZER 0
#endif

namespace kelvaro {
namespace {

struct SplitRow {
  const char* name;
  WordListEncoding encoding;
  std::u16string_view text;
  std::vector<std::u16string> entries;
};

constexpr WordListEncoding kGbk = WordListEncoding::kGbk;
constexpr WordListEncoding kUtf8 = WordListEncoding::kUtf8;

const SplitRow kSplitRows[] = {
    {"empty", kGbk, u"", {}},
    {"every line ended", kGbk, u"妈妈\r\n爸爸\r\n小狗\r\n", {u"妈妈", u"爸爸", u"小狗"}},
    {"last line without CR LF", kGbk, u"妈妈\r\n爸爸\r\n小狗", {u"妈妈", u"爸爸"}},
    {"empty line ends the list", kGbk, u"妈妈\r\n爸爸\r\n\r\n小狗\r\n", {u"妈妈", u"爸爸", u""}},
    {"starts with CR LF", kGbk, u"\r\n妈妈\r\n", {u""}},
    {"LF only", kGbk, u"妈妈\n爸爸\n", {}},
    {"spaces kept", kGbk, u"  小猫 \r\n", {u"  小猫 "}},
    {"lone CR and LF stay in the entry", kGbk, u"a\rb\nc\r\n", {u"a\rb\nc"}},
    {"CR before CR LF", kGbk, u"a\r\r\nb\r\n", {u"a\r", u"b"}},
    {"no line end at all", kGbk, u"小猫", {}},
    {"UTF-8: empty", kUtf8, u"", {}},
    {"UTF-8: LF", kUtf8, u"妈妈\n爸爸\n", {u"妈妈", u"爸爸"}},
    {"UTF-8: CR LF", kUtf8, u"妈妈\r\n爸爸\r\n", {u"妈妈", u"爸爸"}},
    {"UTF-8: both line ends", kUtf8, u"a\r\nb\nc\r\n", {u"a", u"b", u"c"}},
    {"UTF-8: lone CR stays in the entry", kUtf8, u"a\rb\n", {u"a\rb"}},
    {"UTF-8: CR before CR LF", kUtf8, u"a\r\r\nb\n", {u"a\r", u"b"}},
    {"UTF-8: last line without LF", kUtf8, u"a\nb", {u"a"}},
    {"UTF-8: empty line ends the list", kUtf8, u"a\n\nb\n", {u"a", u""}},
    {"UTF-8: empty line of CR LF", kUtf8, u"a\n\r\nb\n", {u"a", u""}},
    {"UTF-8: starts with LF", kUtf8, u"\na\n", {u""}},
    {"UTF-8: spaces kept", kUtf8, u" 小猫  \n", {u" 小猫  "}},
};

TEST(SplitWordList, SplitsAtItsLineEndsUpToTheFirstEmptyLine) {
  for (const SplitRow& row : kSplitRows) {
    EXPECT_EQ(SplitWordList(row.text, row.encoding), row.entries) << row.name;
  }
}

TEST(ParseWordList, DecodesGbk) {
  EXPECT_EQ(ParseWordList("\xD6\xD0\xB9\xFA\r\n\xFF\r\n"),
            (std::vector<std::u16string>{u"中国", u"\uFFFD"}));
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
}

TEST_F(WordListFileTest, DirectoryWithTheFileNameGivesAnEmptyList) {
  std::filesystem::create_directory(Path());
  EXPECT_TRUE(LoadWordListFile(Path()).empty());
}

TEST_F(WordListFileTest, ReadsTheWholeFileAndLeavesItUnchanged) {
  const std::string bytes = "\xD6\xD0\xB9\xFA\r\n\xC3\xA8\r\n";  // 中国, 猫
  Write(bytes);
  EXPECT_EQ(LoadWordListFile(Path()), (std::vector<std::u16string>{u"中国", u"猫"}));
  EXPECT_EQ(FileBytes(Path()), bytes);
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
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF\xE4\xB8\xAD\r\n", 1, u"中"},
      {"LF line ends only", "a\nb\nc\n", 3, u"a"},
      {"GBK with LF line ends only", "\xD6\xD0\n\xB9\xFA\n", 0, u""},
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
    EXPECT_EQ(FileBytes(Path()), file.bytes) << file.name;
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

struct ReaderRow {
  const char* name;
  std::string bytes;
  std::size_t maxEntries;
  std::vector<std::u16string> entries;
};

const ReaderRow kReaderRows[] = {
    {"GBK words", "\xD6\xD0\xB9\xFA\r\n\xC3\xA8\r\n", kWordListCapacity, {u"中国", u"猫"}},
    {"UTF-8 words, LF",
     "\xE4\xB8\xAD\xE5\x9B\xBD\n\xE7\x8C\xAB\n",
     kWordListCapacity,
     {u"中国", u"猫"}},
    {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF\xE7\x8C\xAB\r\n", kWordListCapacity, {u"猫"}},
    {"UTF-8, then a GBK line",
     "\xE7\x8C\xAB\r\n\xD6\xD0\r\n",
     kWordListCapacity,
     {u"\u941A\uFFFD", u"中"}},
    {"UTF-8 empty line ends the list", "a\nb\n\nc\n", kWordListCapacity, {u"a", u"b", u""}},
    {"empty line ends the list", "a\r\n\r\nb\r\n", kWordListCapacity, {u"a", u""}},
    {"starts with CR LF", "\r\na\r\n", kWordListCapacity, {u""}},
    {"last line without CR LF", "a\r\nb", kWordListCapacity, {u"a"}},
    {"CR before CR LF", "a\r\r\nb\r\n", kWordListCapacity, {u"a\r", u"b"}},
    {"GBK: lone LF and CR", "\xD6\xD0\nb\rc\r\n", kWordListCapacity, {u"中\nb\rc"}},
    {"UTF-8: lone CR", "a\nb\rc\r\n", kWordListCapacity, {u"a", u"b\rc"}},
    {"lead byte before CR LF", "\x81\r\n\xD6\xD0\r\n", kWordListCapacity, {u"\uFFFD", u"中"}},
    {"lead byte before LF", "\xD6\n\r\n", kWordListCapacity, {u"\uFFFD\n"}},
    {"full list", "a\r\nb\r\nc\r\n", 2, {u"a", u"b"}},
    {"no room", "a\r\n", 0, {}},
};

TEST(WordListReader, GivesTheSameEntriesWhereverThePiecesAreCut) {
  for (const ReaderRow& row : kReaderRows) {
    const std::string_view bytes = row.bytes;
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
      WordListReader reader(row.maxEntries);
      reader.Feed(bytes.substr(0, cut));
      reader.Feed(bytes.substr(cut));
      EXPECT_EQ(reader.TakeEntries(), row.entries) << row.name << ", cut at " << cut;
    }
    WordListReader reader(row.maxEntries);
    for (const char byte : bytes) reader.Feed(std::string_view(&byte, 1));
    EXPECT_EQ(reader.TakeEntries(), row.entries) << row.name << ", byte by byte";
  }
}

TEST(WordListReader, SaysWhenNoMoreBytesCanChangeTheList) {
  WordListReader ended;
  EXPECT_TRUE(ended.Feed("a\r\n"));
  EXPECT_FALSE(ended.Feed("\r\nb\r\n"));
  EXPECT_FALSE(ended.Feed("c\r\n"));
  EXPECT_EQ(ended.TakeEntries(), (std::vector<std::u16string>{u"a", u""}));

  WordListReader full(2);
  EXPECT_TRUE(full.Feed("a\r"));
  EXPECT_FALSE(full.Feed("\nb\r\nc"));
  EXPECT_FALSE(full.Feed("\r\n"));
  EXPECT_EQ(full.TakeEntries(), (std::vector<std::u16string>{u"a", u"b"}));
}

TEST_F(WordListFileTest, ReadsNoFurtherThanTheSizeLimit) {
  const std::string cat = "\xC3\xA8\r\n";
  const HostileFile files[] = {
      {"a line that ends at the limit", Repeat("a", kWordListMaxBytes - 2) + "\r\n", 1, u"a"},
      {"a line whose LF lies past the limit", Repeat("a", kWordListMaxBytes - 1) + "\r\n", 0, u""},
      {"words, then a line past the limit", cat + Repeat("a", kWordListMaxBytes) + "\r\n" + cat, 1,
       u"猫"},
  };
  for (const HostileFile& file : files) {
    Write(file.bytes);
    const auto entries = LoadWordListFile(Path());
    EXPECT_EQ(entries.size(), file.entries) << file.name;
    if (!entries.empty()) {
      EXPECT_EQ(entries.front().substr(0, 1), file.firstEntry) << file.name;
    }
  }
}

// Loads the word list at path in a child process that stops after 30 s (the
// test's own timeout) or when it asks for more than 1 GiB, so that a load
// that reads a huge or endless file to its end fails instead of hanging the
// run or taking the machine's memory. Gives the number of entries, or -1
// when the child did not finish.
int EntriesLoadedWithinLimits(const std::filesystem::path& path) {
  const pid_t child = fork();
  if (child == 0) {
    alarm(30);
#if !KELVARO_ADDRESS_SANITIZER  // its shadow memory needs far more address space
    const rlimit memory{1UL << 30, 1UL << 30};
    setrlimit(RLIMIT_AS, &memory);
#endif
    std::_Exit(static_cast<int>(std::min<std::size_t>(LoadWordListFile(path).size(), 100)));
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST_F(WordListFileTest, AHugeSparseFileLoadsOnlyWhatLiesWithinTheLimit) {
  // 2 GiB that read as zero bytes, with a CR LF at the very end: one line far
  // past the limit. With a word first, that word alone is loaded.
  for (const bool wordFirst : {false, true}) {
    std::filesystem::remove(Path());
    Write(wordFirst ? "\xC3\xA8\r\n" : "");
    std::filesystem::resize_file(Path(), std::uintmax_t{2} << 30);
    std::ofstream(Path(), std::ios::binary | std::ios::app) << "\r\n";
    EXPECT_EQ(EntriesLoadedWithinLimits(Path()), wordFirst ? 1 : 0) << "word first " << wordFirst;
  }
  std::filesystem::remove(Path());
}

// Appends lines without CR LF to a file at full speed until it is destroyed,
// as a program that is still writing the word list would. It gives up after
// 1 GiB so that a reader that never stops cannot fill the disk.
class EndlessWriter {
 public:
  explicit EndlessWriter(const std::filesystem::path& path)
      : fd_(open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644)), thread_([this] {
          std::string block(64 * 1024, 'a');
          for (std::size_t i = 1; i < block.size(); i += 2) block[i] = '\n';
          for (std::size_t written = 0; !stop_ && written < (std::size_t{1} << 30);) {
            const ssize_t n = write(fd_, block.data(), block.size());
            if (n <= 0) break;
            written += static_cast<std::size_t>(n);
          }
        }) {}
  ~EndlessWriter() {
    stop_ = true;
    thread_.join();
    close(fd_);
  }

 private:
  int fd_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

TEST_F(WordListFileTest, AFileThatIsStillBeingWrittenDoesNotHoldUpTheLoad) {
  Write("\xC3\xA8\r\n");
  {
    EndlessWriter writer(Path());
    EXPECT_EQ(EntriesLoadedWithinLimits(Path()), 1);
  }
  std::filesystem::remove(Path());
}

TEST(SplitWordList, StopsAtTheCapacity) {
  for (const WordListEncoding encoding : {kGbk, kUtf8}) {
    EXPECT_EQ(SplitWordList(u"a\r\nb\r\nc\r\n", encoding, 2),
              (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(SplitWordList(u"a\r\nb\r\n", encoding, 0), std::vector<std::u16string>{});
  }
}

}  // namespace
}  // namespace kelvaro
