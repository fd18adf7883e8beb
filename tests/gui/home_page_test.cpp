// Where the links of the main window find the home page: in the build tree,
// and in an installed layout made in a temporary folder.
#include "app/home_page.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>

using namespace kelvaro;

class HomePageTest : public QObject {
  Q_OBJECT

 private slots:
  void theBuildTreeHasThePage() {
    const QUrl address(HomePageAddress(KELVARO_PROGRAM_DIR));
    QVERIFY(address.isLocalFile());
    QCOMPARE(QDir::cleanPath(address.toLocalFile()),
             QDir::cleanPath(QStringLiteral(KELVARO_PROGRAM_DIR "/../share/kelvaro/index.html")));
    QVERIFY(QFile::exists(address.toLocalFile()));
  }

  void theInstalledProgramFindsItsPage_data() {
    QTest::addColumn<bool>("installed");
    QTest::newRow("page installed") << true;
    QTest::newRow("page missing") << false;
  }
  void theInstalledProgramFindsItsPage() {
    QFETCH(bool, installed);
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("lib/kelvaro")));
    const QString page = prefix.filePath(QStringLiteral("share/kelvaro/index.html"));
    if (installed) {
      QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/kelvaro")));
      QFile file(page);
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // Missing, the address still names the installed place: opening it
    // fails quietly, as a link to a missing page does.
    const QUrl address(
        HomePageAddress(prefix.filePath(QStringLiteral("lib/kelvaro")).toStdString()));
    QCOMPARE(address.toLocalFile(), page);
  }

  void anAddressWithChineseInItsPathStaysAFileAddress() {
    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("用户/lib/kelvaro"));
    QVERIFY(QDir().mkpath(program));
    const QUrl address(HomePageAddress(program.toStdString()));
    QCOMPARE(address.toLocalFile(), root.filePath(QStringLiteral("用户/share/kelvaro/index.html")));
  }

  // A folder named in GBK bytes (中文), as unzip leaves one made on Windows:
  // the address must name exactly those bytes, or the browser finds nothing.
  void aFolderNamedInGbkBytesKeepsItsBytes() {
    QTemporaryDir root;
    const std::string gbkFolder = root.path().toStdString() + "/\xD6\xD0\xCE\xC4";
    std::filesystem::create_directories(gbkFolder + "/lib/kelvaro");
    std::filesystem::create_directories(gbkFolder + "/share/kelvaro");
    const std::string page = gbkFolder + "/share/kelvaro/index.html";
    std::ofstream(page) << "<html></html>";
    const QUrl address(HomePageAddress(gbkFolder + "/lib/kelvaro"));
    QVERIFY(address.isValid());
    QCOMPARE(address.scheme(), QStringLiteral("file"));
    const QByteArray bytes =
        QByteArray::fromPercentEncoding(address.path(QUrl::FullyEncoded).toLatin1());
    QCOMPARE(bytes.toStdString(), page);
  }
};

QTEST_GUILESS_MAIN(HomePageTest)
#include "home_page_test.moc"
