#pragma once

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <filesystem>
#include <optional>

#include "app/form1.h"

namespace kelvaro {

// A program directory of its own, holding the given word-list file bytes
// (none when bytes is null).
class ProgramDirectory {
 public:
  explicit ProgramDirectory(const QByteArray* wordListBytes);
  std::filesystem::path path() const;
  QString wordListPath() const;

 private:
  QTemporaryDir dir_;
};

// The main window over a program directory of its own that holds the given
// word-list bytes (none when null).
struct MainWindow {
  explicit MainWindow(const QByteArray* wordListBytes = nullptr);
  // Shows the window and waits until the window system has put it on the
  // screen; false when it never does.
  [[nodiscard]] bool Show();

  ProgramDirectory directory;
  Form1 form;
};

// The base of a window test whose every test has a main window of its own:
// its init() calls OpenMainWindow and its cleanup() CloseMainWindow.
class MainWindowTest : public QObject {
 protected:
  // Opens the main window (see MainWindow) and shows it; false when it never
  // comes on the screen.
  [[nodiscard]] bool OpenMainWindow(const QByteArray* wordListBytes = nullptr);
  void CloseMainWindow() { window_.reset(); }
  Form1* form1() { return &window_->form; }

 private:
  std::optional<MainWindow> window_;
};

// The name of the word-list file.
QString WordListFileName();

// The top-level window with that object name, or null.
QWidget* TopLevel(const QString& objectName);
// How many top-level widgets with that object name exist.
int CountTopLevels(const QString& objectName);

template <typename T>
T* Child(QWidget* window, const QString& name) {
  return window ? window->findChild<T*>(name) : nullptr;
}

// Clicks the middle of a widget with the left button.
void Click(QWidget* widget);
// Clicks the window at the middle of a widget, as the window system does: the
// click goes to whatever takes mouse events at that point.
void ClickWindowAt(QWidget* widget);

// The indexes of the key markers that are lit, in ascending order.
QList<int> LitMarkers(QWidget* form1);

}  // namespace kelvaro
