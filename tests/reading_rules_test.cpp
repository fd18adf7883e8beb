#include "convert/reading_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "convert/base_rules.h"
#include "dictionary/text_codec.h"
#include "test_paths.h"
#include "tests/test_support.h"

namespace kelvaro {
namespace {

std::u16string Utf16(std::string_view utf8) { return std::get<std::u16string>(DecodeUtf8(utf8)); }

std::u16string ReadingOf(const ReadingRules& rules, std::u16string_view text, int position) {
  const int index = rules.Resolve(text[static_cast<std::size_t>(position - 1)], text, position);
  return index < 0 ? u"" : rules.Readings()[static_cast<std::size_t>(index)];
}

// A small rule set whose outcomes are worked out by hand.
const ReadingRules& SampleRules() {
  static const ReadingRules rules = [] {
    ReadingRules built;
    AddRuleText(built,
                u"# a comment line\n"
                u"甲 a1            # a default\n"
                u"甲 b2 乙_ _丙\n"
                u"甲 c3 乙_丙      # later: wins where both hold\n"
                u"\n"
                u"乙 d4 一二_ _甲丙丁\r\n");
    const ContextTest late{u"成", u"", 2};
    built.AddGroup(u'长', u"zhang3", std::span(&late, 1));
    return built;
  }();
  return rules;
}

struct Case {
  std::u16string_view text;
  int position;
  std::u16string_view expected;
};

constexpr Case kCases[] = {
    {u"甲", 1, u"a1"},                                 // no test holds: the default
    {u"乙甲", 2, u"b2"},                               // the character before
    {u"甲丙", 1, u"b2"},                               // the character after
    {u"乙甲丙", 2, u"c3"},                             // both groups hold: the later one wins
    {u"丁甲丙", 2, u"b2"},                             // the two-sided test needs both sides
    {u"乙甲丁", 2, u"b2"},     {u"一二乙", 3, u"d4"},  // a longer look-behind
    {u"二乙", 2, u""},                                 // ... that would reach before the text
    {u"一三乙", 3, u""},                               // ... or differs in a character but the last
    {u"乙甲丙丁", 1, u"d4"},                           // a longer look-ahead
    {u"乙甲丙", 1, u""},                               // ... that runs past the end of the text
    {u"乙甲丙x", 1, u""},      {u"乙", 1, u""},        // no test holds and no default
    {u"成长", 2, u""},                                 // a test that holds only after position 2
    {u"我成长", 3, u"zhang3"}, {u"丙", 1, u""},        // a character without rules
};

TEST(ReadingRules, EvaluateTestsInOrderAndTheLastThatHoldsWins) {
  for (const Case& c : kCases) {
    EXPECT_EQ(Utf8(ReadingOf(SampleRules(), c.text, c.position)), Utf8(c.expected))
        << Utf8(c.text) << " at " << c.position;
  }
  EXPECT_FALSE(SampleRules().Names(u'丙'));
  EXPECT_TRUE(SampleRules().Names(u'乙'));
  // Positions outside the text read no context, only the default.
  EXPECT_EQ(SampleRules().Resolve(u'甲', u"乙甲丙", 0), 0);
  EXPECT_EQ(SampleRules().Resolve(u'甲', u"乙甲丙", 4), 0);
}

// Random rules over a four-letter alphabet against their plain meaning: every
// test of the character in the order added, the last that holds wins, else
// the default.
TEST(ReadingRules, AgreeWithEvaluatingEveryTestInOrder) {
  constexpr std::u16string_view kAlphabet = u"甲乙丙丁";
  std::mt19937 random(20261208);
  auto pick = [&](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
  auto literal = [&] {
    std::u16string text;
    for (int n = pick(4); n > 0; --n) text += kAlphabet[static_cast<std::size_t>(pick(4))];
    return text;
  };
  for (int round = 0; round < 200; ++round) {
    struct Added {
      char16_t character;
      std::u16string reading, before, after;
      int minPosition;
    };
    std::vector<Added> added;
    std::map<char16_t, std::u16string> defaults;
    ReadingRules rules;
    for (int n = pick(40); n > 0; --n) {
      const char16_t character = kAlphabet[static_cast<std::size_t>(pick(4))];
      std::u16string reading = u"r";
      reading += static_cast<char16_t>(u'1' + pick(4));
      if (pick(8) == 0) {
        rules.AddDefault(character, reading);
        defaults[character] = reading;
        continue;
      }
      Added test{character, reading, literal(), literal(), pick(6) == 0 ? pick(4) : 0};
      const ContextTest context{test.before, test.after, test.minPosition};
      rules.AddGroup(character, reading, std::span(&context, 1));
      added.push_back(std::move(test));
    }
    for (int t = 0; t < 20; ++t) {
      std::u16string text;
      for (int n = 1 + pick(8); n > 0; --n) text += kAlphabet[static_cast<std::size_t>(pick(4))];
      for (std::size_t i = 0; i < text.size(); ++i) {
        std::u16string expected = defaults.contains(text[i]) ? defaults[text[i]] : u"";
        for (const Added& test : added) {
          const bool holds =
              test.character == text[i] && static_cast<int>(i) + 1 > test.minPosition &&
              i >= test.before.size() &&
              text.compare(i - test.before.size(), test.before.size(), test.before) == 0 &&
              text.size() - i - 1 >= test.after.size() &&
              text.compare(i + 1, test.after.size(), test.after) == 0;
          if (holds) expected = test.reading;
        }
        ASSERT_EQ(Utf8(ReadingOf(rules, text, static_cast<int>(i) + 1)), Utf8(expected))
            << "round " << round << ", " << Utf8(text) << " at " << i + 1;
      }
    }
  }
}

TEST(ReadingRules, RejectMalformedLinesNamingTheLine) {
  const char16_t* const kBadRules[] = {
      u"甲",      u"甲 b",       u"甲 b9",       u"甲 B2",        u"甲 b2 乙",
      u"甲 b2 _", u"甲 b2 乙__", u"甲乙 b2 _丙", u"甲 b2 _丙 乙",
  };
  for (const char16_t* line : kBadRules) {
    ReadingRules rules;
    const std::u16string text = u"甲 a1\n" + std::u16string(line) + u"\n";
    try {
      AddRuleText(rules, text);
      ADD_FAILURE() << "accepted: " << Utf8(line);
    } catch (const std::invalid_argument& error) {
      EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos) << error.what();
    }
  }
  const char16_t* const kBadWords[] = {
      u"头发\ttou2\t2",     u"头发\ttou2 fa5\t3",  u"头发\ttou2 fa5\t0",
      u"头发\ttou2 fa5",    u"头\ttou2\t1",        u"头发\ttou2 fa\t2",
      u"头发\ttou2 fa5\tx", u"头发\ttou2 fa5\t2,", u"头发\ttou2  fa5\t2",
  };
  for (const char16_t* line : kBadWords) {
    ReadingRules rules;
    const std::u16string text = u"妈妈\tma1 ma5\t2\n" + std::u16string(line) + u"\n";
    EXPECT_THROW(AddWordReadings(rules, text), std::invalid_argument) << Utf8(line);
  }
}

// One line of resources/word-readings.txt.
struct WordLine {
  std::u16string word;
  std::vector<std::u16string> readings;
};

std::vector<WordLine> WordLines() {
  const std::u16string text = Utf16(FileBytes(KELVARO_SOURCE_DIR "/resources/word-readings.txt"));
  std::vector<WordLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find(u'\n', start), text.size());
    const std::u16string_view line = std::u16string_view(text).substr(start, end - start);
    start = end + 1;
    if (line.empty() || line[0] == u'#') continue;
    const std::size_t tab = line.find(u'\t');
    const std::size_t tab2 = line.find(u'\t', tab + 1);
    WordLine parsed{std::u16string(line.substr(0, tab)), {}};
    std::u16string_view readings = line.substr(tab + 1, tab2 - tab - 1);
    while (!readings.empty()) {
      const std::size_t space = std::min(readings.find(u' '), readings.size());
      parsed.readings.emplace_back(readings.substr(0, space));
      readings.remove_prefix(std::min(space + 1, readings.size()));
    }
    lines.push_back(std::move(parsed));
  }
  return lines;
}

