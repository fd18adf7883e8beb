#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <vector>

#include "sheet/ruby_text.h"

namespace kelvaro {

// One printed row of the ruby layout: the cells first to end of a line.
struct RubyRow {
  std::size_t line;
  std::size_t first;
  std::size_t end;
  bool operator==(const RubyRow&) const = default;
};

// The rows of each page of the ruby layout. Every line starts a row; a line
// wider than rowWidth (cellWidth gives each cell's width, the wider of its
// text and its reading with the space between cells) is broken between
// cells, never before punctuation that closes a phrase nor after one that
// opens it, unless the row would hold nothing else. An empty line is an
// empty row. Pages hold rowsPerPage rows (at least one); an empty source
// gives one empty page.
std::vector<std::vector<RubyRow>> LayOutRubyPages(
    const std::vector<RubyLine>& lines, const std::function<double(const RubyCell&)>& cellWidth,
    double rowWidth, std::size_t rowsPerPage);

// A square of the practice grid: the index of a character among the cells
// with a reading (in source order), or kPracticeSquare for an empty one.
inline constexpr std::size_t kPracticeSquare = std::numeric_limits<std::size_t>::max();
using GridRow = std::vector<std::size_t>;

// The rows of each page of the practice grid: each of the characters, then
// copies empty squares to copy it in, row after row of columns squares. A
// character and its empty squares stay on one row when they fit in a row.
std::vector<std::vector<GridRow>> LayOutGridPages(std::size_t characters, std::size_t copies,
                                                  std::size_t columns, std::size_t rowsPerPage);

}  // namespace kelvaro
