// The edit menu of a LongTextBox: the same entries, texts, shortcuts and
// states as a plain text edit's, in the translation that Qt has for them.
#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QMenu>
#include <QMimeData>
#include <QStyleHints>

#include "textbox/long_text_box_private.h"

namespace kelvaro {
namespace {

// Qt translates a text box's menu under this context.
QString Translated(const char* text) {
  return QCoreApplication::translate("QWidgetTextControl", text);
}

QString ShortcutText(QKeySequence::StandardKey key) {
  if (key == QKeySequence::UnknownKey ||
      !QGuiApplication::styleHints()->showShortcutsInContextMenus() ||
      QCoreApplication::testAttribute(Qt::AA_DontShowShortcutsInContextMenus))
    return QString();
  return u'\t' + QKeySequence(key).toString(QKeySequence::NativeText);
}

template <typename Slot>
void AddEntry(QMenu* menu, const char* text, QKeySequence::StandardKey key, const QString& name,
              bool enabled, Slot slot) {
  QAction* action = menu->addAction(Translated(text) + ShortcutText(key));
  QObject::connect(action, &QAction::triggered, menu->parentWidget(), slot);
  action->setEnabled(enabled);
  action->setObjectName(name);
  const QIcon icon = QIcon::fromTheme(name);
  if (!icon.isNull()) action->setIcon(icon);
}

}  // namespace

QMenu* LongTextBoxPrivate::createStandardContextMenu() {
  auto* menu = new QMenu(box_);
  menu->setObjectName(QStringLiteral("qt_edit_menu"));
  const bool selected = cursor_ != anchor_;
  const bool undoable = history_.IsUndoAvailable();
  const bool redoable = history_.IsRedoAvailable();
  const QMimeData* clipboard = QApplication::clipboard()->mimeData();
  const bool pastable =
      clipboard != nullptr && clipboard->hasText() && !clipboard->text().isEmpty();
  AddEntry(menu, "&Undo", QKeySequence::Undo, QStringLiteral("edit-undo"), undoable,
           [this] { undo(); });
  AddEntry(menu, "&Redo", QKeySequence::Redo, QStringLiteral("edit-redo"), redoable,
           [this] { redo(); });
  menu->addSeparator();
  AddEntry(menu, "Cu&t", QKeySequence::Cut, QStringLiteral("edit-cut"), selected,
           [this] { cut(); });
  AddEntry(menu, "&Copy", QKeySequence::Copy, QStringLiteral("edit-copy"), selected,
           [this] { copy(); });
  AddEntry(menu, "&Paste", QKeySequence::Paste, QStringLiteral("edit-paste"), pastable,
           [this] { paste(); });
  AddEntry(menu, "Delete", QKeySequence::UnknownKey, QStringLiteral("edit-delete"), selected,
           [this] { DeleteSelection(); });
  menu->addSeparator();
  AddEntry(menu, "Select All", QKeySequence::SelectAll, QStringLiteral("select-all"),
           !text_.isEmpty(), [this] { selectAll(); });
  return menu;
}

}  // namespace kelvaro