// What a reading looks like in the pinyin box: a rule reading without a digit
// ("huo") is the neutral tone.
std::u16string Shown(std::u16string reading) {
  if (!reading.empty() && (reading.back() < u'1' || reading.back() > u'5')) reading += u'5';
  return reading;
}

// Every word of the word data, standing alone, reads as the data says under
// the program's first rules and the word readings: the lines are complete and
// in an order in which no shorter word spoils a longer one.
TEST(WordReadings, EveryWordAloneReadsAsTheDataSays) {
  ReadingRules rules;
  AddBaseRules(rules);
  AddWordReadings(rules, Utf16(FileBytes(KELVARO_SOURCE_DIR "/resources/word-readings.txt")));
  const std::vector<WordLine> lines = WordLines();
  ASSERT_GT(lines.size(), 1000u);
  int wrong = 0;
  for (const WordLine& line : lines) {
    ASSERT_EQ(line.readings.size(), line.word.size()) << Utf8(line.word);
    for (std::size_t i = 0; i < line.word.size(); ++i) {
      const int index = rules.Resolve(line.word[i], line.word, static_cast<std::int32_t>(i + 1));
      const std::u16string reading =
          index >= 0 ? rules.Readings()[static_cast<std::size_t>(index)]
                     : std::u16string(Dictionary().Reading(Dictionary().ReadingIdOf(line.word[i])));
      if (Shown(reading) != line.readings[i] && ++wrong <= 20) {
        ADD_FAILURE() << Utf8(line.word) << " " << i + 1 << ": " << Utf8(reading) << " not "
                      << Utf8(line.readings[i]);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

// The rules written by hand read some words of the word data otherwise, on
// purpose; these are all of them, each a reading a standard dictionary gives
// for the word in a child's text.
TEST(WordReadings, TheHandRulesChangeOnlyTheListedWords) {
  const std::map<std::u16string, std::u16string> kChangedByHand = {
      {u"穿着", u"chuan1 zhe5"},      // "wearing", not the noun 穿着 zhuó "attire"
      {u"端的", u"duan1 de5"},        // the old word for "indeed" gives way to the particle
      {u"了不起", u"liao3 bu5 qi3"},  // a dictionary writes these 不 light
      {u"受不了", u"shou4 bu5 liao3"}, {u"舍不得", u"she3 bu5 de5"},
      {u"提防", u"di1 fang5"},  // dī fang, as a dictionary writes it
      {u"恶心", u"e3 xin5"},    // ě xin, as a dictionary writes it
      {u"薄被", u"bao2 bei4"},  // a thin quilt: báo, the word data's bó is literary
  };
  std::map<std::u16string, std::u16string> changed;
  for (const WordLine& line : WordLines()) {
    const auto now = Converter().Readings(line.word);
    std::u16string shown;
    bool differs = false;
    for (std::size_t i = 0; i < now.size(); ++i) {
      if (i) shown += u' ';
      shown += Shown(std::u16string(now[i]));
      differs = differs || Shown(std::u16string(now[i])) != line.readings[i];
    }
    if (differs) changed[line.word] = shown;
  }
  for (const auto& [word, reading] : changed) {
    const auto it = kChangedByHand.find(word);
    EXPECT_TRUE(it != kChangedByHand.end() && it->second == reading)
        << "{u\"" << Utf8(word) << "\", u\"" << Utf8(reading) << "\"},";
  }
  for (const auto& [word, reading] : kChangedByHand) {
    EXPECT_TRUE(changed.contains(word)) << Utf8(word) << " reads as the word data says";
  }
}

}  // namespace
}  // namespace kelvaro
