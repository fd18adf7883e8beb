#include "convert/conversion.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "convert/polyphone_rules.h"
#include "convert/tone_mark.h"
#include "convert/typing_hint.h"

namespace kelvaro {
namespace {

template <typename ShortText>
ShortText MakeShortText(std::u16string_view text) {
  ShortText shortText;
  if (text.size() > shortText.units.size()) {
    throw std::length_error("reading too long for the conversion tables");
  }
  std::copy(text.begin(), text.end(), shortText.units.begin());
  shortText.length = static_cast<std::uint8_t>(text.size());
  return shortText;
}

// Appends a short text at out. Copies the whole fixed-size array, which is
// cheaper than a copy of variable length; the buffer has slack for the overhang.
template <typename ShortText>
char16_t* Put(char16_t* out, const ShortText& text) {
  std::memcpy(out, text.units.data(), sizeof text.units);
  return out + text.length;
}

}  // namespace

PinyinConverter::PinyinConverter(const PinyinDictionary& dictionary)
    : index_(std::make_unique<std::array<std::uint16_t, 0x10000>>()) {
  auto prepare = [](std::u16string_view reading) {
    const std::u16string marked = AddToneMark(reading);
    return PreparedReading{MakeShortText<ShortText>(marked),
                           MakeShortText<ShortText>(marked + u" "),
                           MakeShortText<ShortText>(MakeTypingHint(reading) + u" "),
                           static_cast<std::uint8_t>(marked.size() + 3)};
  };
  if (dictionary.ReadingIdCount() >= kRuleFlag) {
    throw std::length_error("too many distinct readings for the conversion index");
  }
  readings_.reserve(dictionary.ReadingIdCount());
  numbered_.reserve(dictionary.ReadingIdCount());
  for (std::size_t id = 0; id < dictionary.ReadingIdCount(); ++id) {
    const auto reading = dictionary.Reading(static_cast<PinyinDictionary::ReadingId>(id));
    readings_.push_back(prepare(reading));
    numbered_.emplace_back(reading);
  }
  readings_[0] = PreparedReading{};  // no reading: every text is empty
  for (const std::u16string_view reading : PolyphoneReadings()) {
    ruleReadings_.push_back(prepare(reading));
  }
  for (std::size_t c = 0; c < index_->size(); ++c) {
    const auto character = static_cast<char16_t>(c);
    std::uint16_t entry = dictionary.ReadingIdOf(character);
    if (entry != 0 && IsPolyphoneRuleCharacter(character)) {
      entry |= kRuleFlag;
    }
    (*index_)[c] = entry;
  }
}

ConversionResult PinyinConverter::Convert(std::u16string_view source, DisplayMode mode) const {
  ConversionResult result;
  Convert(source, mode, result);
  return result;
}

void PinyinConverter::Convert(std::u16string_view source, DisplayMode mode,
                              ConversionResult& result) const {
  switch (mode) {
    case DisplayMode::kReadingOnly:
      return ConvertIn<DisplayMode::kReadingOnly>(source, 0, source.size(), result, nullptr);
    case DisplayMode::kCharacterWithReading:
      return ConvertIn<DisplayMode::kCharacterWithReading>(source, 0, source.size(), result,
                                                           nullptr);
    case DisplayMode::kNone:
      return ConvertIn<DisplayMode::kNone>(source, 0, source.size(), result, nullptr);
  }
}

void PinyinConverter::ConvertStretch(std::u16string_view source, std::size_t from, std::size_t to,
                                     DisplayMode mode, ConversionResult& result,
                                     PieceLengths& lengths) const {
  to = std::min(to, source.size());
  from = std::min(from, to);
  switch (mode) {
    case DisplayMode::kReadingOnly:
      return ConvertIn<DisplayMode::kReadingOnly>(source, from, to, result, &lengths);
    case DisplayMode::kCharacterWithReading:
      return ConvertIn<DisplayMode::kCharacterWithReading>(source, from, to, result, &lengths);
    case DisplayMode::kNone:
      return ConvertIn<DisplayMode::kNone>(source, from, to, result, &lengths);
  }
}

std::vector<std::u16string_view> PinyinConverter::Readings(std::u16string_view source,
                                                           std::size_t from, std::size_t to) const {
  std::vector<std::u16string_view> readings;
  for (const PlacedReading& placed : PlacedReadings(source, from, to)) {
    readings.push_back(placed.reading);
  }
  return readings;
}

std::vector<PinyinConverter::PlacedReading> PinyinConverter::PlacedReadings(
    std::u16string_view source, std::size_t from, std::size_t to) const {
  std::vector<PlacedReading> readings;
  for (std::size_t i = from; i < std::min(to, source.size()); ++i) {
    const char16_t c = source[i];
    const std::uint16_t entry = (*index_)[c];
    if (entry == 0) continue;
    if (entry & kRuleFlag) {
      const int rule = ResolvePolyphoneIndex(c, source, static_cast<std::int32_t>(i + 1));
      if (rule >= 0) {
        readings.push_back({i, PolyphoneReadings()[static_cast<std::size_t>(rule)]});
        continue;
      }
    }
    readings.push_back({i, numbered_[entry & ~kRuleFlag]});
  }
  return readings;
}

std::vector<std::size_t> PinyinConverter::PinyinStarts(std::u16string_view source,
                                                       DisplayMode mode) const {
  std::vector<std::size_t> starts;
  starts.reserve(source.size() + 1);
  std::size_t at = 0;
  for (std::size_t i = 0; i < source.size(); ++i) {
    starts.push_back(at);
    const std::uint16_t entry = (*index_)[source[i]];
    if (entry == 0 || mode == DisplayMode::kNone) continue;
    const PreparedReading* prepared = &readings_[entry & ~kRuleFlag];
    if (entry & kRuleFlag) {
      const int rule = ResolvePolyphoneIndex(source[i], source, static_cast<std::int32_t>(i + 1));
      if (rule >= 0) prepared = &ruleReadings_[static_cast<std::size_t>(rule)];
    }
    at += mode == DisplayMode::kReadingOnly ? prepared->markedSpaced.length
                                            : prepared->marked.length + 3u;  // 中(zhōng)
  }
  starts.push_back(at);
  return starts;
}

template <DisplayMode kMode>
void PinyinConverter::ConvertIn(std::u16string_view source, std::size_t from, std::size_t to,
                                ConversionResult& result, PieceLengths* lengths) const {
  const auto& index = *index_;
  constexpr std::size_t kSlack = 8;
  constexpr std::size_t kMaxPinyinPiece = kLongestSyllable + 3;  // "中(zhuāng)"
  constexpr std::size_t kMaxHintPiece = kLongestSyllable + 1;    // "ZHUANG "

  // First pass: bounds on both lengths. A character without a reading has
  // texts of length 0; one that the polyphone rules name may get any reading.
  std::size_t hintBound = 0;
  std::size_t pinyinBound = 0;
  for (const char16_t c : source.substr(from, to - from)) {
    const std::uint16_t entry = index[c];
    const PreparedReading& prepared = readings_[entry & ~kRuleFlag];
    const bool rule = (entry & kRuleFlag) != 0;
    hintBound += rule ? kMaxHintPiece : prepared.hintSpaced.length;
    pinyinBound += rule ? kMaxPinyinPiece : prepared.pinyinBound;
  }

  // Cleared first, so that resizing writes no old text and keeps the storage.
  result.hints.clear();
  result.pinyin.clear();
  result.hints.resize(hintBound + kSlack);
  result.pinyin.resize(kMode == DisplayMode::kNone ? 0 : pinyinBound + kSlack);
  char16_t* hintOut = result.hints.data();
  char16_t* pinyinOut = result.pinyin.data();
  std::uint8_t* hintLength = nullptr;
  std::uint8_t* pinyinLength = nullptr;
  if (lengths != nullptr) {
    const std::size_t had = lengths->hints.size();
    lengths->hints.resize(had + (to - from));
    lengths->pinyin.resize(had + (to - from));
    hintLength = lengths->hints.data() + had;
    pinyinLength = lengths->pinyin.data() + had;
  }

  for (std::size_t i = from; i < to; ++i) {
    const char16_t c = source[i];
    const std::uint16_t entry = index[c];
    if constexpr (kMode != DisplayMode::kReadingOnly) {
      if (entry == 0) {
        if (lengths != nullptr) *hintLength++ = *pinyinLength++ = 0;
        continue;
      }
    }
    // In reading-only mode a miss copies its empty texts: cheaper than a
    // branch that punctuation makes hard to predict.
    const PreparedReading* prepared = &readings_[entry & ~kRuleFlag];
    if (entry & kRuleFlag) [[unlikely]] {
      const int rule = ResolvePolyphoneIndex(c, source, static_cast<std::int32_t>(i + 1));
      if (rule >= 0) {
        prepared = &ruleReadings_[static_cast<std::size_t>(rule)];
      }
    }
    // The hint types the reading that the pinyin text shows.
    hintOut = Put(hintOut, prepared->hintSpaced);
    char16_t* const pinyinStart = pinyinOut;
    if constexpr (kMode == DisplayMode::kReadingOnly) {
      pinyinOut = Put(pinyinOut, prepared->markedSpaced);
    } else if constexpr (kMode == DisplayMode::kCharacterWithReading) {
      *pinyinOut++ = c;
      *pinyinOut++ = u'(';
      pinyinOut = Put(pinyinOut, prepared->marked);
      *pinyinOut++ = u')';
    }
    if (lengths != nullptr) {
      *hintLength++ = prepared->hintSpaced.length;
      *pinyinLength++ = static_cast<std::uint8_t>(pinyinOut - pinyinStart);
    }
  }
  result.hints.resize(static_cast<std::size_t>(hintOut - result.hints.data()));
  result.pinyin.resize(static_cast<std::size_t>(pinyinOut - result.pinyin.data()));
}

}  // namespace kelvaro
