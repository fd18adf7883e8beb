// The printed reading sheet: a poem and a story rendered to PDF in both
// layouts and read back with pdftotext, each character checked to stand under
// its reading, in order, page by page; and the main window's menu entry and
// Ctrl+P, which open the print preview and change nothing when it is closed.
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <optional>

#include "app/control_style.h"
#include "app/qt_text.h"
#include "app/reading_sheet.h"
#include "convert/tone_mark.h"
#include "gui_test_support.h"
#include "test_paths.h"
#include "tests/test_support.h"
#include "textbox/long_text_box.h"

using namespace kelvaro;

namespace {

// 咏鹅 with its title and poet, each reading judged by hand.
const QString kPoem =
    QStringLiteral("咏鹅\n骆宾王\n\n鹅，鹅，鹅，\n曲项向天歌。\n白毛浮绿水，\n红掌拨清波。\n");
const QStringList kPoemReadings = QStringLiteral(
                                      "yǒng é luò bīn wáng é é é qū xiàng xiàng tiān gē bái máo fú "
                                      "lǜ shuǐ hóng zhǎng bō qīng bō")
                                      .split(u' ');

QString Story() {
  QFile file(QStringLiteral(KELVARO_SOURCE_DIR "/tests/data/reading-sheet-story.txt"));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A word of pdftotext -bbox, on its page, in points from the page's top left.
struct Word {
  int page;
  QString text;
  double xMin, yMin, xMax, yMax;
  double Centre() const { return (xMin + xMax) / 2; }
};

// Characters and Chinese punctuation (quotation marks, dashes and ellipses too).
bool IsWide(QChar c) {
  return c.unicode() >= 0x2E80 || (c.unicode() >= 0x2010 && c.unicode() <= 0x2027);
}

// Qt writes the text of a glyph that a radical shares with a character (长
// with ⻓, 白 with ⽩) as the radical, the lower code: such a radical stands
// for the character whose glyph it shares in the sheet's font.
bool SameCharacter(QChar shown, QChar expected) {
  if (shown == expected) return true;
  if (shown.unicode() < 0x2E80 || shown.unicode() > 0x2FDF) return false;
  static const QRawFont font = QRawFont::fromFont(SongTiFont(22));
  return font.glyphIndexesForString(QString(shown)) ==
         font.glyphIndexesForString(QString(expected));
}

bool SameText(const QString& shown, const QString& expected) {
  return shown.size() == expected.size() &&
         std::equal(shown.begin(), shown.end(), expected.begin(), SameCharacter);
}

// The words of a PDF, a word of wide characters split into one per
// character (pdftotext joins a character and the punctuation after it).
std::vector<Word> PdfWords(const QString& pdf, int* pages) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  const QString html = QString::fromUtf8(process.readAllStandardOutput());
  static const QRegularExpression kItem(
      QStringLiteral("<page |<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" "
                     "yMax=\"([-0-9.]+)\">([^<]*)</word>"));
  std::vector<Word> words;
  *pages = 0;
  for (const QRegularExpressionMatch& m : kItem.globalMatch(html)) {
    if (m.captured(0) == QStringLiteral("<page ")) {
      ++*pages;
      continue;
    }
    const Word word{*pages - 1,
                    m.captured(5),
                    m.captured(1).toDouble(),
                    m.captured(2).toDouble(),
                    m.captured(3).toDouble(),
                    m.captured(4).toDouble()};
    if (!word.text.isEmpty() && IsWide(word.text[0])) {
      // pdftotext joins a punctuation mark and the character after it: the
      // first glyph starts the word, the last ends it, each a square of the
      // word's height without the font's line gap (Noto CJK's 1.438 em).
      const double em = (word.yMax - word.yMin) / 1.438;
      const qsizetype n = word.text.size();
      const double step = n > 1 ? (word.xMax - word.xMin - em) / (n - 1) : 0;
      for (qsizetype i = 0; i < n; ++i) {
        words.push_back({word.page, word.text.mid(i, 1), word.xMin + i * step, word.yMin,
                         word.xMin + i * step + em, word.yMax});
      }
    } else {
      words.push_back(word);
    }
  }
  return words;
}

// Words in reading order: page, then row (the same baseline), then left to right.
void SortForReading(std::vector<Word>& words) {
  std::sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
    if (a.page != b.page) return a.page < b.page;
    if (std::abs(a.yMax - b.yMax) > 0.5) return a.yMax < b.yMax;
    return a.xMin < b.xMin;
  });
}

