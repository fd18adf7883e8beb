#include "app/list_entry.h"

#include <QListWidget>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace kelvaro {
namespace {

constexpr int kWholeEntryRole = Qt::UserRole;

// The start of a long entry, cut between two characters as the reader sees
// them (never inside a surrogate pair or before a combining mark), and "…".
QString Shortened(const QString& entry) {
  // A few characters past the cut tell whether the cut falls inside a cluster.
  const QStringView around =
      QStringView(entry).first(std::min(entry.size(), kShownEntryLength + 8));
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, around.data(), around.size());
  finder.setPosition(kShownEntryLength);
  const qsizetype cut = finder.isAtBoundary() ? kShownEntryLength : finder.toPreviousBoundary();
  return entry.first(cut) + QChar(0x2026);
}

}  // namespace

void AddListEntry(QListWidget& list, const QString& entry) {
  if (entry.size() <= kShownEntryLength) {
    list.addItem(entry);
    return;
  }
  auto* item = new QListWidgetItem(Shortened(entry));
  item->setData(kWholeEntryRole, entry);
  list.addItem(item);
}

QString WholeEntry(const QListWidgetItem& item) {
  const QVariant whole = item.data(kWholeEntryRole);
  return whole.isValid() ? whole.toString() : item.text();
}

bool IsShortened(const QListWidgetItem& item) { return item.data(kWholeEntryRole).isValid(); }

}  // namespace kelvaro
