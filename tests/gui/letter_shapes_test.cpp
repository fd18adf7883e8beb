// The fonts that the windows really use must show a child l, 1 and I as three
// shapes and draw every tone-marked letter themselves.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTest>

#include "app/form1.h"
#include "gui_test_support.h"

using namespace kelvaro;

namespace {

constexpr int kEm = 1000;  // outlines measured at 1000 px, so in thousandths of the em

QPainterPath Outline(const QRawFont& font, QChar c) {
  return font.pathForGlyph(font.glyphIndexesForString(QString(c)).value(0));
}

// How much of two outlines' ink differs once each is scaled to the same box:
// 0 for the same shape.
double ShapeDifference(const QRawFont& font, QChar a, QChar b) {
  auto fill = [&font](QChar c) {
    QPainterPath path = Outline(font, c);
    const QRectF box = path.boundingRect();
    QImage image(100, 200, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(100 / box.width(), 200 / box.height());
    painter.translate(-box.topLeft());
    painter.fillPath(path, Qt::black);
    return image;
  };
  const QImage imageA = fill(a);
  const QImage imageB = fill(b);
  int differ = 0;
  int ink = 0;
  for (int y = 0; y < imageA.height(); ++y) {
    for (int x = 0; x < imageA.width(); ++x) {
      const bool inA = qGray(imageA.pixel(x, y)) < 128;
      const bool inB = qGray(imageB.pixel(x, y)) < 128;
      differ += inA != inB;
      ink += inA || inB;
    }
  }
  return ink == 0 ? 0 : static_cast<double>(differ) / ink;
}

}  // namespace

class LetterShapesTest : public QObject {
  Q_OBJECT

 private slots:
  void distinctLettersAndEveryToneMark_data() {
    QTest::addColumn<QString>("control");
    // The help window's labels (lbl...) are looked up in Form2.
    for (const char* name :
         {"Text1", "Text2", "Text5", "Text4", "List1", "Label6", "lblTitle", "lblVersion"}) {
      QTest::newRow(name) << name;
    }
  }
  void distinctLettersAndEveryToneMark() {
    QFETCH(QString, control);
    MainWindow mainWindow;
    QWidget* window = control.startsWith(QStringLiteral("lbl")) ? TopLevel(QStringLiteral("Form2"))
                                                                : &mainWindow.form;
    QWidget* widget = Child<QWidget>(window, control);
    QVERIFY(widget);
    QRawFont used = QRawFont::fromFont(widget->font());
    QVERIFY(used.isValid());
    used.setPixelSize(kEm);
    const QString family = used.familyName();
    // A font that tells l from 1 and I gives l an ascender above the figure
    // and capital height; AR PL UMing's l stands 1 % higher than its 1, the
    // same shape.
    const double lTop = -Outline(used, u'l').boundingRect().top();
    for (const QChar other : {u'1', u'I'}) {
      const double top = -Outline(used, other).boundingRect().top();
      QVERIFY2(lTop - top >= 0.03 * kEm,
               qPrintable(QStringLiteral("%1: l is not taller than %2").arg(family, other)));
    }
    QVERIFY2(ShapeDifference(used, u'1', u'I') > 0.15, qPrintable(family + ": 1 looks like I"));
    for (const QChar c : QStringLiteral("āáǎàōóǒòēéěèīíǐìūúǔùǖǘǚǜü")) {
      QVERIFY2(used.supportsCharacter(c), qPrintable(family + " lacks " + QString(c)));
    }
  }
};

QTEST_MAIN(LetterShapesTest)
#include "letter_shapes_test.moc"