bool IsPageNumber(const Word& word) {
  static const QRegularExpression kNumber(QStringLiteral("^(\\d+|/)$"));
  return kNumber.match(word.text).hasMatch();
}

void RenderPdf(const QString& text, const SheetChoice& choice, const QString& path) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  PaintReadingSheet(printer, Converter(), text, choice);
}

// Where the test's PDFs go: KELVARO_SHEET_PDF_DIR keeps them for a look.
QString PdfDirectory(QTemporaryDir& temporary) {
  const QString kept = qEnvironmentVariable("KELVARO_SHEET_PDF_DIR");
  return kept.isEmpty() ? temporary.path() : kept;
}

// Opens the box's context menu as a right-click does and returns it.
QMenu* OpenContextMenu(QAbstractScrollArea* box) {
  const QPoint at = box->viewport()->rect().center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, box->viewport()->mapToGlobal(at));
  QApplication::sendEvent(box->viewport(), &event);
  return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// The print preview the window has open, waiting for it a while; or null.
QPrintPreviewDialog* OpenPreview() {
  const auto find = [] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QPrintPreviewDialog*>(widget);
      if (dialog && dialog->isVisible()) return dialog;
    }
    return static_cast<QPrintPreviewDialog*>(nullptr);
  };
  return QTest::qWaitFor([&find] { return find() != nullptr; }, 5000) ? find() : nullptr;
}

}  // namespace

class PrintSheetTest : public MainWindowTest {
  Q_OBJECT

