#include "cli/ruby_html.h"

namespace kelvaro {
namespace {

void AppendEscaped(std::u16string_view text, std::u16string& html) {
  for (const char16_t c : text) {
    switch (c) {
      case u'&':
        html += u"&amp;";
        break;
      case u'<':
        html += u"&lt;";
        break;
      case u'>':
        html += u"&gt;";
        break;
      case u'"':
        html += u"&quot;";
        break;
      default:
        html += c;
    }
  }
}

}  // namespace

std::u16string RubyHtmlParagraph(const RubyLine& line, std::u16string_view source) {
  std::u16string html = u"<p>";
  for (const RubyCell& cell : line) {
    const std::u16string_view text = source.substr(cell.from, cell.to - cell.from);
    if (cell.reading.empty()) {
      AppendEscaped(text, html);
    } else {
      html += u"<ruby>";
      AppendEscaped(text, html);
      html += u"<rt>";
      html += cell.reading;
      html += u"</rt></ruby>";
    }
  }
  html += u"</p>";
  return html;
}

}  // namespace kelvaro
