#include "sheet/ruby_text.h"

#include <algorithm>

#include "convert/tone_mark.h"

namespace kelvaro {
namespace {

bool IsLineEnd(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }

// Letters and digits of a Latin word, full-width ones too, and the marks
// that stay inside a word (don't, 3.5).
bool InLatinWord(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) return true;
  if ((c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) ||
      (c >= 0xFF41 && c <= 0xFF5A)) {
    return true;
  }
  return (c >= 0x00C0 && c <= 0x024F && c != 0x00D7 && c != 0x00F7);  // Latin with accents
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == 0x3000 || c == 0x00A0; }

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The end of the cell without a reading that starts at from, within the line's end.
std::size_t PlainCellEnd(std::u16string_view source, std::size_t from, std::size_t end) {
  const char16_t first = source[from];
  std::size_t to = from + 1;
  if (InLatinWord(first)) {
    while (to < end && (InLatinWord(source[to]) || ((source[to] == u'\'' || source[to] == u'.') &&
                                                    to + 1 < end && InLatinWord(source[to + 1])))) {
      ++to;
    }
  } else if (IsSpace(first)) {
    while (to < end && IsSpace(source[to])) ++to;
  } else if (IsHighSurrogate(first) && to < end && IsLowSurrogate(source[to])) {
    ++to;
  } else if (first == u'…' || first == u'—') {
    while (to < end && source[to] == first) ++to;  // …… and —— stay whole
  }
  return to;
}

bool ClosesPhrase(std::u16string_view text) {
  static constexpr std::u16string_view kClosing = u"，。、；：！？）」』》〉】”’,.;:!?)]}…—";
  return !text.empty() && kClosing.find(text.front()) != std::u16string_view::npos;
}

bool OpensPhrase(std::u16string_view text) {
  static constexpr std::u16string_view kOpening = u"（「『《〈【“‘([{";
  return !text.empty() && kOpening.find(text.back()) != std::u16string_view::npos;
}

}  // namespace

std::vector<RubyLine> RubyLines(const PinyinConverter& converter, std::u16string_view source) {
  const std::vector<PinyinConverter::PlacedReading> readings = converter.PlacedReadings(source);
  auto next = readings.begin();
  const auto lineEndFrom = [source](std::size_t from) {
    return static_cast<std::size_t>(
        std::find_if(source.begin() + static_cast<std::ptrdiff_t>(from), source.end(), IsLineEnd) -
        source.begin());
  };
  std::vector<RubyLine> lines(1);
  std::size_t at = 0;
  std::size_t lineEnd = lineEndFrom(0);
  while (at < source.size()) {
    if (at == lineEnd) {
      at += source[at] == u'\r' && at + 1 < source.size() && source[at + 1] == u'\n' ? 2 : 1;
      if (at == source.size()) break;  // the last line's own end
      lines.emplace_back();
      lineEnd = lineEndFrom(at);
      continue;
    }
    if (next != readings.end() && next->position == at) {
      lines.back().push_back({at, at + 1, AddToneMark(next->reading)});
      ++next;
      ++at;
      continue;
    }
    const std::size_t readingAt = next != readings.end() ? next->position : source.size();
    const std::size_t to = std::min(PlainCellEnd(source, at, lineEnd), readingAt);
    lines.back().push_back({at, to, {}});
    at = to;
  }
  for (RubyLine& line : lines) {
    for (std::size_t i = 1; i < line.size(); ++i) {
      const auto text = [&](const RubyCell& cell) {
        return source.substr(cell.from, cell.to - cell.from);
      };
      line[i].joinsPrevious = ClosesPhrase(text(line[i])) || OpensPhrase(text(line[i - 1]));
    }
  }
  return lines;
}

}  // namespace kelvaro