 private slots:
  void sheetInPdf_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("readings");  // empty: the pinyin box's
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("pages");
    // The poem's 7 lines fit a page; the story's pages are counted below
    // (0): each but the last full.
    QTest::newRow("poem, ruby") << kPoem << kPoemReadings << int(SheetLayout::kRuby) << 1;
    QTest::newRow("story, ruby") << Story() << QStringList() << int(SheetLayout::kRuby) << 0;
    // 12 squares of 15 mm a row, 9 rows of 27.5 mm a page: 3 characters and
    // their 3 copies a row, 27 a page; the poem's 23 characters take 1 page,
    // the story's 270 take 10.
    QTest::newRow("poem, grid") << kPoem << kPoemReadings << int(SheetLayout::kGrid) << 1;
    QTest::newRow("story, grid") << Story() << QStringList() << int(SheetLayout::kGrid) << 10;
  }

  void sheetInPdf() {
    QFETCH(QString, text);
    QFETCH(QStringList, readings);
    QFETCH(int, layout);
    QFETCH(int, pages);
    QVERIFY(!text.isEmpty());
    if (readings.isEmpty()) {
      for (const std::u16string_view reading : Converter().Readings(Utf16View(text))) {
        readings << QString::fromStdU16String(AddToneMark(reading));
      }
    }
    // The characters with readings, and all wide characters, in order.
    QString characters;
    QString wide;
    for (const auto& placed : Converter().PlacedReadings(Utf16View(text))) {
      characters += text[static_cast<qsizetype>(placed.position)];
    }
    for (const QChar c : text) {
      if (IsWide(c)) wide += c;
    }
    QCOMPARE(characters.size(), readings.size());

    QTemporaryDir temporary;
    const QString name = QString::fromLatin1(QTest::currentDataTag())
                             .replace(QStringLiteral(", "), QStringLiteral("-")) +
                         QStringLiteral(".pdf");
    const QString pdf = PdfDirectory(temporary) + u'/' + name;
    RenderPdf(text, {static_cast<SheetLayout>(layout), 3}, pdf);
    int pdfPages = 0;
    std::vector<Word> words = PdfWords(pdf, &pdfPages);
    QVERIFY2(!words.empty(), "pdftotext read nothing");
    if (pages > 0) {
      QCOMPARE(pdfPages, pages);
    } else {
      QVERIFY(pdfPages > 1);
    }
    SortForReading(words);

    // Each page ends with its number.
    std::vector<Word> glyphs;
    std::vector<Word> syllables;
    for (int page = 0; page < pdfPages; ++page) {
      std::vector<Word> onPage;
      std::copy_if(words.begin(), words.end(), std::back_inserter(onPage),
                   [page](const Word& w) { return w.page == page; });
      QVERIFY(onPage.size() >= 3);
      const QString number =
          onPage[onPage.size() - 3].text + onPage[onPage.size() - 2].text + onPage.back().text;
      QCOMPARE(number, QStringLiteral("%1/%2").arg(page + 1).arg(pdfPages));
      const double foot = onPage.back().yMin;
      onPage.resize(onPage.size() - 3);
      // A page before the last is full: no room for another row (two where
      // the last is an empty line's) above its number.
      if (page + 1 < pdfPages) {
        std::vector<double> baselines;
        for (const Word& word : onPage) {
          if (baselines.empty() || word.yMax > baselines.back() + 0.5)
            baselines.push_back(word.yMax);
        }
        QVERIFY(baselines.size() > 2);
        double pitch = baselines.back();
        for (std::size_t i = 2; i < baselines.size(); ++i) {
          pitch = std::min(pitch, baselines[i] - baselines[i - 2]);  // a reading and a character
        }
        QVERIFY2(foot - baselines.back() < 2 * pitch,
                 qPrintable(QStringLiteral("page %1 ends early").arg(page + 1)));
      }
      for (const Word& word : onPage) {
        QVERIFY2(!IsPageNumber(word), qPrintable(word.text));
        (IsWide(word.text[0]) ? glyphs : syllables).push_back(word);
      }
    }

    // The wide characters in order: the ruby layout keeps punctuation, the
    // grid holds only the characters with readings.
    QString shown;
    for (const Word& glyph : glyphs) shown += glyph.text;
    const QString expected = layout == int(SheetLayout::kRuby) ? wide : characters;
    const auto differ =
        std::mismatch(shown.begin(), shown.end(), expected.begin(), expected.end(), SameCharacter);
    QVERIFY2(SameText(shown, expected),
             qPrintable(QStringLiteral("from %1: %2 instead of %3")
                            .arg(differ.first - shown.begin())
                            .arg(QStringView(differ.first, shown.end()).left(12))
                            .arg(QStringView(differ.second, expected.end()).left(12))));

    // Each character with a reading has it above: centred on it within half a
    // point, on the nearest baseline above, each reading used once.
    std::vector<bool> used(syllables.size());
    qsizetype next = 0;
    for (const Word& glyph : glyphs) {
      if (next == characters.size() || !SameCharacter(glyph.text[0], characters[next])) continue;
      std::optional<std::size_t> above;
      for (std::size_t s = 0; s < syllables.size(); ++s) {
        const Word& syllable = syllables[s];
        if (syllable.page != glyph.page || syllable.yMax > glyph.yMin + 1 ||
            std::abs(syllable.Centre() - glyph.Centre()) > 0.5) {
          continue;
        }
        if (!above || syllable.yMax > syllables[*above].yMax) above = s;
      }
      const QString where =
          QStringLiteral("%1 (%2) on page %3").arg(glyph.text).arg(next).arg(glyph.page + 1);
      QVERIFY2(above, qPrintable(QStringLiteral("no reading above ") + where));
      QVERIFY2(glyph.yMin - syllables[*above].yMax < 30,
               qPrintable(QStringLiteral("reading far above ") + where));
      QCOMPARE(syllables[*above].text, readings[next]);
      QVERIFY2(!used[*above], qPrintable(QStringLiteral("a reading shared by ") + where));
      used[*above] = true;
      ++next;
    }
    QCOMPARE(next, characters.size());
    for (std::size_t s = 0; s < syllables.size(); ++s) {
      QVERIFY2(used[s], qPrintable(QStringLiteral("%1 over no character on page %2")
                                       .arg(syllables[s].text)
                                       .arg(syllables[s].page + 1)));
    }
  }

  void init() { QVERIFY(OpenMainWindow()); }
  void cleanup() {
    // A preview left open by a failed case; deleting one deletes its own
    // top-level children (a combo box's list), so they are gathered first.
    QList<QPointer<QWidget>> previews;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (qobject_cast<QPrintPreviewDialog*>(widget)) previews << widget;
    }
    for (const QPointer<QWidget>& preview : previews) delete preview.data();
    CloseMainWindow();
  }

  void menuEntryAndShortcutOpenThePreview_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("source box menu") << QStringLiteral("Text1") << true;
    QTest::newRow("pinyin box menu") << QStringLiteral("Text2") << true;
    QTest::newRow("Ctrl+P in the source box") << QStringLiteral("Text1") << false;
    QTest::newRow("Ctrl+P in the pinyin box") << QStringLiteral("Text2") << false;
  }

  void menuEntryAndShortcutOpenThePreview() {
    QFETCH(QString, box);
    QFETCH(bool, fromMenu);
    auto* text1 = Child<LongTextBox>(form1(), QStringLiteral("Text1"));
    auto* target = Child<LongTextBox>(form1(), box);
    QVERIFY(text1 && target);
    text1->setPlainText(QStringLiteral("重庆\n我爱中国。"));
    const QString sourceBefore = text1->toPlainText();
    const QString pinyinBefore =
        Child<LongTextBox>(form1(), QStringLiteral("Text2"))->toPlainText();

    if (fromMenu) {
      QMenu* menu = OpenContextMenu(target);
      QVERIFY(menu);
      QAction* print = nullptr;
      for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("打印注音…")) print = action;
      }
      QVERIFY(print);
      QCOMPARE(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
      // Beside 朗读, which stays last.
      QCOMPARE(menu->actions().constLast()->text(), QStringLiteral("朗读"));
      QCOMPARE(menu->actions().at(menu->actions().size() - 2), print);
      print->trigger();
      menu->close();
    } else {
      target->setFocus();
      QTest::keyClick(target, Qt::Key_P, Qt::ControlModifier);
    }
    QPrintPreviewDialog* dialog = OpenPreview();
    QVERIFY(dialog);
    QCOMPARE(dialog->printer()->pageLayout().pageSize().id(), QPageSize::A4);
    auto* layout = dialog->findChild<QComboBox*>(QStringLiteral("sheetLayout"));
    auto* copies = dialog->findChild<QSpinBox*>(QStringLiteral("sheetCopies"));
    QVERIFY(layout && copies);
    QCOMPARE(layout->count(), 2);
    QVERIFY(!copies->isEnabled());
    layout->setCurrentIndex(1);
    QVERIFY(copies->isEnabled());
    QCOMPARE(copies->value(), 3);
    QTest::keyClick(dialog, Qt::Key_Escape);
    QTRY_VERIFY(!dialog->isVisible());
    QCOMPARE(text1->toPlainText(), sourceBefore);
    QCOMPARE(Child<LongTextBox>(form1(), QStringLiteral("Text2"))->toPlainText(), pinyinBefore);
  }
};

QTEST_MAIN(PrintSheetTest)
#include "print_sheet_test.moc"
