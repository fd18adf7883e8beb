#pragma once

#include <QListWidget>

namespace kelvaro {

// The word list. An entry is chosen when it becomes the selected one, by
// mouse, keyboard or code, and when a click falls on the entry already
// selected. Taking the focus chooses nothing.
class WordListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit WordListBox(QWidget* parent);

 signals:
  void entryChosen();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void SelectionChanged();
};

}  // namespace kelvaro
