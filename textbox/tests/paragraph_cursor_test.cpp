// Moves made by a ParagraphCursor, which holds only a stretch of a long
// paragraph, held to the same moves of a text cursor in a document of the
// whole text: on long generated texts with every kind of line break, words,
// Chinese, Hebrew, runs that no word boundary breaks, long clusters of
// combining marks, runs of regional indicators and surrogate pairs, from
// random positions, by characters, words and sentences.
#include "textbox/paragraph_cursor.h"

#include <QAccessible>
#include <QTest>
#include <QTextDocument>
#include <random>

#include "textbox/line_breaks.h"
#include "textbox/tests/text_box_test_support.h"

using kelvaro::BreakMap;
using kelvaro::ParagraphCursor;

namespace {

QString LongText(std::mt19937& random, int length) {
  const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const QString pieces[] = {
      QStringLiteral("zhōng "),     QStringLiteral("guó rén"),   QStringLiteral("中国"),
      QStringLiteral("。"),         QStringLiteral("Hi! Yes. "), QStringLiteral("שלום עולם "),
      QStringLiteral("\U00020000"), QStringLiteral("\n"),        QStringLiteral("\r\n"),
      QStringLiteral("\r"),         QStringLiteral("e\u0301"),   QStringLiteral("  "),
  };
  QString text;
  while (text.size() < length) {
    switch (below(60)) {
      case 0:  // a word longer than a stretch
        text += QString(600 + below(1500), QChar(u'a' + below(26)));
        break;
      case 1:  // one cluster longer than a stretch
        text += u'e' + QString(600 + below(900), QChar(0x0301));
        break;
      case 2:  // regional indicators, which pair up from the start of their run
        for (int i = 100 + below(700); i > 0; --i) text += QStringLiteral("\U0001F1E8");
        break;
      default:
        text += pieces[below(static_cast<int>(std::size(pieces)))];
    }
  }
  return text;
}

}  // namespace

class ParagraphCursorTest : public QObject {
  Q_OBJECT

 private slots:
  void movesAsInTheWholeText_data() {
    QTest::addColumn<unsigned>("seed");
    for (unsigned seed = 1; seed <= 12; ++seed) QTest::addRow("seed %u", seed) << seed;
  }
  void movesAsInTheWholeText() {
    QFETCH(unsigned, seed);
    std::mt19937 random(seed);
    const QString text = LongText(random, 12000);
    const BreakMap map(text);
    QTextDocument document;
    document.setPlainText(text);
    const QTextCursor::MoveOperation kMoves[] = {
        QTextCursor::Left,          QTextCursor::Right,    QTextCursor::PreviousCharacter,
        QTextCursor::NextCharacter, QTextCursor::WordLeft, QTextCursor::WordRight,
        QTextCursor::PreviousWord,  QTextCursor::NextWord, QTextCursor::StartOfWord,
        QTextCursor::EndOfWord,
    };
    for (int i = 0; i < 150; ++i) {
      int position = static_cast<int>(random() % static_cast<unsigned>(text.size() + 1));
      if (kelvaro::SplitsBreak(text, position)) --position;
      const int plain = map.ToPlain(position);
      for (const auto move : kMoves) {
        QTextCursor reference(&document);
        reference.setPosition(plain);
        reference.movePosition(move);
        const int moved = ParagraphCursor::Around(text, position, [&](ParagraphCursor& around) {
          around.cursor().movePosition(move);
          return around.ToText(around.cursor().position());
        });
        QVERIFY2(map.ToPlain(moved) == reference.position(),
                 qPrintable(QStringLiteral("move %1 from %2: %3, a document's %4")
                                .arg(move)
                                .arg(position)
                                .arg(map.ToPlain(moved))
                                .arg(reference.position())));
      }
      QTextCursor reference(&document);
      reference.setPosition(plain);
      reference.select(QTextCursor::WordUnderCursor);
      const auto word = ParagraphCursor::Around(text, position, [](ParagraphCursor& around) {
        around.cursor().select(QTextCursor::WordUnderCursor);
        return std::pair{around.ToText(around.cursor().anchor()),
                         around.ToText(around.cursor().position())};
      });
      QCOMPARE(std::pair(map.ToPlain(word.first), map.ToPlain(word.second)),
               std::pair(reference.anchor(), reference.position()));
      for (const auto boundary :
           {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary}) {
        QTextCursor at(&document);
        at.setPosition(plain);
        const auto expected = QAccessible::qAccessibleTextBoundaryHelper(at, boundary);
        const auto found = ParagraphCursor::Around(text, position, [&](ParagraphCursor& around) {
          const auto [first, second] =
              QAccessible::qAccessibleTextBoundaryHelper(around.cursor(), boundary);
          return std::pair{around.ToText(first), around.ToText(second)};
        });
        QCOMPARE(std::pair(map.ToPlain(found.first), map.ToPlain(found.second)),
                 std::pair(expected.first, expected.second));
      }
    }
  }
};

QTEST_MAIN(ParagraphCursorTest)
#include "paragraph_cursor_test.moc"
