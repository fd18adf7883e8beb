#pragma once

#include <cstddef>
#include <string_view>

#include "convert/conversion.h"

namespace kelvaro {

// A change of a text: at position, `removed` code units gave way to `added`.
struct TextEdit {
  std::size_t position = 0;
  std::size_t removed = 0;
  std::size_t added = 0;
  bool operator==(const TextEdit&) const = default;
};

// A conversion kept up to date with a source text that is edited a little at
// a time. An edit reconverts only the characters whose readings it may change
// (the polyphone rules look a few characters each way, and at the first few
// positions) and splices their texts into the pinyin and hint texts, so that
// a keystroke in a long text costs about as much as in a short one.
class IncrementalConversion {
 public:
  explicit IncrementalConversion(const PinyinConverter& converter);

  // Converts a whole source.
  void ConvertAll(std::u16string_view source, DisplayMode mode);

  // How the pinyin and the hint text changed.
  struct Changes {
    TextEdit pinyin;
    TextEdit hints;
  };
  // Takes an edit that turned the source converted last into source. An edit
  // that does not fit the source converted last converts all of it.
  Changes Update(std::u16string_view source, TextEdit edit);

  const ConversionResult& Result() const { return result_; }
  DisplayMode Mode() const { return mode_; }

 private:
  const PinyinConverter& converter_;
  DisplayMode mode_ = DisplayMode::kNone;
  ConversionResult result_;
  // How much of each output text each code unit of the source wrote.
  PinyinConverter::PieceLengths lengths_;
  ConversionResult stretch_;  // kept so that its storage is reused
  PinyinConverter::PieceLengths stretchLengths_;
};

}  // namespace kelvaro
