#include "app/control_style.h"

#include <QPalette>

#include "app/caption_label.h"

namespace kelvaro {
namespace {

QFont FontWithFallbacks(const QStringList& families, double pointSize) {
  QFont font;
  font.setFamilies(families);
  font.setPointSizeF(pointSize);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  return font;
}

}  // namespace

// Where the Windows fonts are missing, the Noto CJK fonts come first: they draw
// l, 1 and I as three shapes and have all the tone-marked letters, while AR PL
// UMing draws l exactly like 1.
QFont SongTiFont(double pointSize) {
  return FontWithFallbacks({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                            QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN")},
                           pointSize);
}

QFont HeiTiFont(double pointSize) {
  return FontWithFallbacks(
      {QStringLiteral("黑体"), QStringLiteral("SimHei"), QStringLiteral("Noto Sans CJK SC"),
       QStringLiteral("WenQuanYi Zen Hei")},
      pointSize);
}

// Each file is added at its own size, so that Qt also adds its @2x file at
// twice that size where the screen has more device pixels than logical ones.
QIcon ProgramIcon() {
  QIcon icon(QStringLiteral(":/pictures/icon-16.png"));
  icon.addFile(QStringLiteral(":/pictures/icon-32.png"));
  return icon;
}

void SetTextColour(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, colour);
  widget.setPalette(palette);
}

void SetBackground(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text,
                  const QRect& geometry) {
  auto* label = new CaptionLabel(text, parent);
  label->setObjectName(name);
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);  // a caption longer than its label goes on a second line
  return label;
}

}  // namespace kelvaro
