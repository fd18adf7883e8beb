#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QRect>
#include <QString>

namespace kelvaro {

// "宋体" at a point size, with the fonts closest to it where it is missing.
QFont SongTiFont(double pointSize);
// "黑体" at a point size, with its fallbacks.
QFont HeiTiFont(double pointSize);

// The window icon, in its 16 and 32 pixel sizes.
QIcon ProgramIcon();

// The red of the windows' titles, captions and the home-page link.
inline const QColor kCaptionRed(255, 0, 0);

void SetTextColour(QWidget& widget, const QColor& colour);
void SetBackground(QWidget& widget, const QColor& colour);

// A label with its object name, text and place.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry);

}  // namespace kelvaro
