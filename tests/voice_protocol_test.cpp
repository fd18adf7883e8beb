#include "voice/voice_protocol.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace kelvaro {
namespace {

using Request = RequestReader::Request;

// Requests written one after another and read back from pieces of any
// length come back whole and in order; lines that are no request are skipped.
TEST(VoiceProtocol, RequestsSurviveAnySplitOfTheStream) {
  const std::vector<Request> sent = {
      {false, 1, "ni3 hao3"},
      {true, 0, ""},
      {false, 2, "zhong1.\nguo2"},  // a line break inside the text
      {false, 3, ""},
      {false, 18446744073709551615u, std::string(70000, 'a')},
      {false, 4, "<voice name=\"en\">stop\n</voice>"},
  };
  std::string stream;
  for (const Request& request : sent) {
    stream += request.stop ? std::string(kStopRequest) : SpeakRequest(request.id, request.text);
    stream += "noise\nspeak x 3\nspeak 5 -1\n";  // skipped
  }
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    RequestReader reader;
    std::vector<Request> received;
    for (std::size_t at = 0; at < stream.size();) {
      const std::size_t piece = std::uniform_int_distribution<std::size_t>(1, 300)(random);
      reader.Add(std::string_view(stream).substr(at, piece));
      at += piece;
      while (auto request = reader.Next()) received.push_back(std::move(*request));
    }
    ASSERT_EQ(received.size(), sent.size()) << "round " << round;
    for (std::size_t i = 0; i < sent.size(); ++i) {
      EXPECT_EQ(received[i].stop, sent[i].stop);
      EXPECT_EQ(received[i].id, sent[i].id);
      EXPECT_EQ(received[i].text, sent[i].text);
    }
  }
}

TEST(VoiceProtocol, RepliesReadBackAsWritten) {
  const VoiceReply replies[] = {{VoiceReply::Kind::kStarted, 1, 0},
                                {VoiceReply::Kind::kWord, 7, 0},
                                {VoiceReply::Kind::kWord, 7, 12345},
                                {VoiceReply::Kind::kEnd, 18446744073709551615u, 0}};
  for (const VoiceReply& reply : replies) {
    std::string line = ReplyLine(reply);
    ASSERT_EQ(line.back(), '\n');
    line.pop_back();
    EXPECT_EQ(ParseReply(line), reply) << line;
  }
  for (const char* bad : {"", "word", "word 1", "word 1 x", "end -1", "started 1 2", "end 1 ",
                          "word 1 2 3", "begin 1", "end 99999999999999999999"}) {
    EXPECT_FALSE(ParseReply(bad)) << bad;
  }
}

}  // namespace
}  // namespace kelvaro
