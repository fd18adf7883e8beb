#include "convert/tone_mark.h"

#include <algorithm>
#include <array>

namespace kelvaro {
namespace {

struct CarrierMarks {
  char16_t carrier;
  std::array<char16_t, 4> marked;  // tones 1 to 4
};

// Tested in this order: the first carrier found in the syllable takes the mark.
constexpr std::array<CarrierMarks, 6> kToneMarkTable{{
    {u'a', {u'ā', u'á', u'ǎ', u'à'}},
    {u'o', {u'ō', u'ó', u'ǒ', u'ò'}},
    {u'e', {u'ē', u'é', u'ě', u'è'}},
    {u'i', {u'ī', u'í', u'ǐ', u'ì'}},
    {u'u', {u'ū', u'ú', u'ǔ', u'ù'}},
    {u'ü', {u'ǖ', u'ǘ', u'ǚ', u'ǜ'}},
}};

// The carrier of a syllable body, or 0 when it has none of the six vowels.
char16_t CarrierOf(std::u16string_view body) {
  // Without a, o or e, the final "iu" carries its mark on the u, as taught
  // (jiǔ, liù); "ui" keeps it on the i by the table order (duì).
  if (body.find_first_of(u"aoe") == std::u16string_view::npos &&
      body.find(u"iu") != std::u16string_view::npos) {
    return u'u';
  }
  for (const CarrierMarks& entry : kToneMarkTable) {
    if (body.find(entry.carrier) != std::u16string_view::npos) {
      return entry.carrier;
    }
  }
  return 0;
}

}  // namespace

std::u16string AddToneMark(std::u16string_view reading) {
  if (reading.empty()) {
    return {};
  }
  const char16_t last = reading.back();
  if (last < u'1' || last > u'5') {
    return std::u16string(reading);  // no tone digit: nothing to mark
  }
  std::u16string body(reading.substr(0, reading.size() - 1));
  if (last == u'5') {
    return body;  // the neutral tone has no mark
  }
  const auto tone = static_cast<std::size_t>(last - u'1');
  const char16_t carrier = CarrierOf(body);
  for (const CarrierMarks& entry : kToneMarkTable) {
    if (entry.carrier == carrier) {
      std::replace(body.begin(), body.end(), carrier, entry.marked[tone]);
    }
  }
  return body;
}

std::u16string RemoveToneMark(std::u16string_view syllable) {
  std::u16string reading(syllable);
  for (char16_t& c : reading) {
    for (const CarrierMarks& entry : kToneMarkTable) {
      const auto* mark = std::find(entry.marked.begin(), entry.marked.end(), c);
      if (mark != entry.marked.end()) {
        c = entry.carrier;
        const auto tone = static_cast<char16_t>(u'1' + (mark - entry.marked.begin()));
        return reading + tone;  // a syllable carries one mark
      }
    }
  }
  return reading;
}

}  // namespace kelvaro
