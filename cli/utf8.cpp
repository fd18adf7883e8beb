#include "cli/utf8.h"

namespace kelvaro {
namespace {

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Decodes the one sequence at the start of bytes. Gives its length, 0 when
// bytes end inside a sequence that is valid so far, or -1 when it is invalid.
int DecodeSequence(std::string_view bytes, char32_t& cp) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  std::size_t length;
  char32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return -1;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (k >= bytes.size()) {
      return 0;
    }
    const auto next = static_cast<unsigned char>(bytes[k]);
    if ((next & 0xC0) != 0x80) {
      return -1;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    return -1;
  }
  return static_cast<int>(length);
}

}  // namespace

bool Utf8Decoder::Feed(std::string_view piece, std::u16string& out) {
  if (failed_) {
    return false;
  }
  std::size_t i = 0;
  // First complete the sequence that the previous piece cut.
  while (pendingSize_ > 0 && i < piece.size()) {
    pending_[pendingSize_++] = piece[i++];
    char32_t cp;
    const int length = DecodeSequence({pending_.data(), pendingSize_}, cp);
    if (length < 0) {
      return Fail();
    }
    if (length > 0) {
      AppendCodePoint(out, cp);
      offset_ += pendingSize_;
      pendingSize_ = 0;
    }
  }
  while (i < piece.size()) {
    char32_t cp;
    const int length = DecodeSequence(piece.substr(i), cp);
    if (length < 0) {
      return Fail();
    }
    if (length == 0) {
      pendingSize_ = piece.size() - i;
      piece.copy(pending_.data(), pendingSize_, i);
      return true;
    }
    AppendCodePoint(out, cp);
    i += static_cast<std::size_t>(length);
    offset_ += static_cast<std::size_t>(length);
  }
  return true;
}

bool Utf8Decoder::Finish() { return !failed_ && (pendingSize_ == 0 || Fail()); }

std::variant<std::u16string, Utf8Error> DecodeUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  Utf8Decoder decoder;
  if (!decoder.Feed(bytes, out) || !decoder.Finish()) {
    return decoder.error();
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace kelvaro
