// Writes resources/word-readings.txt from the word readings of pinyin-pro's
// data set (ISC licence), the npm package @pinyin-pro/data, file
// json/complete.json: {"word": ["reading reading", frequency], ...}.
//
//   make-word-readings complete.json resources/pinyin-table.txt OUT
//
// A word is taken when it is common enough (kMinFrequency) or is two
// characters ending in a light syllable, has two or more characters, and every
// character has a row in the character table. Each
// word, read alone, must read as the data set says: the words are taken in
// the order the program evaluates them (shorter first; of equal length, the
// more frequent later, so that it wins where two overlap), and a word gets a
// line for the characters that the table, the program's first rules and the
// lines before it would read otherwise. Words that read right without a line
// get none. 一 and 不 keep their own tone (yi1, bu4): the data set writes
// them as spoken, after tone sandhi, and the pinyin box shows each
// character's own tone.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "convert/base_rules.h"
#include "convert/reading_rules.h"
#include "convert/tone_mark.h"
#include "dictionary/pinyin_dictionary.h"
#include "dictionary/text_codec.h"

namespace {

using namespace kelvaro;

// Words this rare are left out: they are seldom met and, without a word
// boundary, a rare word's context misreads common text more often than it helps.
constexpr double kMinFrequency = 3e-11;

struct Word {
  std::u16string characters;
  std::vector<std::u16string> readings;  // tone-numbered, one per character
  double frequency;
};

std::string ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(std::string("cannot read ") + path);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::u16string Utf16(std::string_view utf8) {
  auto text = DecodeUtf8(utf8);
  if (auto* decoded = std::get_if<std::u16string>(&text)) return *decoded;
  throw std::runtime_error("input is not valid UTF-8");
}

// The JSON of the data set is one object of arrays of a string and a number.
class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  void Expect(char c) {
    SkipSpace();
    if (pos_ >= text_.size() || text_[pos_] != c) Fail(std::string("expected ") + c);
    ++pos_;
  }
  bool Next(char c) {
    SkipSpace();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  std::string String() {
    Expect('"');
    std::string out;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      if (text_[pos_] == '\\') Fail("escapes are not expected in the data set");
      out += text_[pos_++];
    }
    Expect('"');
    return out;
  }
  double Number() {
    SkipSpace();
    const std::size_t start = pos_;
    while (pos_ < text_.size() &&
           std::string_view("0123456789.eE+-").find(text_[pos_]) != std::string_view::npos) {
      ++pos_;
    }
    if (start == pos_) Fail("expected a number");
    return std::strtod(std::string(text_.substr(start, pos_ - start)).c_str(), nullptr);
  }

 private:
  void SkipSpace() {
    while (pos_ < text_.size() &&
           std::string_view(" \t\r\n").find(text_[pos_]) != std::string_view::npos) {
      ++pos_;
    }
  }
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("data set, byte " + std::to_string(pos_) + ": " + what);
  }
  std::string_view text_;
  std::size_t pos_ = 0;
};

// "zhōng" -> "zhong1", "ma" -> "ma5", "lǚ" -> "lü3"; empty when the syllable
// holds anything else (a syllable such as "ń" or "hm" has no table form).
std::u16string Numbered(std::u16string_view marked) {
  std::u16string reading = RemoveToneMark(marked);
  if (reading.empty()) return {};
  if (reading.back() < u'1' || reading.back() > u'4') reading += u'5';
  const bool letters = std::all_of(reading.begin(), reading.end() - 1, [](char16_t c) {
    return (c >= u'a' && c <= u'z') || c == u'ü';
  });
  return letters ? reading : std::u16string();
}

