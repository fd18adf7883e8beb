// Where the text boxes wrap their lines: where a text layout of each
// paragraph breaks it at the same width and font, on generated texts with
// words, Chinese, punctuation, line breaks of each kind (LF, CR, CR LF) and long runs without break
// opportunities; the same when found lazily and after edits; lines of
// characters without width bounded; and, for a line of a million letters,
// only the start of the text read to show its first screen.
#include "textbox/wrapped_lines.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QFontInfo>
#include <QTest>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <functional>
#include <random>

#include "textbox/tests/text_box_test_support.h"

using kelvaro::WrappedLines;

namespace {

// Where a text layout starts each line, wrapping each paragraph of the text
// (ended by a line feed, a CR or a CR LF) at the width, as a plain text edit
// does.
QList<int> LayoutStarts(const QString& text, const QFont& font, qreal width) {
  QList<int> starts;
  for (qsizetype from = 0;;) {
    // A paragraph ends at a line feed, a CR, or both together.
    qsizetype feed = from;
    while (feed < text.size() && text[feed] != u'\n' && text[feed] != u'\r') ++feed;
    if (feed == text.size()) feed = -1;
    const qsizetype to = feed < 0 ? text.size() : feed;
    QTextLayout layout(text.mid(from, to - from), font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      starts << static_cast<int>(from) + line.textStart();
    }
    layout.endLayout();
    if (feed < 0) break;
    from =
        feed + (text[feed] == u'\r' && feed + 1 < text.size() && text[feed + 1] == u'\n' ? 2 : 1);
  }
  return starts;
}

QList<int> AllStarts(WrappedLines& lines) {
  const std::vector<int>& starts = lines.starts();
  return QList<int>(starts.begin(), starts.end());
}

// The same lines found one at a time, as a box scrolling down finds them.
QList<int> StartsOneByOne(WrappedLines& lines) {
  QList<int> starts;
  for (int line = 0; lines.HasLine(line); ++line) starts << lines.Start(line);
  return starts;
}

// Text as parents paste it and the pinyin and hint boxes show it, with now
// and then a run of letters or digits far longer than a line, without any
// break opportunity. Spaces come a few at a time.
class TextMaker {
 public:
  explicit TextMaker(unsigned seed) : random_(seed) {}

  QString Text(int length) {
    static const QStringList kTokens{
        QStringLiteral("zhōng"), QStringLiteral("guó"),        QStringLiteral("rén"),
        QStringLiteral("lǜ"),    QStringLiteral("nǚ"),         QStringLiteral("ZHONG"),
        QStringLiteral("WAVE"),  QStringLiteral("中"),         QStringLiteral("国"),
        QStringLiteral("朋友"),  QStringLiteral("，"),         QStringLiteral("。"),
        QStringLiteral("（"),    QStringLiteral("）"),         QStringLiteral("“"),
        QStringLiteral("”"),     QStringLiteral("-"),          QStringLiteral("/"),
        QStringLiteral("2024"),  QStringLiteral("\U00020000"), QStringLiteral("\U0001D400"),
        QStringLiteral(" "),     QStringLiteral(" "),          QStringLiteral("  "),
        QStringLiteral("   "),   QStringLiteral("\n"),         QStringLiteral("\r\n"),
        QStringLiteral("\r")};
    QString text;
    while (text.size() < length) {
      if (Below(40) == 0) {
        text += LongRun();
      } else {
        text += kTokens[Below(static_cast<int>(kTokens.size()))];
      }
    }
    return text;
  }

  // A run of 1,030 to 4,000 letters, or letters and digits, that has no
  // break opportunity.
  QString LongRun() {
    const int length = 1030 + Below(2971);
    QString run;
    const bool digits = Below(2) == 0;
    for (int i = 0; i < length; ++i) {
      run += digits && i % 3 == 2 ? QChar(u'0' + Below(10)) : QChar(u'a' + Below(26));
    }
    return run;
  }

  int Below(int bound) { return static_cast<int>(random_() % static_cast<unsigned>(bound)); }

 private:
  std::mt19937 random_;  // the same numbers everywhere
};

// Text in memory of its own whose first `readable` code units can be read and
// the rest not: reading past them stops the test.
class GuardedText {
 public:
  GuardedText(qsizetype size, qsizetype readable, const std::function<QChar(qsizetype)>& at) {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t bytes = static_cast<std::size_t>(size) * sizeof(QChar);
    mapped_ = (bytes + page - 1) / page * page;
    void* memory =
        mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) qFatal("no memory for the guarded text");
    data_ = static_cast<QChar*>(memory);
    for (qsizetype i = 0; i < size; ++i) data_[i] = at(i);
    // Whole pages only: up to a page more may stay readable.
    const std::size_t open =
        (static_cast<std::size_t>(readable) * sizeof(QChar) + page - 1) / page * page;
    if (open < mapped_ &&
        mprotect(static_cast<char*>(memory) + open, mapped_ - open, PROT_NONE) != 0) {
      qFatal("cannot guard the text");
    }
  }
  ~GuardedText() { munmap(data_, mapped_); }
  GuardedText(const GuardedText&) = delete;
  GuardedText& operator=(const GuardedText&) = delete;

