// A text box shows whole lines only. For each font size and box height, at
// the pixel ratio the test runs at (QT_SCALE_FACTOR 1, 1.5 and 2), and
// wherever the box is scrolled to, by the bar, the wheel, the keys, the caret
// or the follow mark: the lowest ink in the viewport is the bottom of a line
// drawn whole, pixel for pixel as that line drawn alone, and so is the top
// ink the top of a whole line; a line drawn alone has all the ink a painter
// gives its text.
#include <QAccessible>
#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

#include "textbox/long_text_box.h"
#include "textbox/tests/text_box_test_support.h"

using kelvaro::LongTextBox;

namespace {

// A plain text edit's margin around its text.
constexpr int kDocumentMargin = 4;

const QString kChinese = QStringLiteral(
    "请把要练习的文字打进或者拷贝到这个文字框里，下面马上就会显示每个字的拼音和打字提示。"
    "“春眠不觉晓，处处闻啼鸟。”（孟浩然）小朋友们在草地上跑步，天上有白云，河边有小鱼游来游去。");
const QString kPinyin = QStringLiteral(
    "qǐng bǎ yào liàn xí de wén zì dǎ jìn huò zhě kǎo bèi dào zhè gè wén zì kuàng lǐ ， "
    "lǜ sè de shù yè zài fēng lǐ yáo dòng ， nǚ ér qù guò yóu lè yuán ， ǚ ǜ ǘ ǖ gěi jǐ yǒu ");
const QString kHints = QStringLiteral(
    "QING BA YAO LIAN XI DE WEN ZI DA JIN HUO ZHE KAO BEI DAO ZHE GE WEN ZI KUANG LI , "
    "LV SE DE SHU YE ZAI FENG LI YAO DONG , NV ER QU GUO YOU LE YUAN , GEI JI YOU ");

// The first and last rows of device pixels with ink: any colour but the
// background.
struct Ink {
  int top = -1;
  int bottom = -1;
};

bool HasInk(const QImage& image, int y, QRgb background) {
  for (int x = 0; x < image.width(); ++x) {
    if (image.pixel(x, y) != background) return true;
  }
  return false;
}

Ink InkRows(const QImage& image, QRgb background) {
  Ink ink;
  for (int y = 0; y < image.height(); ++y) {
    if (!HasInk(image, y, background)) continue;
    if (ink.top < 0) ink.top = y;
    ink.bottom = y;
  }
  return ink;
}

int FirstInkX(const QImage& image, int y, QRgb background) {
  for (int x = 0; x < image.width(); ++x) {
    if (image.pixel(x, y) != background) return x;
  }
  return -1;
}

// A viewport as shown, in device pixels.
QImage Shown(LongTextBox& box) {
  QImage image = box.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  image.setDevicePixelRatio(1);
  return image;
}

// The rows from..to of `alone`, moved down by `shift`, are those of `shown`.
bool SameRows(const QImage& alone, const QImage& shown, int from, int to, int shift) {
  if (from + shift < 0 || to + shift >= shown.height() || alone.width() != shown.width())
    return false;
  for (int y = from; y <= to; ++y) {
    if (std::memcmp(alone.constScanLine(y), shown.constScanLine(y + shift),
                    static_cast<size_t>(alone.bytesPerLine())) != 0)
      return false;
  }
  return true;
}

// The height of the ink of a text drawn by a painter on a baseline of whole
// device pixels, in device pixels.
int PaintedInkHeight(const QString& text, const QFont& font, qreal ratio) {
  const QFontMetricsF metrics(font);
  const qreal width = metrics.horizontalAdvance(text) + 2 * metrics.height();
  QImage image(static_cast<int>(std::ceil(width * ratio)),
               static_cast<int>(std::ceil(3 * metrics.height() * ratio)), QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(metrics.height(), std::round(1.5 * metrics.height() * ratio) / ratio),
                     text);
  }
  image.setDevicePixelRatio(1);
  const Ink ink = InkRows(image, QColor(Qt::white).rgb());
  return ink.bottom - ink.top;
}

using Scroll = std::function<void(LongTextBox&)>;

}  // namespace

class TextBoxWholeLinesTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    // The pixel ratio the run was asked for is the one the boxes have.
    QWidget probe;
    QCOMPARE(probe.devicePixelRatioF(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
  }

  void onlyWholeLinesShow_data() {
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("leastLines");  // whole lines the box must show, besides those
                                          // that fit at the font's own spacing
    QTest::addColumn<Scroll>("scroll");
    struct Box {
      const char* name;
      double pointSize;
      QSize size;
      QString text;
      int leastLines;
    };
    // The source, pinyin and hint boxes of the main window, and others.
    const Box boxes[] = {
        {"source box", 14.25, {577, 57}, kChinese.repeated(6), 2},
        {"pinyin box", 24, {577, 73}, kPinyin.repeated(6), 1},
        {"hint box", 24, {577, 73}, kHints.repeated(6), 1},
        {"two lines and most of a third", 24, {420, 140}, kPinyin.repeated(4), 1},
        {"a tall box", 24, {420, 170}, kPinyin.repeated(4), 1},
        {"a small font", 9, {300, 50}, (kChinese + kPinyin).repeated(3), 1},
        {"the list's font", 12, {400, 90}, (kPinyin + kChinese).repeated(3), 1},
    };
    const auto middle = [](LongTextBox& box) {
      return static_cast<int>(box.toPlainText().size() / 2);
    };
    const std::pair<const char*, Scroll> scrolls[] = {
        {"at the start", [](LongTextBox&) {}},
        {"a line down by the bar",
         [](LongTextBox& box) {
           box.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
         }},
        {"two pages down by the bar",
         [](LongTextBox& box) {
           box.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
           box.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
         }},
        {"at the end by the bar",
         [](LongTextBox& box) {
           box.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
         }},
        {"a wheel notch down",
         [](LongTextBox& box) {
           const QPointF at(10, 10);
           QWheelEvent wheel(at, box.viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton,
                             Qt::NoModifier, Qt::NoScrollPhase, false);
           QApplication::sendEvent(box.viewport(), &wheel);
         }},
        {"Page Down twice",
         [](LongTextBox& box) {
           QTest::keyClick(&box, Qt::Key_PageDown);
           QTest::keyClick(&box, Qt::Key_PageDown);
         }},
        {"Down four times",
         [](LongTextBox& box) {
           for (int i = 0; i < 4; ++i) QTest::keyClick(&box, Qt::Key_Down);
         }},
        {"the caret at the end",
         [](LongTextBox& box) { QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier); }},
        {"the caret in the middle",
         [middle](LongTextBox& box) { box.setCursorPosition(middle(box)); }},
        {"the follow mark in the middle, then gone",
         [middle](LongTextBox& box) {
           box.SetFollowMark(middle(box), middle(box) + 2);
           box.SetFollowMark(0, 0);
         }},
        {"the caret at the end, then a line up by the bar",
         [](LongTextBox& box) {
           QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
           box.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
         }},
    };
    for (const Box& box : boxes) {
      for (const auto& [scrollName, scroll] : scrolls) {
        QTest::addRow("%s %dx%d, %s", box.name, box.size.width(), box.size.height(), scrollName)
            << box.pointSize << box.size << box.text << box.leastLines << scroll;
      }
    }
  }
  void onlyWholeLinesShow() {
    QFETCH(double, pointSize);
    QFETCH(QSize, size);
    QFETCH(QString, text);
    QFETCH(int, leastLines);
    QFETCH(Scroll, scroll);
    const QFont font = kelvaro::SerifCjkFont(pointSize);
    LongTextBox box;
    box.setFocusPolicy(Qt::NoFocus);  // no caret in the pictures
    box.setFont(font);
    box.resize(size);
    box.setPlainText(text);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    scroll(box);
    const QImage shown = Shown(box);
    const QRgb background = box.palette().base().color().rgb();
    const Ink ink = InkRows(shown, background);
    QVERIFY2(ink.bottom >= 0, "nothing shows");

    const qreal ratio = box.devicePixelRatioF();
    QAccessibleTextInterface* accessible =
        QAccessible::queryAccessibleInterface(&box)->textInterface();
    const QList<int> starts = kelvaro::LineStarts(&box);
    // The line under the first ink of a row of device pixels.
    const auto lineAt = [&](int y) {
      const QPoint point(static_cast<int>(FirstInkX(shown, y, background) / ratio),
                         static_cast<int>(y / ratio));
      const int offset = accessible->offsetAtPoint(box.viewport()->mapToGlobal(point));
      return offset < 0 ? -1
                        : static_cast<int>(std::upper_bound(starts.begin(), starts.end(), offset) -
                                           starts.begin()) -
                              1;
    };
    const int topLine = lineAt(ink.top);
    const int bottomLine = lineAt(ink.bottom);
    QVERIFY2(topLine >= 0 && bottomLine >= topLine,
             qPrintable(QStringLiteral("lines %1 to %2").arg(topLine).arg(bottomLine)));

    for (const int line : {topLine, bottomLine}) {
      const int end = line + 1 < starts.size() ? starts[line + 1] : static_cast<int>(text.size());
      QString lineText = text.mid(starts[line], end - starts[line]);
      if (lineText.endsWith(u'\n')) lineText.chop(1);
      LongTextBox alone;
      alone.setFocusPolicy(Qt::NoFocus);
      alone.setFont(font);
      alone.resize(size);
      alone.setPlainText(lineText);
      alone.show();
      QVERIFY(QTest::qWaitForWindowExposed(&alone));
      const QImage drawn = Shown(alone);
      const Ink own = InkRows(drawn, background);
      QVERIFY(own.bottom >= 0);
      // The line alone has all the ink of its text.
      QCOMPARE(own.bottom - own.top, PaintedInkHeight(lineText, font, ratio));
      // It is in the box whole, the top line at the top of the ink, the
      // bottom line at its bottom.
      const int shift = line == topLine ? ink.top - own.top : ink.bottom - own.bottom;
      QVERIFY2(SameRows(drawn, shown, own.top, own.bottom, shift),
               qPrintable(QStringLiteral("line %1 (%2) is not shown whole: its ink, rows %3 to %4 "
                                         "alone, is not rows %5 to %6 of the viewport, %7 high")
                              .arg(line)
                              .arg(lineText.left(12))
                              .arg(own.top)
                              .arg(own.bottom)
                              .arg(own.top + shift)
                              .arg(own.bottom + shift)
                              .arg(shown.height())));
    }

    // As many lines show as fit at the font's own spacing, at least.
    const qreal spacing = std::ceil(QFontMetricsF(font).lineSpacing());
    const int natural = static_cast<int>((box.viewport()->height() - kDocumentMargin) / spacing);
    const int lastLine = static_cast<int>(starts.size()) - 1;
    const int shownLines = bottomLine - topLine + 1;
    QVERIFY2(shownLines >= std::min(std::max(natural, leastLines), lastLine - topLine + 1),
             qPrintable(QStringLiteral("%1 lines show, %2 fit at the font's spacing")
                            .arg(shownLines)
                            .arg(natural)));
  }
};

QTEST_MAIN(TextBoxWholeLinesTest)
#include "text_box_whole_lines_test.moc"
