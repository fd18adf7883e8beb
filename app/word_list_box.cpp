#include "app/word_list_box.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace kelvaro {

WordListBox::WordListBox(QWidget* parent)
    : QListWidget(parent), focusFrame_(new QFocusFrame(parent)) {
  connect(this, &QListWidget::itemSelectionChanged, this, &WordListBox::SelectionChanged);
}

WordListBox::~WordListBox() { delete focusFrame_; }

void WordListBox::SelectionChanged() {
  if (!selectedItems().isEmpty()) {
    emit entryChosen();
  }
}

void WordListBox::focusInEvent(QFocusEvent* event) {
  // Qt makes the first entry current when the list takes the focus; with no
  // entry current, the first arrow key selects the first entry.
  const bool hadCurrent = currentIndex().isValid();
  QListWidget::focusInEvent(event);
  if (!hadCurrent && currentIndex().isValid()) {
    selectionModel()->clearCurrentIndex();
  }
  focusFrame_->setWidget(this);  // shows it around the list
}

void WordListBox::focusOutEvent(QFocusEvent* event) {
  focusFrame_->setWidget(nullptr);  // hides it
  QListWidget::focusOutEvent(event);
}

void WordListBox::mousePressEvent(QMouseEvent* event) {
  const QModelIndex hit = indexAt(event->position().toPoint());
  const bool onSelected =
      event->button() == Qt::LeftButton && hit.isValid() && selectionModel()->isSelected(hit);
  QListWidget::mousePressEvent(event);
  // A press on another entry selects it and so chooses it; one on the entry
  // already selected changes no selection, so it chooses here.
  if (onSelected && selectionModel()->isSelected(hit)) {
    emit entryChosen();
  }
}

}  // namespace kelvaro
