// The main window under an X server, as a family sees it: the caption the
// window manager reads.
#include <xcb/xcb.h>

#include <QGuiApplication>
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

}  // namespace

class X11WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) QSKIP("needs an X server");
    SetApplicationNames();
  }

  void theWindowManagerReadsExactlyTheCaption() {
    ProgramDirectory dir(nullptr);
    Form1 form(dir.path());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(QString::fromUtf8(Property(static_cast<xcb_window_t>(form.winId()), "_NET_WM_NAME")),
             QStringLiteral("Kelvaro2.0版"));
  }
};

QTEST_MAIN(X11WindowTest)
#include "x11_window_test.moc"
