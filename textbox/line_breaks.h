#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>

namespace kelvaro {

// The line breaks of the box's text: a line feed, a carriage return, or the
// two together ("\r\n"), which make one break. The text keeps each kind as
// it came; no position lies between the two halves of a CR LF.

inline bool IsLineBreak(QChar c) { return c == u'\n' || c == u'\r'; }

// True where a position splits a CR LF.
inline bool SplitsBreak(QStringView text, qsizetype position) {
  return position > 0 && position < text.size() && text[position - 1] == u'\r' &&
         text[position] == u'\n';
}

// How many code units the break that starts at a position takes: 2 for a CR LF.
inline int BreakLength(QStringView text, qsizetype position) {
  return text[position] == u'\r' && position + 1 < text.size() && text[position + 1] == u'\n' ? 2
                                                                                              : 1;
}

// Where the break that ends just before a position starts.
inline int BreakBefore(QStringView text, qsizetype position) {
  return static_cast<int>(
      position >= 2 && text[position - 2] == u'\r' && text[position - 1] == u'\n' ? position - 2
                                                                                  : position - 1);
}

// Where the paragraph that holds a position starts: after the break before it.
inline int ParagraphStart(QStringView text, qsizetype position) {
  // A CR is looked for only after the last line feed, where a paragraph ends.
  const qsizetype feed = text.first(position).lastIndexOf(u'\n');
  const qsizetype cr = text.sliced(feed + 1, position - feed - 1).lastIndexOf(u'\r');
  return static_cast<int>(cr >= 0 ? feed + 1 + cr : feed) + 1;
}

// Where the paragraph that holds a position ends: at the break after it, or
// at the end of the text.
inline int ParagraphEnd(QStringView text, qsizetype position) {
  // A CR is looked for only before the next line feed.
  const QStringView after = text.sliced(position);
  qsizetype end = after.indexOf(u'\n');
  if (end < 0) end = after.size();
  const qsizetype cr = after.first(end).indexOf(u'\r');
  return static_cast<int>(position + (cr >= 0 ? cr : end));
}

// The text with each break as one line feed, as a text document gives it.
inline QString WithBreaksAsLineFeeds(QString text) {
  if (!text.contains(u'\r')) return text;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

// A line break other than LF, CR and CR LF: a paragraph or line separator,
// the marks of a frame's start and end.
inline bool IsOtherBreak(QChar c) {
  // A document takes U+FDD0 and U+FDD1 as the marks of a frame's start and end.
  return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QChar(0xFDD0) ||
         c == QChar(0xFDD1);
}

// A text with each of those as a line feed, as a text document takes them.
inline QString WithOtherBreaksAsLineFeeds(QString text) {
  for (QChar& c : text) {
    if (IsOtherBreak(c)) c = u'\n';
  }
  return text;
}

}  // namespace kelvaro
