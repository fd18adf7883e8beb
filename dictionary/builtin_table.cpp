#include "dictionary/builtin_table.h"

#include <cstddef>

extern const unsigned char kPinyinTableGbk[];
extern const std::size_t kPinyinTableGbkSize;

namespace kelvaro {

std::string_view BuiltInTableGbk() {
  return {reinterpret_cast<const char*>(kPinyinTableGbk), kPinyinTableGbkSize};
}

}  // namespace kelvaro
