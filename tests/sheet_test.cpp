// The reading sheet's text and layout: ruby cells held to the pinyin box over
// the sentences judged by hand, how a line falls into cells, and both layouts'
// rows and pages against their rules on random lines.
#include <gtest/gtest.h>

#include <fstream>
#include <numeric>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "dictionary/text_codec.h"
#include "sheet/ruby_text.h"
#include "sheet/sheet_layout.h"
#include "test_paths.h"
#include "tests/test_support.h"

namespace kelvaro {
namespace {

std::u16string Utf16(std::string_view utf8) { return std::get<std::u16string>(DecodeUtf8(utf8)); }

// The texts of the hand-judged sentence tables, in file order.
std::vector<std::u16string> SentenceTexts() {
  std::vector<std::u16string> texts;
  for (const char* name : {"children-sentences.tsv", "home-page-poems.tsv", "peer-sentences.tsv"}) {
    std::ifstream in(std::string(KELVARO_SOURCE_DIR "/tests/data/") + name);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line[0] != '#') texts.push_back(Utf16(line.substr(0, line.find('\t'))));
    }
  }
  return texts;
}

std::u16string_view TextOf(const RubyCell& cell, std::u16string_view source) {
  return source.substr(cell.from, cell.to - cell.from);
}

// Every sentence in a text of many lines, joined by every kind of line end,
// blank lines among them: the readings over the cells are the pinyin box's,
// one per character in order, and the cells give back each line.
TEST(RubyLines, ReadingsAreThePinyinBoxsAndCellsCoverEveryLine) {
  const std::vector<std::u16string> sentences = SentenceTexts();
  ASSERT_GT(sentences.size(), 100u);
  const std::u16string_view ends[] = {u"\n", u"\r\n", u"\r", u"\u2029", u"\n\n", u"\r\n\r\n"};
  std::u16string source;
  std::vector<std::u16string> expectedLines;
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    source += sentences[i];
    expectedLines.push_back(sentences[i]);
    const std::u16string_view end = ends[i % std::size(ends)];
    source += end;
    if (end.size() == 2 && end[0] == end[1]) expectedLines.emplace_back();
    if (end.size() == 4) expectedLines.emplace_back();
  }
  const std::vector<RubyLine> lines = RubyLines(Converter(), source);
  std::u16string readings;
  std::vector<std::u16string> shownLines;
  for (const RubyLine& line : lines) {
    std::u16string& shown = shownLines.emplace_back();
    std::size_t at = line.empty() ? 0 : line.front().from;
    for (const RubyCell& cell : line) {
      EXPECT_EQ(cell.from, at) << "a gap before " << Utf8(TextOf(cell, source));
      at = cell.to;
      shown += TextOf(cell, source);
      if (!cell.reading.empty()) {
        EXPECT_EQ(cell.to - cell.from, 1u) << Utf8(TextOf(cell, source));
        (readings += cell.reading) += u' ';
      }
    }
  }
  EXPECT_EQ(Utf8(readings), Utf8(Converter().Convert(source, DisplayMode::kReadingOnly).pinyin));
  ASSERT_EQ(shownLines.size(), expectedLines.size());
  for (std::size_t i = 0; i < shownLines.size(); ++i) {
    EXPECT_EQ(Utf8(shownLines[i]), Utf8(expectedLines[i])) << "line " << i;
  }
}

// A cell as text, its reading after a slash, and a + before one the row
// may not end before.
std::string Written(const RubyCell& cell, std::u16string_view source) {
  std::string written;
  if (cell.joinsPrevious) written.push_back('+');
  written.append(Utf8(TextOf(cell, source)));
  if (!cell.reading.empty()) {
    written.push_back('/');
    written.append(Utf8(cell.reading));
  }
  return written;
}

struct CellRow {
  const char16_t* source;
  std::vector<std::vector<std::string>> lines;
};

const CellRow kCellRows[] = {
    {u"", {{}}},
    {u"\n", {{}}},
    {u"重庆", {{"重/chóng", "庆/qìng"}}},
    {u"重要", {{"重/zhòng", "要/yào"}}},
    {u"中\n\n国\n", {{"中/zhōng"}, {}, {"国/guó"}}},
    {u"中\r\r\n国", {{"中/zhōng"}, {}, {"国/guó"}}},
    {u"我有3个apple。", {{"我/wǒ", "有/yǒu", "3", "个/gè", "apple", "+。"}}},
    {u"don't 3.5 ｘｙ", {{"don't", " ", "3.5", " ", "ｘｙ"}}},
    {u"「你好」，《小》", {{"「", "+你/nǐ", "好/hǎo", "+」", "+，", "《", "+小/xiǎo", "+》"}}},
    {u"好……——", {{"好/hǎo", "+……", "+——"}}},
    {u"中  \t国", {{"中/zhōng", "  \t", "国/guó"}}},
    {u"𠀀中<&>", {{"𠀀", "中/zhōng", "<", "&", ">"}}},
};

TEST(RubyLines, SplitLinesIntoCells) {
  for (const CellRow& row : kCellRows) {
    const std::u16string_view source = row.source;
    SCOPED_TRACE(Utf8(source));
    std::vector<std::vector<std::string>> lines;
    for (const RubyLine& line : RubyLines(Converter(), source)) {
      auto& written = lines.emplace_back();
      for (const RubyCell& cell : line) written.push_back(Written(cell, source));
    }
    EXPECT_EQ(lines, row.lines);
  }
}

