#include "dictionary/gbk_codec.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace kelvaro {
namespace {

constexpr const char* kUtf16Native =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// Owns one iconv descriptor for the length of one conversion.
class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
  }
  ~IconvHandle() { iconv_close(handle_); }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

}  // namespace

std::u16string DecodeGbk(std::string_view bytes) {
  IconvHandle converter(kUtf16Native, "GBK");
  // Each GBK byte yields at most one UTF-16 code unit.
  std::u16string result(bytes.size(), u'\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* out = reinterpret_cast<char*>(result.data());
  size_t outLeft = result.size() * sizeof(char16_t);
  while (inLeft > 0) {
    if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) {
      break;
    }
    if (errno != EILSEQ && errno != EINVAL) {
      break;  // E2BIG cannot happen: the output holds one unit per byte.
    }
    // An invalid or truncated sequence: one replacement character for its first byte.
    const char16_t replacement = u'\uFFFD';
    std::memcpy(out, &replacement, sizeof replacement);
    out += sizeof replacement;
    outLeft -= sizeof replacement;
    ++in;
    --inLeft;
  }
  result.resize(result.size() - outLeft / sizeof(char16_t));
  return result;
}

std::optional<std::string> EncodeGbk(std::u16string_view text) {
  IconvHandle converter("GBK", kUtf16Native);
  std::string result(text.size() * 2, '\0');
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
  size_t inLeft = text.size() * sizeof(char16_t);
  char* out = result.data();
  size_t outLeft = result.size();
  if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) {
    return std::nullopt;
  }
  result.resize(result.size() - outLeft);
  return result;
}

}  // namespace kelvaro
