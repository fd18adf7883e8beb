// Which encoding a word list is read in: the files of tests/data/word-list-files/
// as their table says, and random short lists of characters of the program's
// own table written in GBK and in UTF-8, each read as it was written.
#include "wordlist/word_list_encoding.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/text_codec.h"
#include "test_paths.h"
#include "tests/test_support.h"
#include "wordlist/word_list_file.h"

namespace kelvaro {
namespace {

const std::filesystem::path kDataDir = std::filesystem::path(KELVARO_SOURCE_DIR) / "tests/data";

// An entry of the table, with \r, \n and <empty> written out.
std::u16string TableEntry(const std::string& field) {
  if (field == "<empty>") return u"";
  std::string bytes;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 1 < field.size() && (field[i + 1] == 'r' || field[i + 1] == 'n')) {
      bytes += field[++i] == 'r' ? '\r' : '\n';
    } else {
      bytes += field[i];
    }
  }
  return std::get<std::u16string>(DecodeUtf8(bytes));
}

TEST(WordListFiles, EachFileShowsTheEntriesItsTableLists) {
  std::ifstream table(kDataDir / "word-list-files.tsv");
  ASSERT_TRUE(table) << "tests/data/word-list-files.tsv";
  std::size_t files = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, encoding;
    std::getline(fields, name, '\t');
    std::getline(fields, encoding, '\t');
    std::vector<std::u16string> expected;
    for (std::string field; std::getline(fields, field, '\t');)
      expected.push_back(TableEntry(field));
    SCOPED_TRACE(name);
    const std::string bytes = FileBytes(kDataDir / "word-list-files" / name);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(DecodeWordList(bytes).encoding,
              encoding == "utf-8" ? WordListEncoding::kUtf8 : WordListEncoding::kGbk);
    EXPECT_EQ(ParseWordList(bytes), expected);
    ++files;
  }
  EXPECT_GE(files, 10u);
}

// The GBK bytes of each character of the program's own table.
std::vector<std::string> TableCharacters() {
  const std::string table = FileBytes(KELVARO_PINYIN_TABLE_FILE);
  std::vector<std::string> characters;
  for (std::size_t start = 0; start < table.size();) {
    const std::size_t end = table.find("\r\n", start);
    if (end == std::string::npos) break;
    characters.push_back(table.substr(start, 2));
    start = end + 2;
  }
  return characters;
}

// GB2312's first level, its 3,755 most common characters: B0A1 to D7F9.
bool FirstLevel(std::string_view gbk) {
  const auto lead = static_cast<unsigned char>(gbk[0]);
  const auto trail = static_cast<unsigned char>(gbk[1]);
  return lead >= 0xB0 && trail >= 0xA1 && (lead < 0xD7 || (lead == 0xD7 && trail <= 0xF9));
}

// Its second level: D8A1 to F7FE.
bool SecondLevel(std::string_view gbk) {
  const auto lead = static_cast<unsigned char>(gbk[0]);
  return lead >= 0xD8 && lead <= 0xF7 && static_cast<unsigned char>(gbk[1]) >= 0xA1;
}

// Strict UTF-8, written out here to pick the GBK lists that are valid UTF-8
// as well.
bool ValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF;  // the range of the second byte
    if (b < 0x80) {
      length = 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

// A short list as a parent writes it: one to three words of two to four
// characters drawn from pool, each an index into characters.
struct RandomList {
  std::vector<std::vector<std::size_t>> words;
};

RandomList DrawList(const std::vector<std::size_t>& pool, std::mt19937& random) {
  RandomList list;
  const auto pick = [&](std::size_t low, std::size_t high) {
    return std::uniform_int_distribution<std::size_t>(low, high)(random);
  };
  list.words.resize(pick(1, 3));
  for (auto& word : list.words) {
    word.resize(pick(2, 4));
    for (std::size_t& character : word) character = pool[pick(0, pool.size() - 1)];
  }
  return list;
}

class RandomWordLists : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    gbk_ = TableCharacters();
    std::string all;
    for (const std::string& character : gbk_) all += character;
    text_ = DecodeGbk(all);
  }
  std::string Gbk(const RandomList& list) const {
    std::string bytes;
    for (const auto& word : list.words) {
      for (const std::size_t c : word) bytes += gbk_[c];
      bytes += "\r\n";
    }
    return bytes;
  }
  std::vector<std::u16string> Entries(const RandomList& list) const {
    std::vector<std::u16string> entries;
    for (const auto& word : list.words) {
      entries.emplace_back();
      for (const std::size_t c : word) entries.back() += text_[c];
    }
    return entries;
  }
  std::vector<std::size_t> Pool(bool (*wanted)(std::string_view)) const {
    std::vector<std::size_t> pool;
    for (std::size_t i = 0; i < gbk_.size(); ++i) {
      if (wanted(gbk_[i])) pool.push_back(i);
    }
    return pool;
  }
  static inline std::vector<std::string> gbk_;  // each character's GBK bytes
  static inline std::u16string text_;           // each character, one code unit each
};