// Random lines of random cells, some joined to the one before, laid out at
// random widths: every row holds the next cells of its line, fits unless it
// is one cell or had nowhere to break, ends where a break is allowed unless
// it had none, and could not have taken the cells up to its line's next
// break; every page but the last is full.
TEST(RubyLayout, RowsFollowTheBreakingRulesOnRandomLines) {
  std::mt19937 random(24);
  for (int round = 0; round < 300; ++round) {
    std::vector<RubyLine> lines(std::uniform_int_distribution<std::size_t>(0, 6)(random));
    std::vector<std::vector<double>> widths;
    for (RubyLine& line : lines) {
      auto& lineWidths = widths.emplace_back();
      const std::size_t cells = std::uniform_int_distribution<std::size_t>(0, 40)(random);
      for (std::size_t i = 0; i < cells; ++i) {
        line.push_back({i, i + 1, {}, i > 0 && random() % 4 == 0});
        lineWidths.push_back(std::uniform_real_distribution<double>(0.5, 3.0)(random));
      }
    }
    const double rowWidth = std::uniform_real_distribution<double>(2.0, 20.0)(random);
    const std::size_t rowsPerPage = std::uniform_int_distribution<std::size_t>(1, 7)(random);
    const auto width = [&](const RubyCell& cell) {
      for (std::size_t l = 0; l < lines.size(); ++l) {
        if (!lines[l].empty() && &cell >= &lines[l].front() && &cell <= &lines[l].back()) {
          return widths[l][cell.from];
        }
      }
      ADD_FAILURE() << "a cell of no line";
      return 0.0;
    };
    const auto pages = LayOutRubyPages(lines, width, rowWidth, rowsPerPage);
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<RubyRow> rows;
    for (std::size_t p = 0; p < pages.size(); ++p) {
      if (p + 1 < pages.size()) {
        EXPECT_EQ(pages[p].size(), rowsPerPage);
      }
      rows.insert(rows.end(), pages[p].begin(), pages[p].end());
    }
    std::size_t line = 0;
    std::size_t next = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const RubyRow& row = rows[r];
      if (row.line != line) {
        EXPECT_EQ(next, lines[line].size()) << "line " << line << " left unfinished";
        EXPECT_EQ(row.line, line + 1);
        line = row.line;
        next = 0;
      }
      ASSERT_LT(row.line, lines.size());
      const RubyLine& cells = lines[row.line];
      const std::vector<double>& w = widths[row.line];
      EXPECT_EQ(row.first, next);
      ASSERT_LE(row.end, cells.size());
      EXPECT_TRUE(row.end > row.first || cells.empty());
      next = row.end;
      bool breakable = false;
      for (std::size_t i = row.first + 1; i < row.end; ++i) breakable |= !cells[i].joinsPrevious;
      const double used = std::accumulate(w.begin() + row.first, w.begin() + row.end, 0.0);
      if (row.end - row.first > 1 && breakable) {
        EXPECT_LE(used, rowWidth);
      }
      if (row.end == cells.size()) continue;
      if (breakable) {
        EXPECT_FALSE(cells[row.end].joinsPrevious) << "row " << r;
      }
      std::size_t nextBreak = row.end + 1;
      while (nextBreak < cells.size() && cells[nextBreak].joinsPrevious) ++nextBreak;
      EXPECT_GT(std::accumulate(w.begin() + row.first, w.begin() + nextBreak, 0.0), rowWidth)
          << "row " << r << " could have held more";
    }
    if (!lines.empty()) {
      EXPECT_EQ(line, lines.size() - 1);
      EXPECT_EQ(next, lines.back().size());
    } else {
      EXPECT_TRUE(rows.empty());
    }
  }
}

constexpr std::size_t P = kPracticeSquare;

struct GridCase {
  std::size_t characters, copies, columns, rowsPerPage;
  std::vector<std::vector<GridRow>> pages;
};

const GridCase kGridCases[] = {
    {0, 3, 8, 10, {{}}},
    {1, 0, 8, 10, {{{0}}}},
    {3, 3, 8, 2, {{{0, P, P, P, 1, P, P, P}, {2, P, P, P}}}},
    {3, 3, 8, 1, {{{0, P, P, P, 1, P, P, P}}, {{2, P, P, P}}}},
    // A character with its squares moves to the next row rather than split.
    {3, 2, 8, 5, {{{0, P, P, 1, P, P}, {2, P, P}}}},
    // Unless they are wider than a row.
    {2, 9, 8, 5, {{{0, P, P, P, P, P, P, P}, {P, P, 1, P, P, P, P, P}, {P, P, P, P}}}},
    {5, 0, 2, 2, {{{0, 1}, {2, 3}}, {{4}}}},
};

TEST(GridLayout, SquaresFallIntoRowsAndPages) {
  for (const GridCase& c : kGridCases) {
    SCOPED_TRACE(std::to_string(c.characters) + " characters, " + std::to_string(c.copies) +
                 " copies, " + std::to_string(c.columns) + " columns");
    EXPECT_EQ(LayOutGridPages(c.characters, c.copies, c.columns, c.rowsPerPage), c.pages);
  }
}

}  // namespace
}  // namespace kelvaro