std::vector<Word> ReadWords(const std::string& json, const PinyinDictionary& table) {
  std::vector<Word> words;
  JsonReader reader(json);
  reader.Expect('{');
  if (reader.Next('}')) return words;
  do {
    Word word;
    word.characters = Utf16(reader.String());
    reader.Expect(':');
    reader.Expect('[');
    const std::u16string readings = Utf16(reader.String());
    reader.Expect(',');
    word.frequency = reader.Number();
    reader.Expect(']');
    if (word.characters.size() < 2) continue;
    std::size_t start = 0;
    bool usable = true;
    for (std::size_t i = 0; i < word.characters.size() && usable; ++i) {
      if (start > readings.size()) {
        usable = false;
        break;
      }
      const std::size_t end = std::min(readings.find(u' ', start), readings.size());
      std::u16string reading = Numbered(std::u16string_view(readings).substr(start, end - start));
      const char16_t c = word.characters[i];
      if (c == u'一' && reading.starts_with(u"yi")) reading = u"yi1";
      if (c == u'不' && reading.starts_with(u"bu")) reading = u"bu4";
      usable = !reading.empty() && table.ReadingIdOf(c) != 0;
      word.readings.push_back(std::move(reading));
      start = end + 1;
    }
    // A two-character word ending in a light syllable (毽子, 木头) is taken
    // however rare: its line only lightens a suffix after its own first
    // character, which can hardly misread another word.
    const bool lightSuffix = word.characters.size() == 2 && usable && word.readings.size() == 2 &&
                             word.readings[1].ends_with(u'5');
    if (usable && start == readings.size() + 1 &&
        (word.frequency >= kMinFrequency || lightSuffix)) {
      words.push_back(std::move(word));
    }
  } while (reader.Next(','));
  reader.Expect('}');
  return words;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make-word-readings COMPLETE_JSON PINYIN_TABLE OUT\n";
    return 2;
  }
  try {
    const PinyinDictionary table(DecodeGbk(ReadFile(argv[2])));
    std::vector<Word> words = ReadWords(ReadFile(argv[1]), table);
    std::stable_sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
      if (a.characters.size() != b.characters.size()) {
        return a.characters.size() < b.characters.size();
      }
      if (a.frequency != b.frequency) return a.frequency < b.frequency;
      return a.characters < b.characters;
    });

    ReadingRules rules;
    AddBaseRules(rules);
    std::ostringstream out;
    out << "# Readings of words, made by tools/make_word_readings.cpp from the data set\n"
           "# of pinyin-pro (ISC licence; see word-readings.LICENSE). Do not edit: change\n"
           "# the generator or resources/reading-rules.txt.\n"
           "# Each line: a word, the reading of each of its characters, and the positions\n"
           "# of the characters whose reading the line sets wherever the word stands.\n"
           "# Lines are evaluated in order and a later line wins: shorter words first, and\n"
           "# of two words of one length the more common one later.\n";
    std::size_t lines = 0;
    for (const Word& word : words) {
      std::vector<std::size_t> positions;
      for (std::size_t i = 0; i < word.characters.size(); ++i) {
        const char16_t c = word.characters[i];
        const int rule = rules.Resolve(c, word.characters, static_cast<std::int32_t>(i + 1));
        const std::u16string_view now =
            rule >= 0 ? std::u16string_view(rules.Readings()[static_cast<std::size_t>(rule)])
                      : table.Reading(table.ReadingIdOf(c));
        // A rule reading without a digit ("huo" in 暖和) is the neutral tone.
        const bool toneless = !now.empty() && (now.back() < u'1' || now.back() > u'5');
        if ((toneless ? std::u16string(now) + u'5' : std::u16string(now)) != word.readings[i]) {
          positions.push_back(i + 1);
        }
      }
      if (positions.empty()) continue;
      std::u16string line = word.characters + u"\t";
      for (std::size_t i = 0; i < word.readings.size(); ++i) {
        if (i) line += u' ';
        line += word.readings[i];
      }
      line += u"\t";
      for (std::size_t i = 0; i < positions.size(); ++i) {
        if (i) line += u",";
        line += static_cast<char16_t>(u'0' + positions[i] / 10 % 10);
        line += static_cast<char16_t>(u'0' + positions[i] % 10);
        if (positions[i] < 10) line.erase(line.size() - 2, 1);
      }
      AddWordReadings(rules, line);
      out << EncodeUtf8(line) << '\n';
      ++lines;
    }
    std::ofstream file(argv[3], std::ios::binary);
    file << out.str();
    if (!file.flush()) throw std::runtime_error(std::string("cannot write ") + argv[3]);
    std::cerr << lines << " words of " << words.size() << " need a line\n";
  } catch (const std::exception& error) {
    std::cerr << "make-word-readings: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
