#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvaro {

// What the window and the voice program say to each other through the
// program's standard input and output.
//
// Requests, to the voice program:
//   "speak <id> <length>\n" and then <length> bytes of text: speak it,
//                           stopping what is being spoken;
//   "stop\n": stop speaking.
// Replies, one line each:
//   "started <id>": the request is taken (the window's sign of life);
//   "word <id> <offset>": the word at that byte offset of the text is heard now;
//   "end <id>": the request has been spoken to its end.

std::string SpeakRequest(std::uint64_t id, std::string_view text);
constexpr std::string_view kStopRequest = "stop\n";

struct VoiceReply {
  enum class Kind { kStarted, kWord, kEnd };
  Kind kind;
  std::uint64_t id = 0;
  std::size_t offset = 0;  // of a word
  bool operator==(const VoiceReply&) const = default;
};

std::string ReplyLine(const VoiceReply& reply);  // with its line feed
// A reply line without its line feed; nothing for anything else.
std::optional<VoiceReply> ParseReply(std::string_view line);

// Reads requests from bytes as they arrive in pieces.
class RequestReader {
 public:
  struct Request {
    bool stop = false;
    std::uint64_t id = 0;
    std::string text;
  };
  void Add(std::string_view bytes) { buffer_ += bytes; }
  // The next whole request, if it has arrived; a line that is no request is
  // skipped.
  std::optional<Request> Next();

 private:
  std::string buffer_;
};

}  // namespace kelvaro
