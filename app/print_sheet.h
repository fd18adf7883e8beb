#pragma once

#include <QObject>

#include "app/reading_sheet.h"
#include "convert/conversion.h"

class QWidget;

namespace kelvaro {

class LongTextBox;

// "打印注音…" (Ctrl+P) in the context menus of the source box and the pinyin
// box: a print preview of the source text as a reading sheet, with a choice
// between the ruby layout and the practice grid (and its number of empty
// squares) in the preview's tool bar. Printing or saving a PDF goes through
// Qt's own dialogs; closing the preview changes nothing.
class PrintSheet : public QObject {
  Q_OBJECT

 public:
  // window is the parent and holds the shortcut; the boxes list the action
  // among their own, which their context menus show.
  PrintSheet(const PinyinConverter& converter, LongTextBox& sourceBox, LongTextBox& pinyinBox,
             QWidget& window);

  // Opens the preview of the source box's text, window-modal.
  void OpenPreview();

 private:
  const PinyinConverter& converter_;
  LongTextBox& sourceBox_;
  QWidget& window_;
  SheetChoice choice_;  // kept from one preview to the next
};

}  // namespace kelvaro
