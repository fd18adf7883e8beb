// The main window under an X server and a window manager, as a family sees
// it: the caption the window manager reads, and the place the window comes
// back to after a visit to the help window.
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <cstdlib>
#include <cstring>

#include "app/application_names.h"
#include "app/form1.h"
#include "gui_test_support.h"

using namespace kelvaro;

namespace {

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(const char* name) {
  const auto cookie =
      xcb_intern_atom(Connection(), 0, static_cast<uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(Connection(), cookie, nullptr);
  const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

QByteArray Property(xcb_window_t window, const char* name) {
  const auto cookie =
      xcb_get_property(Connection(), 0, window, Atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(Connection(), cookie, nullptr);
  if (!reply) return {};
  const QByteArray value(static_cast<const char*>(xcb_get_property_value(reply)),
                         xcb_get_property_value_length(reply));
  std::free(reply);
  return value;
}

xcb_window_t RootWindow() {
  return xcb_setup_roots_iterator(xcb_get_setup(Connection())).data->root;
}

}  // namespace

class X11WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) QSKIP("needs an X server");
    SetApplicationNames();
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (openbox.isEmpty()) return;
    windowManager_.start(openbox, {});
    // A running window manager names its check window on the root window.
    QTRY_VERIFY_WITH_TIMEOUT(!Property(RootWindow(), "_NET_SUPPORTING_WM_CHECK").isEmpty(), 10000);
  }
  void cleanupTestCase() {
    if (windowManager_.state() != QProcess::NotRunning) {
      windowManager_.terminate();
      windowManager_.waitForFinished();
    }
  }

  void theWindowManagerReadsExactlyTheCaption() {
    MainWindow window;
    QVERIFY(window.Show());
    QCOMPARE(
        QString::fromUtf8(Property(static_cast<xcb_window_t>(window.form.winId()), "_NET_WM_NAME")),
        QStringLiteral("Kelvaro2.0版"));
  }

  // The user moves and sizes the window with the window manager; after the
  // help window, however it sends the main window back, that is back at the
  // same place and size.
  void theMainWindowComesBackWhereTheUserPutIt_data() {
    QTest::addColumn<QByteArray>("back");  // the help window's slot that sends it back
    QTest::newRow("timer") << QByteArray("Timer1_Timer");
    QTest::newRow("click on the picture") << QByteArray("Image1_Click");
  }
  void theMainWindowComesBackWhereTheUserPutIt() {
    QFETCH(QByteArray, back);
    if (windowManager_.state() != QProcess::Running) QSKIP("needs openbox");
    MainWindow window;
    QVERIFY(window.Show());
    Form1& form = window.form;
    const uint32_t placeAndSize[] = {300, 150, 700, 520};
    xcb_configure_window(Connection(), static_cast<xcb_window_t>(form.winId()),
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         placeAndSize);
    xcb_flush(Connection());
    QTRY_COMPARE(form.size(), QSize(700, 520));
    QTest::qWait(300);
    const QRect placed = form.geometry();
    QWidget* help = TopLevel(QStringLiteral("Form2"));
    QVERIFY(help);
    QVERIFY(QMetaObject::invokeMethod(&form, "Command5_Click"));
    QTRY_VERIFY(help->isVisible());
    QVERIFY(QMetaObject::invokeMethod(help, back.constData()));
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::qWait(300);
    QCOMPARE(form.geometry(), placed);
  }

 private:
  QProcess windowManager_;
};

QTEST_MAIN(X11WindowTest)
#include "x11_window_test.moc"