  // The text from `from` to the end, without a copy.
  QString From(qsizetype from, qsizetype size) const {
    return QString::fromRawData(data_ + from, size - from);
  }

 private:
  QChar* data_ = nullptr;
  std::size_t mapped_ = 0;
};

}  // namespace

class WrappedLinesTest : public QObject {
  Q_OBJECT

 private:
  // Rows of sizes and widths for the generated texts, each with a seed. The
  // font has no kerning: widths are measured piece by piece, which a text
  // layout shapes in context (see the note on WrappedLines).
  static void AddSizesAndWidths() {
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<int>("width");
    QTest::addColumn<unsigned>("seed");
    unsigned seed = 1;
    for (const int pointSize : {9, 12, 24}) {
      for (const int width : {61, 200, 333, 577, 1400}) {
        QTest::addRow("%dpt, %d px", pointSize, width) << pointSize << width << seed++;
      }
    }
  }

  static QFont Font(int pointSize) {
    QFont font(QStringLiteral("AR PL UMing CN"));
    font.setPointSize(pointSize);
    return font;
  }

 private slots:
  void linesAsATextLayoutBreaksThem_data() { AddSizesAndWidths(); }
  void linesAsATextLayoutBreaksThem() {
    QFETCH(int, pointSize);
    QFETCH(int, width);
    QFETCH(unsigned, seed);
    const QFont font = Font(pointSize);
    QCOMPARE(QFontInfo(font).family(), font.family());
    TextMaker maker(seed);
    for (int round = 0; round < 3; ++round) {
      const QString text = maker.Text(4000);
      const QList<int> expected = LayoutStarts(text, font, width);
      WrappedLines all;
      all.setFont(font);
      all.Reset(&text, width);
      QCOMPARE(AllStarts(all), expected);
      WrappedLines oneByOne;
      oneByOne.setFont(font);
      oneByOne.Reset(&text, width);
      QCOMPARE(StartsOneByOne(oneByOne), expected);
    }
  }

  // Edits anywhere, long runs included, after looking at some of the lines
  // as a box does: the lines are then where a text layout puts them.
  void linesAfterEditsAsATextLayoutBreaksThem_data() { AddSizesAndWidths(); }
  void linesAfterEditsAsATextLayoutBreaksThem() {
    QFETCH(int, pointSize);
    QFETCH(int, width);
    QFETCH(unsigned, seed);
    const QFont font = Font(pointSize);
    TextMaker maker(seed);
    QString text = maker.Text(5000);
    WrappedLines lines;
    lines.setFont(font);
    lines.Reset(&text, width);
    for (int edit = 0; edit < 20; ++edit) {
      switch (maker.Below(3)) {
        case 0:
          lines.HasLine(maker.Below(60));
          break;
        case 1:
          lines.LineOf(maker.Below(static_cast<int>(text.size()) + 1));
          break;
        default:
          lines.starts();
      }
      const int size = static_cast<int>(text.size());
      const int at = maker.Below(size + 1);
      const int removed =
          std::min(size - at, maker.Below(4) == 0 ? maker.Below(1500) : maker.Below(8));
      QString inserted;
      switch (maker.Below(4)) {
        case 0:
          inserted = QChar(u'a' + maker.Below(26));  // typing, also inside a long run
          break;
        case 1:
          inserted = maker.Text(1 + maker.Below(30));
          break;
        case 2:
          inserted = maker.LongRun();
          break;
        default:
          break;  // deleting only
      }
      text.replace(at, removed, inserted);
      lines.Update(at, size - at - removed, static_cast<int>(inserted.size()) - removed);
      QVERIFY2(AllStarts(lines) == LayoutStarts(text, font, width),
               qPrintable(QStringLiteral("after edit %1: %2 replaced by %3 at %4")
                              .arg(edit)
                              .arg(removed)
                              .arg(inserted.size())
                              .arg(at)));
    }
  }

