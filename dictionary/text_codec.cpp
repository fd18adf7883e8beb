#include "dictionary/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <stdexcept>

namespace kelvaro {
namespace {

constexpr const char* kUtf16Native =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

// Owns one iconv conversion descriptor.
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

// Converts all of input into out, which has room for the longest result. An
// invalid or truncated sequence becomes replacement, and conversion goes on
// after its first skip bytes. Gives the number of bytes written.
std::size_t ConvertReplacing(iconv_t converter, std::string_view input, char* out,
                             std::size_t outSize, std::string_view replacement, std::size_t skip) {
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  std::size_t outLeft = outSize;
  while (inLeft > 0) {
    if (iconv(converter, &in, &inLeft, &out, &outLeft) != kFailed) {
      break;
    }
    if (errno != EILSEQ && errno != EINVAL) {
      break;  // E2BIG cannot happen: the caller's output has room for all
    }
    replacement.copy(out, replacement.size());
    out += replacement.size();
    outLeft -= replacement.size();
    const std::size_t skipped = std::min(skip, inLeft);
    in += skipped;
    inLeft -= skipped;
  }
  return outSize - outLeft;
}

}  // namespace

std::u16string DecodeGbk(std::string_view bytes) {
  IconvHandle converter(kUtf16Native, "GBK");
  // Each GBK byte yields at most one UTF-16 code unit.
  std::u16string result(bytes.size(), u'\0');
  const char16_t replacement = u'\uFFFD';
  const std::size_t written =
      ConvertReplacing(converter.get(), bytes, reinterpret_cast<char*>(result.data()),
                       result.size() * sizeof(char16_t),
                       {reinterpret_cast<const char*>(&replacement), sizeof replacement}, 1);
  result.resize(written / sizeof(char16_t));
  return result;
}

std::optional<std::string> EncodeGbk(std::u16string_view text) {
  IconvHandle converter("GBK", kUtf16Native);
  std::string result(text.size() * 2, '\0');
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
  std::size_t inLeft = text.size() * sizeof(char16_t);
  char* out = result.data();
  std::size_t outLeft = result.size();
  if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) == kFailed) {
    return std::nullopt;
  }
  result.resize(result.size() - outLeft);
  return result;
}

class Utf8Decoder::Converter : public IconvHandle {
 public:
  Converter() : IconvHandle(kUtf16Native, "UTF-8") {}
};

Utf8Decoder::Utf8Decoder() : converter_(std::make_unique<Converter>()) {}

Utf8Decoder::~Utf8Decoder() = default;

bool Utf8Decoder::Feed(std::string_view piece, std::u16string& out) {
  if (failed_) {
    return false;
  }
  // A sequence that the previous piece cut goes on in this one.
  std::string_view input = piece;
  if (!pending_.empty()) {
    pending_.append(piece);
    input = pending_;
  }
  // Each UTF-8 byte yields at most one UTF-16 code unit.
  const std::size_t start = out.size();
  out.resize(start + input.size());
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char* written = reinterpret_cast<char*>(out.data() + start);
  std::size_t outLeft = input.size() * sizeof(char16_t);
  const bool whole = iconv(converter_->get(), &in, &inLeft, &written, &outLeft) != kFailed;
  const int error = errno;
  out.resize(out.size() - outLeft / sizeof(char16_t));
  offset_ += input.size() - inLeft;
  if (whole) {
    pending_.clear();
    return true;
  }
  if (error == EINVAL) {
    pending_ = std::string(in, inLeft);  // the input ends inside a sequence
    return true;
  }
  return Fail();
}

bool Utf8Decoder::Finish() { return !failed_ && (pending_.empty() || Fail()); }

std::variant<std::u16string, Utf8Error> DecodeUtf8(std::string_view bytes) {
  std::u16string out;
  Utf8Decoder decoder;
  if (!decoder.Feed(bytes, out) || !decoder.Finish()) {
    return decoder.error();
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view text) {
  IconvHandle converter("UTF-8", kUtf16Native);
  // A code unit takes at most three bytes; a surrogate pair takes four.
  std::string result(text.size() * 3, '\0');
  const std::size_t written = ConvertReplacing(
      converter.get(), {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)},
      result.data(), result.size(), "\xEF\xBF\xBD", sizeof(char16_t));
  result.resize(written);
  return result;
}

}  // namespace kelvaro
