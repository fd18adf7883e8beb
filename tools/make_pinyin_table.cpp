// Writes resources/pinyin-table.txt from the character readings of the
// pinyin-data table (MIT licence) as Debian ships it in
// golang-github-mozillazg-go-pinyin-dev, file pinyin_dict.go:
//
//   make-pinyin-table /usr/share/gocode/src/github.com/mozillazg/go-pinyin/pinyin_dict.go OUT
//
// Every CJK Unified Ideograph U+4E00..U+9FFF with a two-byte GBK code, and 〇, gets
// its first (most common) reading, written as letters and a tone digit, in
// GBK with CR LF, in code-point order. The lists below then set the readings
// the program depends on.
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "dictionary/text_codec.h"

namespace {

struct ReadingOverride {
  char16_t character;
  std::u16string_view reading;
  const char* reason;
};

constexpr std::array<ReadingOverride, 29> kOverrides{{
    // Rows the program's behaviour is checked against.
    {u'啊', u"a1", "the interjection is taught with the first tone"},
    {u'不', u"bu4", "the citation tone of bu, before tone sandhi"},
    {u'女', u"nü3", "spelled with ü"},
    {u'绿', u"lü4", "spelled with ü"},
    {u'略', u"lüe4", "spelled with ü"},
    {u'禬', u"gui4", "its only reading"},
    {u'瑳', u"cuo1", "its only reading"},
    {u'吧', u"ba5", "the sentence particle, neutral tone"},
    // Characters the polyphone rules name: this is the reading shown when no
    // rule answers, and the reading the typing hint is always made from.
    {u'游', u"you5", "the rules show you2; the hint is made from this row"},
    {u'重', u"chong2", "the rules choose zhong4 unless the context asks for chong2"},
    {u'还', u"hai2", "the adverb; the rules choose huan2 from context"},
    {u'乐', u"yue4", "the rules show le4 unless the context asks for yue4"},
    {u'见', u"jian4", "the rules choose xian4 from context"},
    {u'更', u"geng4", "the adverb; the rules choose geng1 from context"},
    {u'呱', u"gu1", "the rules show gua1"},
    {u'相', u"xiang1", "the rules choose xiang4 from context"},
    {u'调', u"diao4", "the rules choose tiao2 from context"},
    {u'谁', u"shei2", "the colloquial reading; the rules show shui2"},
    {u'看', u"kan4", "the rules choose kan1 from context"},
    {u'少', u"shao3", "the rules choose shao4 from context"},
    {u'行', u"hang2", "the rules show xing2 unless the context asks for hang2"},
    {u'差', u"cha4", "the rules choose cha1 from context"},
    {u'圈', u"quan1", "the rules choose juan4 from context"},
    {u'为', u"wei2", "the rules show wei4 unless the context asks for wei2"},
    {u'和', u"he2", "the rules choose huo from context"},
    {u'削', u"xue1", "the literary reading; the rules choose xiao1 from context"},
    {u'背', u"bei4", "the rules show bei1 unless the context asks for bei4"},
    {u'了', u"le5", "the particle; the rules choose liao3 from context"},
    {u'长', u"chang2", "the rules choose zhang3 from context"},
}};

// Common characters whose first reading in the source is not the standard one.
constexpr std::array<ReadingOverride, 6> kStandardReadings{{
    {u'铺', u"pu1", "the verb, to spread, laid out; pu4, a shop, in words"},
    {u'子', u"zi3", "zi5 only as the suffix of a word (桌子), which the word readings give"},
    {u'似', u"si4", "shi4 only in 似的"},
    {u'甚', u"shen4", "shen2 only in the dialect word 甚么"},
    {u'杠', u"gang4", "gang1 only for the flagpole sense"},
    {u'框', u"kuang4", "kuang1 is a regional reading"},
}};

// Characters left out of the table.
constexpr std::array<ReadingOverride, 1> kOmitted{{
    {u'肀', u"", "a radical form, not a character a child reads"},
}};

// Characters outside the ideograph block that children's texts use: 〇, the
// zero of written years (二〇二六年). The other characters GBK has outside
// the block are Japanese marks and compatibility forms a child never meets.
bool IsOtherHanCharacter(unsigned long codePoint) { return codePoint == 0x3007; }

struct MarkedLetter {
  std::string_view utf8;
  char16_t letter;
  char tone;
};

constexpr std::array<MarkedLetter, 31> kMarkedLetters{{
    {"ā", u'a', '1'}, {"á", u'a', '2'}, {"ǎ", u'a', '3'}, {"à", u'a', '4'}, {"ō", u'o', '1'},
    {"ó", u'o', '2'}, {"ǒ", u'o', '3'}, {"ò", u'o', '4'}, {"ē", u'e', '1'}, {"é", u'e', '2'},
    {"ě", u'e', '3'}, {"è", u'e', '4'}, {"ī", u'i', '1'}, {"í", u'i', '2'}, {"ǐ", u'i', '3'},
    {"ì", u'i', '4'}, {"ū", u'u', '1'}, {"ú", u'u', '2'}, {"ǔ", u'u', '3'}, {"ù", u'u', '4'},
    {"ǖ", u'ü', '1'}, {"ǘ", u'ü', '2'}, {"ǚ", u'ü', '3'}, {"ǜ", u'ü', '4'}, {"ü", u'ü', '5'},
    {"ń", u'n', '2'}, {"ň", u'n', '3'}, {"ǹ", u'n', '4'}, {"ḿ", u'm', '2'}, {"ê", u'e', '5'},
    {"ế", u'e', '2'},
}};

// "zhōng" -> "zhong1"; no mark is the neutral tone 5. Throws on a letter it
// does not know, so a change in the source data cannot slip through.
std::u16string ToNumberedReading(std::string_view marked) {
  std::u16string letters;
  char tone = '5';
  for (std::size_t i = 0; i < marked.size();) {
    const char c = marked[i];
    if (c >= 'a' && c <= 'z') {
      letters.push_back(static_cast<char16_t>(c));
      ++i;
      continue;
    }
    const auto found =
        std::find_if(kMarkedLetters.begin(), kMarkedLetters.end(),
                     [&](const MarkedLetter& m) { return marked.substr(i).starts_with(m.utf8); });
    if (found == kMarkedLetters.end()) {
      throw std::runtime_error("unknown letter in reading " + std::string(marked));
    }
    letters.push_back(found->letter);
    if (found->tone != '5') {
      tone = found->tone;
    }
    i += found->utf8.size();
  }
  letters.push_back(static_cast<char16_t>(tone));
  return letters;
}

template <std::size_t N>
bool Contains(const std::array<ReadingOverride, N>& list, char16_t c) {
  return std::any_of(list.begin(), list.end(),
                     [&](const ReadingOverride& o) { return o.character == c; });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make-pinyin-table PINYIN_DICT_GO OUTPUT\n";
    return 2;
  }
  try {
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
      throw std::runtime_error(std::string("cannot read ") + argv[1]);
    }
    const std::string source((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    std::map<char16_t, std::u16string> table;
    // Rows look like:  0x4E2D: "zhōng,zhòng",
    std::istringstream lines(source);
    for (std::string line; std::getline(lines, line);) {
      const std::size_t hex = line.find("0x");
      const std::size_t colon = line.find(": \"", hex);
      if (hex == std::string::npos || colon == std::string::npos) {
        continue;
      }
      const unsigned long codePoint =
          std::stoul(line.substr(hex + 2, colon - hex - 2), nullptr, 16);
      if ((codePoint < 0x4E00 || codePoint > 0x9FFF) && !IsOtherHanCharacter(codePoint)) {
        continue;
      }
      const auto character = static_cast<char16_t>(codePoint);
      // The table is GBK: an ideograph that GBK holds has a two-byte code.
      if (!kelvaro::EncodeGbk(std::u16string_view(&character, 1)) ||
          Contains(kOmitted, character)) {
        continue;
      }
      const std::size_t first = colon + 3;
      const std::size_t end = line.find_first_of(",\"", first);
      table[character] = ToNumberedReading(std::string_view(line).substr(first, end - first));
    }
    for (const auto& list : {std::span<const ReadingOverride>(kOverrides),
                             std::span<const ReadingOverride>(kStandardReadings)}) {
      for (const ReadingOverride& o : list) {
        table[o.character] = std::u16string(o.reading);
      }
    }
    std::u16string text;
    for (const auto& [character, reading] : table) {
      text += character;
      text += u' ';
      text += reading;
      text += u"\r\n";
    }
    const auto gbk = kelvaro::EncodeGbk(text);
    if (!gbk) {
      throw std::runtime_error("the table does not encode as GBK");
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << *gbk;
    if (!out.flush()) {
      throw std::runtime_error(std::string("cannot write ") + argv[2]);
    }
    std::cerr << table.size() << " characters written to " << argv[2] << "\n";
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "make-pinyin-table: " << error.what() << "\n";
    return 1;
  }
}
