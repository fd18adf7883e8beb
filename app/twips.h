#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <cmath>

namespace kelvaro {

// Window coordinates are designed in twips: 1440 to the logical inch, so
// 15 twips are one pixel at 96 dpi. This is the one place that maps them to
// Qt's device-independent pixels.
class TwipsScale {
 public:
  explicit TwipsScale(double logicalDpi = 96.0) : twipsPerPixel_(1440.0 / logicalDpi) {}
  static TwipsScale Of(const QWidget& widget) { return TwipsScale(widget.logicalDpiX()); }

  int ToPixels(double twips) const { return static_cast<int>(std::lround(twips / twipsPerPixel_)); }
  double ToTwips(int pixels) const { return pixels * twipsPerPixel_; }
  QRect ToPixels(double left, double top, double width, double height) const {
    return {ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height)};
  }
  QPoint ToPixels(double left, double top) const { return {ToPixels(left), ToPixels(top)}; }
  QSize ToPixelSize(double width, double height) const {
    return {ToPixels(width), ToPixels(height)};
  }

 private:
  double twipsPerPixel_;
};

}  // namespace kelvaro
