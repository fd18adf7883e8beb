// The windows on a screen with more device pixels than logical ones (run with
// QT_SCALE_FACTOR set): every picture keeps its logical size and is drawn from
// its @2x file, pixel for pixel at 2x and scaled down from it in between.
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QTest>

#include "app/form1.h"
#include "gui_test_support.h"

using namespace kelvaro;

namespace {

// A picture file in its own pixels.
QImage PictureFile(const QString& name) {
  QImage image = QImage(QStringLiteral(":/pictures/%1.png").arg(name))
                     .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(1);
  return image;
}

// A grabbed widget in device pixels.
QImage DeviceImage(const QPixmap& grabbed) {
  QImage image = grabbed.toImage().convertToFormat(QImage::Format_RGB32);
  image.setDevicePixelRatio(1);
  return image;
}

// The picture laid over the control's background, at the given device size.
QImage OnBackground(const QImage& picture, const QColor& background, const QSize& size) {
  QImage out(size, QImage::Format_RGB32);
  out.fill(background);
  QPainter painter(&out);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(out.rect(), picture.size() == size ? picture
                                                       : picture.scaled(size, Qt::IgnoreAspectRatio,
                                                                        Qt::SmoothTransformation));
  return out;
}

// The sum of the squared differences of all colour channels.
double Distance(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      sum += (p.red() - q.red()) * (p.red() - q.red()) +
             (p.green() - q.green()) * (p.green() - q.green()) +
             (p.blue() - q.blue()) * (p.blue() - q.blue());
    }
  }
  return sum;
}

}  // namespace

class HighDensityTest : public MainWindowTest {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(OpenMainWindow());
    QVERIFY2(form1()->devicePixelRatio() > 1, "run with QT_SCALE_FACTOR above 1");
  }
  void cleanup() { CloseMainWindow(); }

  void picturesAreDrawnFromTheirDenseFiles_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("picture");
    const auto addRow = [](const char* row, const char* window, const char* control,
                           const char* picture) {
      QTest::newRow(row) << QString(window) << QString(control) << QString(picture);
    };
    addRow("banner", "Form1", "Image1", "banner");
    addRow("keyboard", "Form1", "Image3", "keyboard");
    addRow("red marker", "Form1", "Image2(0)", "marker-red");
    addRow("blue marker", "Form1", "Image2(25)", "marker-blue");
    addRow("finger chart", "Form2", "Image1", "finger-chart");
  }
  void picturesAreDrawnFromTheirDenseFiles() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, picture);
    QWidget* shownIn = TopLevel(window);
    QVERIFY(shownIn);
    if (shownIn != form1()) {
      shownIn->show();
      QVERIFY(QTest::qWaitForWindowExposed(shownIn));
    }
    auto* widget = Child<QWidget>(shownIn, control);
    QVERIFY(widget);
    widget->show();  // a marker is lit
    const QImage sparse = PictureFile(picture);
    const QImage dense = PictureFile(picture + QStringLiteral("@2x"));
    QCOMPARE(widget->size(), sparse.size());

    const QImage shown = DeviceImage(widget->grab());
    const qreal ratio = widget->devicePixelRatio();
    QCOMPARE(shown.size(), (QSizeF(sparse.size()) * ratio).toSize());
    const QColor background = widget->palette().color(QPalette::Window);
    const QImage fromDense = OnBackground(dense, background, shown.size());
    if (ratio == 2) {
      QCOMPARE(shown, fromDense);
    } else {
      const QImage fromSparse = OnBackground(sparse, background, shown.size());
      QVERIFY2(Distance(shown, fromDense) < Distance(shown, fromSparse),
               "the picture is the 1x file enlarged");
    }
  }

  // The keyboard as a whole, with lit markers above it: apart from the
  // markers, it is the @2x picture pixel for pixel.
  void theKeyboardWithLitMarkersAtTwiceTheDensity() {
    if (form1()->devicePixelRatio() != 2) QSKIP("pixel for pixel only at 2x");
    Child<QListWidget>(form1(), "List1")->addItem(QStringLiteral("中国"));
    Child<QListWidget>(form1(), "List1")->setCurrentRow(0);
    QCOMPARE(LitMarkers(form1()).size(), 6);
    form1()->resize(1000, 760);  // larger than the small offscreen screen
    auto* keyboard = Child<QWidget>(form1(), "Image3");
    const QImage window = DeviceImage(form1()->grab());
    const QRect region(keyboard->pos() * 2, keyboard->size() * 2);
    QImage shown = window.copy(region);
    QImage expected = OnBackground(PictureFile(QStringLiteral("keyboard@2x")),
                                   form1()->palette().color(QPalette::Window), region.size());
    for (int lit : LitMarkers(form1())) {
      auto* marker = Child<QWidget>(form1(), QStringLiteral("Image2(%1)").arg(lit));
      const QRect markerRegion(marker->pos() * 2 - region.topLeft(), marker->size() * 2);
      QVERIFY2(shown.copy(markerRegion) != expected.copy(markerRegion),
               qPrintable(marker->objectName() + QStringLiteral(" does not show")));
      for (QImage* image : {&shown, &expected}) {
        QPainter(image).fillRect(markerRegion, Qt::black);
      }
    }
    QCOMPARE(shown, expected);
  }

  void theWindowIconHasItsDenseSizes_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("16 px") << 16;
    QTest::newRow("32 px") << 32;
  }
  void theWindowIconHasItsDenseSizes() {
    QFETCH(int, size);
    QImage shown = form1()->windowIcon().pixmap(QSize(size, size), 2.0).toImage();
    shown.setDevicePixelRatio(1);
    QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
             PictureFile(QStringLiteral("icon-%1@2x").arg(size)));
  }
};

QTEST_MAIN(HighDensityTest)
#include "high_density_test.moc"
