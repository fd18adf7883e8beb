#include "sheet/sheet_layout.h"

#include <algorithm>

namespace kelvaro {
namespace {

template <typename Row>
std::vector<std::vector<Row>> Paginate(std::vector<Row> rows, std::size_t rowsPerPage) {
  rowsPerPage = std::max<std::size_t>(rowsPerPage, 1);
  std::vector<std::vector<Row>> pages;
  for (std::size_t first = 0; first < rows.size(); first += rowsPerPage) {
    const auto begin = rows.begin() + static_cast<std::ptrdiff_t>(first);
    pages.emplace_back(
        begin, begin + static_cast<std::ptrdiff_t>(std::min(rowsPerPage, rows.size() - first)));
  }
  if (pages.empty()) pages.emplace_back();
  return pages;
}

}  // namespace

std::vector<std::vector<RubyRow>> LayOutRubyPages(
    const std::vector<RubyLine>& lines, const std::function<double(const RubyCell&)>& cellWidth,
    double rowWidth, std::size_t rowsPerPage) {
  std::vector<RubyRow> rows;
  std::vector<double> widths;
  for (std::size_t line = 0; line < lines.size(); ++line) {
    const RubyLine& cells = lines[line];
    widths.resize(cells.size());
    std::transform(cells.begin(), cells.end(), widths.begin(), cellWidth);
    std::size_t first = 0;
    double used = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i > first && used + widths[i] > rowWidth) {
        // The last place from i back where the row may end.
        std::size_t end = i;
        while (end > first && cells[end].joinsPrevious) --end;
        if (end == first) end = i;
        rows.push_back({line, first, end});
        first = end;
        used = 0;
        for (std::size_t j = first; j < i; ++j) used += widths[j];
      }
      used += widths[i];
    }
    rows.push_back({line, first, cells.size()});
  }
  return Paginate(std::move(rows), rowsPerPage);
}

std::vector<std::vector<GridRow>> LayOutGridPages(std::size_t characters, std::size_t copies,
                                                  std::size_t columns, std::size_t rowsPerPage) {
  columns = std::max<std::size_t>(columns, 1);
  const std::size_t group = copies + 1;
  std::vector<GridRow> rows;
  for (std::size_t character = 0; character < characters; ++character) {
    if (rows.empty() || rows.back().size() == columns ||
        (group <= columns && rows.back().size() + group > columns)) {
      rows.emplace_back();
    }
    rows.back().push_back(character);
    for (std::size_t copy = 0; copy < copies; ++copy) {
      if (rows.back().size() == columns) rows.emplace_back();
      rows.back().push_back(kPracticeSquare);
    }
  }
  return Paginate(std::move(rows), rowsPerPage);
}

}  // namespace kelvaro
