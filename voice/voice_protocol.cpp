#include "voice/voice_protocol.h"

#include <charconv>
#include <vector>

namespace kelvaro {
namespace {

// The fields of a line between single spaces; an extra space makes an empty
// field, which no message has.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t space = line.find(' ');
    fields.push_back(line.substr(0, space));
    if (space == std::string_view::npos) return fields;
    line.remove_prefix(space + 1);
  }
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view field) {
  Number value{};
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size() || field.empty()) {
    return std::nullopt;
  }
  return value;
}

// A request's text may be long, but not without bound.
constexpr std::size_t kMaxTextLength = 64 << 20;

}  // namespace

std::string SpeakRequest(std::uint64_t id, std::string_view text) {
  std::string request = "speak " + std::to_string(id) + " " + std::to_string(text.size()) + "\n";
  request += text;
  return request;
}

std::string ReplyLine(const VoiceReply& reply) {
  switch (reply.kind) {
    case VoiceReply::Kind::kStarted:
      return "started " + std::to_string(reply.id) + "\n";
    case VoiceReply::Kind::kWord:
      return "word " + std::to_string(reply.id) + " " + std::to_string(reply.offset) + "\n";
    case VoiceReply::Kind::kEnd:
      break;
  }
  return "end " + std::to_string(reply.id) + "\n";
}

std::optional<VoiceReply> ParseReply(std::string_view line) {
  const auto fields = Fields(line);
  if (fields.size() < 2) return std::nullopt;
  const auto id = ParseNumber<std::uint64_t>(fields[1]);
  if (!id) return std::nullopt;
  if (fields.size() == 2 && fields[0] == "started") {
    return VoiceReply{VoiceReply::Kind::kStarted, *id, 0};
  }
  if (fields.size() == 2 && fields[0] == "end") return VoiceReply{VoiceReply::Kind::kEnd, *id, 0};
  if (fields.size() == 3 && fields[0] == "word") {
    const auto offset = ParseNumber<std::size_t>(fields[2]);
    if (offset) return VoiceReply{VoiceReply::Kind::kWord, *id, *offset};
  }
  return std::nullopt;
}

std::optional<RequestReader::Request> RequestReader::Next() {
  for (;;) {
    const std::size_t lineEnd = buffer_.find('\n');
    if (lineEnd == std::string::npos) return std::nullopt;
    const auto fields = Fields(std::string_view(buffer_).substr(0, lineEnd));
    if (fields.size() == 1 && fields[0] == "stop") {
      buffer_.erase(0, lineEnd + 1);
      return Request{true, 0, {}};
    }
    if (fields.size() == 3 && fields[0] == "speak") {
      const auto id = ParseNumber<std::uint64_t>(fields[1]);
      const auto length = ParseNumber<std::size_t>(fields[2]);
      if (id && length && *length <= kMaxTextLength) {
        if (buffer_.size() - lineEnd - 1 < *length) return std::nullopt;  // more to come
        Request request{false, *id, buffer_.substr(lineEnd + 1, *length)};
        buffer_.erase(0, lineEnd + 1 + *length);
        return request;
      }
    }
    buffer_.erase(0, lineEnd + 1);  // not a request
  }
}

}  // namespace kelvaro
