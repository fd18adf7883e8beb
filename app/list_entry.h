#pragma once

#include <QString>

class QListWidget;
class QListWidgetItem;

namespace kelvaro {

// Entries longer than this many characters are shown shortened in the word
// list: far more than the list is wide, and few enough to paint at once,
// which an entry of a million characters is not.
inline constexpr qsizetype kShownEntryLength = 100;

// Appends entry to the list, shown shortened with "…" when it is long; the
// item keeps the whole entry.
void AddListEntry(QListWidget& list, const QString& entry);

// The whole entry of an item.
QString WholeEntry(const QListWidgetItem& item);

// True when the item shows its entry shortened.
bool IsShortened(const QListWidgetItem& item);

}  // namespace kelvaro
