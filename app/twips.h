#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <cmath>

#include "app/design_place.h"
#include "keyboard/twips_unit.h"

namespace kelvaro {

// Window coordinates are designed in twips (keyboard/twips_unit.h). This maps
// them to Qt's device-independent pixels at a widget's logical dpi.
class TwipsScale {
 public:
  explicit TwipsScale(double logicalDpi = kDesignDpi)
      : twipsPerPixel_(kTwipsPerInch / logicalDpi) {}
  static TwipsScale Of(const QWidget& widget) { return TwipsScale(widget.logicalDpiX()); }

  int ToPixels(double twips) const { return static_cast<int>(std::lround(twips / twipsPerPixel_)); }
  double ToTwips(int pixels) const { return pixels * twipsPerPixel_; }
  QRect ToPixels(double left, double top, double width, double height) const {
    return {ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height)};
  }
  QPoint ToPixels(double left, double top) const { return {ToPixels(left), ToPixels(top)}; }
  QRect ToPixels(const TwipsRect& place) const {
    return ToPixels(place.left, place.top, place.width, place.height);
  }
  QPoint ToPixels(const TwipsPoint& place) const { return ToPixels(place.left, place.top); }
  QSize ToPixelSize(double width, double height) const {
    return {ToPixels(width), ToPixels(height)};
  }

 private:
  double twipsPerPixel_;
};

}  // namespace kelvaro
