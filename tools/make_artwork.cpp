// Paints every picture of the program into resources/pictures, each at its
// size in pixels and again at twice that size (name@2x.png) for dense
// screens, plus the scalable desktop icon:
//
//   QT_QPA_PLATFORM=offscreen make-artwork resources/pictures
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <array>
#include <cstdio>
#include <functional>

#include "keyboard/keyboard_drawing.h"

namespace {

using kelvaro::Finger;
using kelvaro::KeyFace;
using kelvaro::kKeyboardPictureHeight;
using kelvaro::kKeyboardPictureWidth;
using kelvaro::kMarkerHeightPixels;
using kelvaro::kMarkerWidthPixels;
using Paint = std::function<void(QPainter&)>;

const QColor kInk(0x2b, 0x36, 0x4a);
// The markers of the keys of the left hand and of the right hand.
const QColor kLeftMarker(255, 0, 0);
const QColor kRightMarker(0, 24, 255);
const QColor kIconBlue(0x1d, 0x70, 0xb8);

// The pictures that only this tool sizes; the keyboard and its markers take
// their sizes from the keyboard library.
constexpr QSize kFingerChartSize(500, 335);
constexpr QSize kBannerSize(342, 50);

QFont SansFont(double pixelSize, int weight = QFont::DemiBold) {
  QFont font;
  font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(1);
  font.setPointSizeF(pixelSize * 0.75);  // 96 dpi: 1 px = 0.75 pt
  font.setWeight(static_cast<QFont::Weight>(weight));
  return font;
}

QColor FingerColour(Finger finger) {
  switch (finger) {
    case Finger::kLeftLittle:
    case Finger::kRightLittle:
      return QColor(0xff, 0xb3, 0xba);
    case Finger::kLeftRing:
    case Finger::kRightRing:
      return QColor(0xff, 0xdf, 0xba);
    case Finger::kLeftMiddle:
    case Finger::kRightMiddle:
      return QColor(0xba, 0xff, 0xc9);
    case Finger::kLeftIndex:
      return QColor(0xba, 0xe1, 0xff);
    case Finger::kRightIndex:
      return QColor(0xd7, 0xc4, 0xff);
    case Finger::kThumb:
      return QColor(0xe6, 0xe6, 0xe6);
  }
  return Qt::white;
}

bool Save(const QString& path, const QImage& image) {
  if (!image.save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

// Paints at 1x and 2x into name.png and name@2x.png.
bool Render(const QDir& dir, const QString& name, QSize size, const Paint& paint) {
  for (const int scale : {1, 2}) {
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    paint(painter);
    painter.end();
    const QString file =
        scale == 1 ? name + QStringLiteral(".png") : name + QStringLiteral("@2x.png");
    if (!Save(dir.filePath(file), image)) return false;
  }
  return true;
}

void PaintKeyboard(QPainter& p, double scale,
                   const std::function<QColor(const KeyFace&)>& keyColour) {
  p.save();
  p.scale(scale, scale);
  p.setPen(QPen(QColor(0x8a, 0x9b, 0xb8), 1.5));
  p.setBrush(QColor(0xdd, 0xe6, 0xf3));
  p.drawRoundedRect(QRectF(0.75, 0.75, kKeyboardPictureWidth - 1.5, kKeyboardPictureHeight - 1.5),
                    10, 10);
  for (const KeyFace& key : kelvaro::KeyboardFaces()) {
    const QRectF face(key.x, key.y, key.width, key.height);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9a, 0xa8, 0xc0));
    p.drawRoundedRect(face.translated(0, 1.5), 5, 5);
    p.setPen(QPen(QColor(0xa8, 0xb4, 0xc8), 1));
    p.setBrush(keyColour(key));
    p.drawRoundedRect(face, 5, 5);
    p.setPen(kInk);
    const QString label = QString::fromStdU16String(std::u16string(key.label));
    if (key.markerIndex >= 0) {
      p.setFont(SansFont(17, QFont::Bold));
      p.drawText(face.adjusted(0, 1, 0, -12), Qt::AlignCenter, label.toUpper());
    } else {
      p.setFont(SansFont(label.size() > 1 ? 9.5 : 13, QFont::Medium));
      p.drawText(face.adjusted(4, 2, -4, -2),
                 label.size() > 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter, label);
    }
  }
  p.restore();
}

// A triangle pointing up, as wide and high as the picture.
void PaintMarker(QPainter& p, const QColor& colour) {
  QPainterPath triangle;
  triangle.moveTo(kMarkerWidthPixels / 2.0, 0);
  triangle.lineTo(kMarkerWidthPixels, kMarkerHeightPixels);
  triangle.lineTo(0, kMarkerHeightPixels);
  triangle.closeSubpath();
  p.fillPath(triangle, colour);
}

// An outlined hand, fingers up; mirrored gives the right hand. Fingertips
// take the colour of the finger, little finger first from the outside.
void PaintHand(QPainter& p, QPointF origin, bool right) {
  p.save();
  p.translate(origin);
  if (right) p.scale(-1, 1);
  struct FingerShape {
    double x, height, width;
    Finger finger;
  };
  const std::array<FingerShape, 4> fingers{{{-58, 46, 18, Finger::kLeftLittle},
                                            {-38, 60, 19, Finger::kLeftRing},
                                            {-17, 66, 20, Finger::kLeftMiddle},
                                            {5, 58, 20, Finger::kLeftIndex}}};
  QPainterPath hand;
  hand.setFillRule(Qt::WindingFill);
  hand.addRoundedRect(QRectF(-62, -8, 90, 62), 22, 22);
  for (const FingerShape& f : fingers)
    hand.addRoundedRect(QRectF(f.x, -f.height, f.width, f.height + 12), 9, 9);
  QPainterPath thumb;
  thumb.addRoundedRect(QRectF(-9, -11, 19, 50), 9, 9);
  QTransform tilt;
  tilt.translate(38, 30);
  tilt.rotate(-55);
  hand = hand.united(tilt.map(thumb)).simplified();
  p.setPen(QPen(kInk, 1.6));
  p.setBrush(QColor(0xff, 0xf4, 0xe6));
  p.drawPath(hand);
  p.setPen(Qt::NoPen);
  for (const FingerShape& f : fingers) {
    Finger finger = f.finger;
    if (right)
      finger =
          static_cast<Finger>(static_cast<int>(Finger::kRightLittle) - static_cast<int>(f.finger));
    p.setBrush(FingerColour(finger));
    p.drawEllipse(QRectF(f.x + 3, -f.height + 3, f.width - 6, f.width - 6));
  }
  p.setBrush(FingerColour(Finger::kThumb).darker(115));
  p.drawEllipse(tilt.map(QPointF(0, 26)), 6, 6);
  p.restore();
}

void PaintFingerChart(QPainter& p) {
  p.setPen(QPen(QColor(0xd8, 0xc8, 0x80), 1));
  p.setBrush(QColor(255, 255, 235));
  p.drawRoundedRect(QRectF(0.5, 0.5, kFingerChartSize.width() - 1, kFingerChartSize.height() - 1),
                    12, 12);
  const double scale = 480.0 / kKeyboardPictureWidth;
  p.save();
  p.translate(10, 26);
  PaintKeyboard(p, scale, [](const KeyFace& key) { return FingerColour(key.finger); });
  p.restore();
  struct Name {
    const char16_t* text;
    double x;
    Finger finger;
  };
  const std::array<Name, 8> names{{{u"左小指", 38, Finger::kLeftLittle},
                                   {u"左无名指", 96, Finger::kLeftRing},
                                   {u"左中指", 154, Finger::kLeftMiddle},
                                   {u"左食指", 212, Finger::kLeftIndex},
                                   {u"右食指", 288, Finger::kRightIndex},
                                   {u"右中指", 346, Finger::kRightMiddle},
                                   {u"右无名指", 404, Finger::kRightRing},
                                   {u"右小指", 462, Finger::kRightLittle}}};
  p.setFont(SansFont(11, QFont::Bold));
  for (const Name& name : names) {
    const QRectF box(name.x - 28, 4, 56, 18);
    p.setPen(Qt::NoPen);
    p.setBrush(FingerColour(name.finger));
    p.drawRoundedRect(box.adjusted(3, 0, -3, 0), 8, 8);
    p.setPen(kInk);
    p.drawText(box, Qt::AlignCenter, QString::fromUtf16(name.text));
  }
  p.setFont(SansFont(12, QFont::Bold));
  p.drawText(QRectF(190, 158, 120, 20), Qt::AlignCenter, QStringLiteral("拇指"));
  PaintHand(p, QPointF(150, 262), false);
  PaintHand(p, QPointF(350, 262), true);
}

void PaintBanner(QPainter& p) {
  const double width = kBannerSize.width();
  QLinearGradient sky(0, 0, width, kBannerSize.height());
  sky.setColorAt(0, QColor(0xff, 0xe0, 0x8a));
  sky.setColorAt(1, QColor(0xa8, 0xe6, 0xff));
  p.setPen(Qt::NoPen);
  p.setBrush(sky);
  p.drawRoundedRect(QRectF(QPointF(0, 0), kBannerSize), 10, 10);
  const std::array<QColor, 7> colours{QColor(0xe6, 0x39, 0x46), QColor(0xf7, 0x7f, 0x00),
                                      QColor(0x2a, 0x9d, 0x8f), QColor(0x1d, 0x70, 0xb8),
                                      QColor(0x8e, 0x44, 0xad), QColor(0xe6, 0x39, 0x46),
                                      QColor(0x2a, 0x9d, 0x8f)};
  const QString name = QStringLiteral("Kelvaro");
  p.setFont(SansFont(30, QFont::Black));
  double x = 12;
  for (int i = 0; i < name.size(); ++i) {
    const QFontMetricsF metrics(p.font());
    p.setPen(colours[static_cast<std::size_t>(i)]);
    p.drawText(QPointF(x, 36 + (i % 2 ? -2 : 2)), name.at(i));
    x += metrics.horizontalAdvance(name.at(i)) + 1;
  }
  p.setPen(kInk);
  p.setFont(SansFont(15, QFont::Bold));
  p.drawText(QRectF(x + 8, 4, width - x - 14, 24), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("拼音打字小帮手"));
  p.setFont(SansFont(11, QFont::Medium));
  p.drawText(QRectF(x + 8, 26, width - x - 14, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("pīn yīn dǎ zì"));
}

// The icon: a key with the letter K and a red marker under it.
void PaintIcon(QPainter& p, double size) {
  p.scale(size / 32.0, size / 32.0);
  p.setPen(Qt::NoPen);
  p.setBrush(kIconBlue);
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 7, 7);
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(5, 4, 22, 21), 4, 4);
  p.setPen(kIconBlue);
  p.setFont(SansFont(17, QFont::Black));
  p.drawText(QRectF(5, 3, 22, 20), Qt::AlignCenter, QStringLiteral("K"));
  QPainterPath marker;
  marker.moveTo(16, 21.5);
  marker.lineTo(21, 28);
  marker.lineTo(11, 28);
  marker.closeSubpath();
  p.fillPath(marker, kLeftMarker);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-artwork OUTPUT_DIRECTORY\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  const QSize markerSize(kMarkerWidthPixels, kMarkerHeightPixels);
  bool ok = Render(
      dir, QStringLiteral("keyboard"), {kKeyboardPictureWidth, kKeyboardPictureHeight},
      [](QPainter& p) { PaintKeyboard(p, 1.0, [](const KeyFace&) { return QColor(Qt::white); }); });
  ok = ok && Render(dir, QStringLiteral("marker-red"), markerSize,
                    [](QPainter& p) { PaintMarker(p, kLeftMarker); });
  ok = ok && Render(dir, QStringLiteral("marker-blue"), markerSize,
                    [](QPainter& p) { PaintMarker(p, kRightMarker); });
  ok = ok && Render(dir, QStringLiteral("finger-chart"), kFingerChartSize, PaintFingerChart);
  ok = ok && Render(dir, QStringLiteral("banner"), kBannerSize, PaintBanner);
  for (const int size : {16, 32}) {
    ok = ok && Render(dir, QStringLiteral("icon-%1").arg(size), {size, size},
                      [size](QPainter& p) { PaintIcon(p, size); });
  }
  QSvgGenerator svg;
  svg.setFileName(dir.filePath(QStringLiteral("kelvaro.svg")));
  svg.setSize({32, 32});
  svg.setViewBox(QRect(0, 0, 32, 32));
  svg.setTitle(QStringLiteral("Kelvaro"));
  QPainter painter(&svg);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintIcon(painter, 32);
  painter.end();
  return ok ? 0 : 1;
}