TEST_F(RandomWordLists, TheTableIsWhatTheWalksExpect) {
  ASSERT_EQ(text_.size(), gbk_.size());
  EXPECT_EQ(Pool(FirstLevel).size(), 3755u);
  EXPECT_GE(Pool(SecondLevel).size(), 3000u);
}

// Common words in GBK are never misread, even the lists that are valid UTF-8
// as well (a few in a thousand of them).
TEST_F(RandomWordLists, GbkListsOfCommonCharactersReadAsGbk) {
  const std::vector<std::size_t> pool = Pool(FirstLevel);
  std::mt19937 random(23);
  std::size_t validUtf8 = 0;
  for (int i = 0; i < 1'000'000; ++i) {
    const RandomList list = DrawList(pool, random);
    const std::string bytes = Gbk(list);
    if (!ValidUtf8(bytes)) continue;
    ++validUtf8;
    ASSERT_EQ(ParseWordList(bytes), Entries(list)) << "list " << i;
  }
  EXPECT_GE(validUtf8, 2000u);
}

// With GB2312's second level too, a list that is read as UTF-8 has at least
// one character in three outside the first level.
TEST_F(RandomWordLists, GbkListsOfGb2312ReadAsGbkUnlessAThirdIsRare) {
  std::vector<std::size_t> pool = Pool(FirstLevel);
  const std::vector<std::size_t> second = Pool(SecondLevel);
  pool.insert(pool.end(), second.begin(), second.end());
  std::mt19937 random(37);
  std::size_t validUtf8 = 0, readAsGbk = 0;
  for (int i = 0; i < 1'000'000; ++i) {
    const RandomList list = DrawList(pool, random);
    const std::string bytes = Gbk(list);
    if (!ValidUtf8(bytes)) continue;
    ++validUtf8;
    if (ParseWordList(bytes) == Entries(list)) {
      ++readAsGbk;
      continue;
    }
    std::size_t characters = 0, rare = 0;
    for (const auto& word : list.words) {
      for (const std::size_t c : word) {
        ++characters;
        rare += !FirstLevel(gbk_[c]);
      }
    }
    EXPECT_GE(3 * rare, characters) << "list " << i << ": " << Utf8(Entries(list)[0]);
  }
  EXPECT_GE(validUtf8, 1000u);
  EXPECT_GE(readAsGbk, validUtf8 * 99 / 100);
}

// Chinese in UTF-8, any characters of the table, with or without a
// byte-order mark, lines ended by LF or CR LF: always read as UTF-8.
TEST_F(RandomWordLists, Utf8ListsOfAnyCharactersReadAsUtf8) {
  std::vector<std::size_t> pool(gbk_.size());
  for (std::size_t i = 0; i < pool.size(); ++i) pool[i] = i;
  std::mt19937 random(41);
  for (int i = 0; i < 100'000; ++i) {
    const RandomList list = DrawList(pool, random);
    const std::vector<std::u16string> entries = Entries(list);
    std::string bytes = random() % 2 ? "\xEF\xBB\xBF" : "";
    const bool crLf = random() % 2;
    for (const std::u16string& entry : entries) bytes += EncodeUtf8(entry) + (crLf ? "\r\n" : "\n");
    ASSERT_EQ(ParseWordList(bytes), entries) << "list " << i;
  }
}

}  // namespace
}  // namespace kelvaro
