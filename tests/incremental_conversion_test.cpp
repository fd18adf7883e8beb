#include "convert/incremental_conversion.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "convert/polyphone_rules.h"
#include "dictionary/text_codec.h"
#include "test_paths.h"
#include "tests/test_support.h"

namespace kelvaro {
namespace {

// Pieces that edits insert: the sentences of children's texts, words whose
// characters the rules read from their neighbours, and what surrounds
// Chinese in a pasted text (Latin letters, digits, line breaks, a character
// beyond the first plane, lone halves of a surrogate pair).
std::vector<std::u16string> Pieces() {
  std::vector<std::u16string> pieces = {u"一只",
                                        u"高兴",
                                        u"重庆",
                                        u"长大",
                                        u"还给",
                                        u"了解",
                                        u"睡着了",
                                        u"得到",
                                        u"地上",
                                        u"慢慢地",
                                        u"一个",
                                        u"不对",
                                        u"行走",
                                        u"银行",
                                        u"a",
                                        u"OK ",
                                        u"15",
                                        u"\r\n",
                                        u"\n",
                                        u"，",
                                        u"。",
                                        u"𠀀",
                                        std::u16string(1, u'\xD840'),
                                        std::u16string(1, u'\xDC00'),
                                        u" ",
                                        u"只",
                                        u"长",
                                        u"重",
                                        u"行",
                                        u"着",
                                        u"成长",
                                        u"团长"};
  std::ifstream table(std::filesystem::path(KELVARO_SOURCE_DIR) /
                      "tests/data/children-sentences.tsv");
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line.front() == '#') continue;
    const auto decoded = DecodeUtf8(line.substr(0, line.find('\t')));
    if (const auto* sentence = std::get_if<std::u16string>(&decoded)) pieces.push_back(*sentence);
  }
  return pieces;
}

std::u16string Applied(std::u16string text, const TextEdit& edit, std::u16string_view from) {
  return text.replace(edit.position, edit.removed, from.substr(edit.position, edit.added));
}

// A random walk of edits, each compared with a conversion of the whole text
// anew: the texts, and the changes reported, which applied to the texts
// before the edit give those after it.
TEST(IncrementalConversion, EveryEditGivesWhatConvertingTheWholeTextGives) {
  const std::vector<std::u16string> pieces = Pieces();
  ASSERT_GT(pieces.size(), 600u) << "the children's sentences were not read";
  const auto reach = PolyphoneRulesReach();
  ASSERT_GT(reach.characters, 1u);
  for (const DisplayMode mode :
       {DisplayMode::kReadingOnly, DisplayMode::kCharacterWithReading, DisplayMode::kNone}) {
    std::mt19937 random(20261208);
    IncrementalConversion conversion(Converter());
    std::u16string source;
    conversion.ConvertAll(source, mode);
    for (int step = 0; step < 3000; ++step) {
      // Edits near the start test the rules that read a position.
      std::size_t position = random() % (source.size() + 1);
      if (random() % 5 == 0) position = std::min<std::size_t>(source.size(), random() % 4);
      std::size_t removed = 0;
      if (random() % 2 == 0 && position < source.size()) {
        removed = 1 + random() % std::min<std::size_t>(source.size() - position,
                                                       random() % 3 == 0 ? 40 : 4);
      }
      std::u16string inserted;
      if (random() % 3 != 0 || source.size() < 20) {
        const std::u16string& piece = pieces[random() % pieces.size()];
        const std::size_t start = random() % 2 == 0 ? 0 : random() % piece.size();
        inserted = piece.substr(start, 1 + random() % piece.size());
      }
      // The text stays within a few hundred characters, as the edits reach
      // its start and its end.
      if (source.size() > 600) removed = source.size() - position;
      source.replace(position, removed, inserted);

      const ConversionResult before = conversion.Result();
      const auto changes = conversion.Update(source, {position, removed, inserted.size()});
      const ConversionResult whole = Converter().Convert(source, mode);
      ASSERT_EQ(conversion.Result(), whole)
          << "step " << step << ": " << Utf8(source) << " after an edit at " << position;
      EXPECT_EQ(Applied(before.pinyin, changes.pinyin, whole.pinyin), whole.pinyin) << step;
      EXPECT_EQ(Applied(before.hints, changes.hints, whole.hints), whole.hints) << step;
    }
  }
}

// The words whose readings the rules set: in each, changing or removing any
// one character gives what converting the whole text gives, however far that
// character stands from the one whose reading it decides.
TEST(IncrementalConversion, AnEditAnywhereInAWordRereadsTheWholeWord) {
  std::ifstream table(std::filesystem::path(KELVARO_SOURCE_DIR) / "resources/word-readings.txt");
  int words = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line.front() == '#') continue;
    const auto decoded = DecodeUtf8(line.substr(0, line.find('\t')));
    const auto* word = std::get_if<std::u16string>(&decoded);
    ASSERT_NE(word, nullptr) << line;
    ++words;
    const std::u16string text = u"我" + *word + u"。";
    for (std::size_t at = 1; at <= word->size(); ++at) {
      for (const std::u16string_view replacement : {u"", u"x"}) {
        IncrementalConversion conversion(Converter());
        conversion.ConvertAll(text, DisplayMode::kReadingOnly);
        const std::u16string edited = std::u16string(text).replace(at, 1, replacement);
        conversion.Update(edited, {at, 1, replacement.size()});
        ASSERT_EQ(conversion.Result(), Converter().Convert(edited, DisplayMode::kReadingOnly))
            << Utf8(edited);
      }
    }
  }
  EXPECT_GT(words, 4000);
}

// An edit that does not fit the text converted last (a caller's mistake)
// converts the whole text, and reports the whole texts as changed.
TEST(IncrementalConversion, AnEditThatDoesNotFitConvertsTheWholeText) {
  struct Row {
    std::u16string_view converted;
    std::u16string_view source;
    TextEdit edit;
  };
  const Row rows[] = {
      {u"一只鸟", u"高兴", {0, 0, 0}},      // sizes do not add up
      {u"一只鸟", u"一只小鸟", {9, 0, 1}},  // past the end
      {u"一只鸟", u"只", {1, 5, 0}},        // removes past the end
  };
  for (const Row& row : rows) {
    IncrementalConversion conversion(Converter());
    conversion.ConvertAll(row.converted, DisplayMode::kReadingOnly);
    const std::size_t oldPinyin = conversion.Result().pinyin.size();
    const auto changes = conversion.Update(row.source, row.edit);
    const ConversionResult whole = Converter().Convert(row.source, DisplayMode::kReadingOnly);
    EXPECT_EQ(conversion.Result(), whole) << Utf8(row.source);
    EXPECT_EQ(changes.pinyin, (TextEdit{0, oldPinyin, whole.pinyin.size()}));
  }
}

}  // namespace
}  // namespace kelvaro
