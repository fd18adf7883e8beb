#pragma once

#include <QString>

#include "convert/conversion.h"

class QPagedPaintDevice;

namespace kelvaro {

// The two layouts of a printed reading sheet.
enum class SheetLayout {
  kRuby,  // the text as it stands, each reading centred above its character
  kGrid,  // each character in a 田字格 square under its pinyin on a 四线三格 staff
};

struct SheetChoice {
  SheetLayout layout = SheetLayout::kRuby;
  int copies = 3;  // empty squares after each character of the grid
};

// Paints source as a reading sheet on the pages of device (a printer or a
// PDF writer), in the device's page layout, each page numbered at its foot.
// The readings are the converter's for the whole text, as the pinyin box
// shows them; the text is vector text in the program's fonts.
void PaintReadingSheet(QPagedPaintDevice& device, const PinyinConverter& converter,
                       const QString& source, const SheetChoice& choice);

}  // namespace kelvaro
