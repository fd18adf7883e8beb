// Every caption of both windows shows whole in its fixed size, whatever the
// line spacing of the font that is used.
#include <QLabel>
#include <QTest>

#include "app/form1.h"
#include "gui_test_support.h"

using namespace kelvaro;

namespace {

// How many pixels differ clearly from the background.
int InkOf(const QImage& image, QColor background) {
  int ink = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const int difference =
          std::max({std::abs(c.red() - background.red()), std::abs(c.green() - background.green()),
                    std::abs(c.blue() - background.blue())});
      ink += difference > 100;
    }
  }
  return ink;
}

}  // namespace

class CaptionsTest : public QObject {
  Q_OBJECT

 private slots:
  void everyCaptionShowsWhole_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("label");
    for (const char* name : {"Label6", "Label1", "Label2", "Label5", "Label3", "Label4"}) {
      QTest::newRow(name) << "Form1" << name;
    }
    for (const char* name : {"lblTitle", "lblVersion", "lblDescription", "Label2", "Label3"}) {
      QTest::newRow(qPrintable(QStringLiteral("Form2 ") + name)) << "Form2" << name;
    }
  }
  void everyCaptionShowsWhole() {
    QFETCH(QString, window);
    QFETCH(QString, label);
    MainWindow mainWindow;
    QWidget* parent = window == QStringLiteral("Form1") ? &mainWindow.form : TopLevel(window);
    auto* caption = Child<QLabel>(parent, label);
    QVERIFY(caption);
    const QColor background = caption->palette().color(caption->backgroundRole());
    const int shown = InkOf(caption->grab().toImage(), background);

    // The same caption in a plain label with room to spare below.
    QLabel roomy(caption->text());
    roomy.setFont(caption->font());
    QPalette palette = caption->palette();
    palette.setColor(QPalette::Window, background);
    roomy.setPalette(palette);
    roomy.setAutoFillBackground(true);
    roomy.setWordWrap(caption->wordWrap());
    roomy.setAlignment(caption->alignment());
    roomy.resize(caption->width(), caption->height() + 200);
    const int whole = InkOf(roomy.grab().toImage(), background);

    QVERIFY(whole > 0);
    // Glyphs are drawn on whole pixels, so a caption shown whole has exactly
    // the ink of the roomy one; a cut one has less.
    QVERIFY2(shown == whole,
             qPrintable(QStringLiteral("%1 of %2 ink pixels shown").arg(shown).arg(whole)));
  }
};

QTEST_MAIN(CaptionsTest)
#include "captions_test.moc"
