#include "keyboard/key_markers.h"

namespace kelvaro {

std::bitset<kLetterKeyCount> MarkersToLight(std::u16string_view hintText) {
  std::bitset<kLetterKeyCount> lit;
  for (char16_t c : hintText) {
    if (c >= u'A' && c <= u'Z') {
      c = static_cast<char16_t>(c - u'A' + u'a');
    }
    const std::size_t position = kKeyOrder.find(c);
    if (position != std::u16string_view::npos) {
      lit.set(position);
    }
  }
  return lit;
}

}  // namespace kelvaro
