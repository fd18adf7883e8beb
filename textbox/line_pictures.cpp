#include "textbox/line_pictures.h"

#include <algorithm>

namespace kelvaro {

void LinePictures::BeginPaint(QSize lineSize, qreal pixelRatio, QPalette::ColorGroup colours) {
  if (lineSize != lineSize_ || pixelRatio != pixelRatio_ || colours != colours_) Clear();
  lineSize_ = lineSize;
  pixelRatio_ = pixelRatio;
  colours_ = colours;
}

const LinePictures::Picture& LinePictures::Get(const Line& line,
                                               const std::function<Picture()>& make) {
  const auto kept = std::find_if(previous_.begin(), previous_.end(), [&](const auto& picture) {
    return picture && picture->line == line;
  });
  if (kept != previous_.end()) {
    current_.push_back(std::move(*kept));
  } else {
    current_.push_back(std::make_unique<Picture>(make()));
    current_.back()->line = line;
  }
  return *current_.back();
}

void LinePictures::EndPaint() {
  previous_ = std::move(current_);
  current_.clear();
}

void LinePictures::Clear() {
  previous_.clear();
  current_.clear();
}

}  // namespace kelvaro
