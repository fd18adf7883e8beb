#include "convert/typing_hint.h"

namespace kelvaro {

std::u16string MakeTypingHint(std::u16string_view reading) {
  std::u16string hint;
  hint.reserve(reading.size());
  for (const char16_t c : reading) {
    if (c >= u'1' && c <= u'5') {
      continue;  // tone digits are not typed
    }
    if (c == u'ü') {
      hint.push_back(u'V');  // pinyin input methods type ü with the v key
    } else if (c >= u'a' && c <= u'z') {
      hint.push_back(static_cast<char16_t>(c - u'a' + u'A'));
    } else {
      hint.push_back(c);
    }
  }
  return hint;
}

}  // namespace kelvaro