  // Where a text layout would keep a run of characters without width on one
  // line, however long, lines end at the most code units instead; a grapheme
  // cluster is split only where it alone fills a line, and never inside a
  // surrogate pair.
  void linesOfCharactersWithoutWidthAreBounded_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("letter with combining marks")
        << QStringLiteral("ab e") + QString(5000, QChar(0x0301)) + QStringLiteral(" cd");
    QString astralMarks = QStringLiteral("a");
    for (int i = 0; i < 3000; ++i) astralMarks += QStringLiteral("\U0001D167");
    QTest::newRow("letter with astral combining marks") << astralMarks;
    QTest::newRow("hanging spaces")
        << QStringLiteral("zhōng") + QString(3000, u' ') + QStringLiteral("guó");
    QTest::newRow("zero-width spaces") << QString(3000, QChar(0x200B));
    QTest::newRow("word joiners") << QStringLiteral("x") + QString(3000, QChar(0x2060));
  }
  void linesOfCharactersWithoutWidthAreBounded() {
    QFETCH(QString, text);
    WrappedLines lines;
    lines.setFont(kelvaro::SerifCjkFont(24));
    lines.Reset(&text, 577);
    const QList<int> starts = AllStarts(lines);
    QCOMPARE(starts.front(), 0);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    for (int i = 0; i < starts.size(); ++i) {
      const int end = i + 1 < starts.size() ? starts[i + 1] : static_cast<int>(text.size());
      QVERIFY(end > starts[i]);
      QVERIFY2(end - starts[i] <= WrappedLines::kMaxLineLength, qPrintable(QString::number(i)));
      if (i == 0) continue;
      QVERIFY(!text.at(starts[i]).isLowSurrogate());
      graphemes.setPosition(starts[i]);
      QVERIFY2(
          graphemes.isAtBoundary() || starts[i] - starts[i - 1] >= WrappedLines::kMaxLineLength - 1,
          qPrintable(QStringLiteral("line %1 splits a cluster early").arg(i)));
    }
  }

  // A million code units in one paragraph, their start readable and the
  // rest not: showing the first screen, typing at the start of the text and
  // deleting what was typed read only the start.
  void theFirstScreenOfAMillionReadsOnlyItsStart_data() {
    QTest::addColumn<QString>("start");       // what the text starts with
    QTest::addColumn<QChar>("repeated");      // what fills the rest
    QTest::addColumn<bool>("asATextLayout");  // its first lines are those of a text layout
    QTest::newRow("letters") << QString() << QChar(u'a') << true;
    QTest::newRow("letters after words")
        << QStringLiteral("zhōng guó rén mín ").repeated(5) << QChar(u'a') << true;
    QTest::newRow("combining marks") << QStringLiteral("e") << QChar(0x0301) << false;
    QTest::newRow("spaces") << QStringLiteral("x") << QChar(u' ') << false;
    QTest::newRow("Chinese") << QString() << QChar(0x4E2D) << true;
  }
  void theFirstScreenOfAMillionReadsOnlyItsStart() {
    QFETCH(QString, start);
    QFETCH(QChar, repeated);
    QFETCH(bool, asATextLayout);
    constexpr qsizetype kSize = 1'000'000;
    constexpr qsizetype kReadable = 64 * 1024;
    constexpr int kTyped = 40;   // room for keys typed in front of the text
    constexpr int kScreen = 40;  // lines
    const GuardedText memory(kTyped + kSize, kTyped + kReadable, [&](qsizetype i) {
      if (i < kTyped) return QChar(u'b');
      return i - kTyped < start.size() ? start.at(i - kTyped) : repeated;
    });
    const QFont font = kelvaro::SerifCjkFont(24);
    constexpr int kWidth = 577;
    QString text = memory.From(kTyped, kTyped + kSize);
    WrappedLines lines;
    lines.setFont(font);
    lines.Reset(&text, kWidth);
    QList<int> shown;
    for (int line = 0; line < kScreen; ++line) {
      QVERIFY(lines.HasLine(line));
      shown << lines.Start(line);
    }
    QCOMPARE(lines.LineOf(shown.back()), kScreen - 1);
    QVERIFY(lines.EstimatedCount() > kScreen);
    if (asATextLayout) {
      // The first lines of a greedy wrap are those of the text's start.
      const QString readable = text.left(kReadable);
      QCOMPARE(shown, LayoutStarts(readable, font, kWidth).first(kScreen));
    }
    // Keys typed at the start, one by one, then deleted.
    for (int typed = 1; typed <= kTyped; ++typed) {
      text = memory.From(kTyped - typed, kTyped + kSize);
      lines.Update(0, static_cast<int>(kSize) + typed - 1, 1);
      for (int line = 0; line < kScreen; ++line) QVERIFY(lines.HasLine(line));
    }
    for (int typed = kTyped - 1; typed >= 0; --typed) {
      text = memory.From(kTyped - typed, kTyped + kSize);
      lines.Update(0, static_cast<int>(kSize) + typed, -1);
      QCOMPARE(lines.LineOf(0), 0);
    }
    QList<int> again;
    for (int line = 0; line < kScreen; ++line) again << lines.Start(line);
    QCOMPARE(again, shown);
  }
};

QTEST_MAIN(WrappedLinesTest)
#include "wrapped_lines_test.moc"
