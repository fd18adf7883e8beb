#include "gui_test_support.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "keyboard/key_markers.h"
#include "wordlist/word_list_file.h"

namespace kelvaro {

ProgramDirectory::ProgramDirectory(const QByteArray* wordListBytes) {
  const QString voice = QStringLiteral(KELVARO_VOICE_PROGRAM_PATH);
  QFile::link(voice, dir_.filePath(QFileInfo(voice).fileName()));
  if (wordListBytes) {
    QFile file(wordListPath());
    if (file.open(QIODevice::WriteOnly)) {
      file.write(*wordListBytes);
    }
  }
}

std::filesystem::path ProgramDirectory::path() const {
  return QFile::encodeName(dir_.path()).toStdString();
}

QString ProgramDirectory::wordListPath() const { return dir_.filePath(WordListFileName()); }

MainWindow::MainWindow(const QByteArray* wordListBytes)
    : directory(wordListBytes), form(directory.path()) {}

bool MainWindow::Show() {
  form.show();
  return QTest::qWaitForWindowExposed(&form);
}

bool MainWindowTest::OpenMainWindow(const QByteArray* wordListBytes) {
  window_.emplace(wordListBytes);
  return window_->Show();
}

QString WordListFileName() {
  return QString::fromUtf8(reinterpret_cast<const char*>(kWordListFileName.data()),
                           static_cast<qsizetype>(kWordListFileName.size()));
}

QWidget* TopLevel(const QString& objectName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == objectName) {
      return widget;
    }
  }
  return nullptr;
}

int CountTopLevels(const QString& objectName) {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    count += widget->objectName() == objectName;
  }
  return count;
}

void Click(QWidget* widget) {
  QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void ClickWindowAt(QWidget* widget) {
  QWidget* window = widget->window();
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                    widget->mapTo(window, widget->rect().center()));
}

QList<int> LitMarkers(QWidget* form1) {
  QList<int> lit;
  for (int i = 0; i < static_cast<int>(kLetterKeyCount); ++i) {
    auto* marker = Child<QWidget>(form1, QStringLiteral("Image2(%1)").arg(i));
    if (marker && !marker->isHidden()) lit << i;
  }
  return lit;
}

}  // namespace kelvaro
