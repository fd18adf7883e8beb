#pragma once

#include <QFocusFrame>
#include <QListWidget>
#include <QPointer>

namespace kelvaro {

// The word list. An entry is chosen when it becomes the selected one, by
// mouse, keyboard or code, and when a click falls on the entry already
// selected. Taking the focus chooses nothing; a frame around the list shows
// that it has the focus.
class WordListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit WordListBox(QWidget* parent);
  ~WordListBox() override;

 signals:
  void entryChosen();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void SelectionChanged();

  // Drawn around the list while it has the focus: the style draws no focus
  // for a list with no current entry, and none on an entry's highlight.
  QPointer<QFocusFrame> focusFrame_;  // a child of the list's parent
};

}  // namespace kelvaro
