#include "cli/pinyin_cli.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

namespace kelvaro {
namespace {

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun RunCli(std::vector<std::string_view> args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunPinyinCli(args, in, out, err);
  return {code, out.str(), err.str()};
}

// The arguments of a run as a command line, for failure messages.
std::string CommandLine(const std::vector<std::string_view>& args) {
  std::string line = "kelvaro-pinyin";
  for (const std::string_view arg : args) (line += ' ') += arg;
  return line;
}

struct Row {
  std::vector<std::string_view> args;
  std::string input;
  std::string out;
};

const Row kRows[] = {
    {{"重庆"}, "", "chóng qìng \nCHONG QING \n"},
    // Hints type the reading shown (they were CHONG YAO, SHEI, NUAN HE).
    {{"重要"}, "", "zhòng yào \nZHONG YAO \n"},
    {{"谁"}, "", "shuí \nSHUI \n"},
    {{"暖和"}, "", "nuǎn huo \nNUAN HUO \n"},
    {{"快乐"}, "", "kuài lè \nKUAI LE \n"},
    {{"九六牛球就"}, "", "jiǔ liù niú qiú jiù \nJIU LIU NIU QIU JIU \n"},
    {{"--with-characters", "中国"}, "", "中(zhōng)国(guó)\nZHONG GUO \n"},
    {{"中国", "--with-characters"}, "", "中(zhōng)国(guó)\nZHONG GUO \n"},
    {{}, "abc 123", "\n\n"},
    {{}, "我爱\r\n中国\n", "wǒ ài zhōng guó \nWO AI ZHONG GUO \n"},
    {{}, "", "\n\n"},
    {{"--", "--help"}, "", "\n\n"},
    {{"-"}, "", "\n\n"},
    {{"中\xF0\xA0\x80\x80国"}, "", "zhōng guó \nZHONG GUO \n"},
    // Ruby: a paragraph per line, readings in context, other text kept and escaped.
    {{"--ruby", "重庆"}, "", "<p><ruby>重<rt>chóng</rt></ruby><ruby>庆<rt>qìng</rt></ruby></p>\n"},
    {{"--ruby", "重要"}, "", "<p><ruby>重<rt>zhòng</rt></ruby><ruby>要<rt>yào</rt></ruby></p>\n"},
    {{"--ruby"},
     "重\n庆",
     "<p><ruby>重<rt>zhòng</rt></ruby></p>\n<p><ruby>庆<rt>qìng</rt></ruby></p>\n"},
    {{"--ruby"},
     "我\r\n\r\n你\n",
     "<p><ruby>我<rt>wǒ</rt></ruby></p>\n<p></p>\n<p><ruby>你<rt>nǐ</rt></ruby></p>\n"},
    {{"--ruby"},
     "中\r国\u2029",
     "<p><ruby>中<rt>zhōng</rt></ruby></p>\n<p><ruby>国<rt>guó</rt></ruby></p>\n"},
    {{"--ruby", "a<b>&\"c\" 'd'"}, "", "<p>a&lt;b&gt;&amp;&quot;c&quot; 'd'</p>\n"},
    {{"--ruby", "<rt>好</rt>"}, "", "<p>&lt;rt&gt;<ruby>好<rt>hǎo</rt></ruby>&lt;/rt&gt;</p>\n"},
    {{"--ruby", "「暖和」，3个apple。"},
     "",
     "<p>「<ruby>暖<rt>nuǎn</rt></ruby><ruby>和<rt>huo</rt></ruby>」，3<ruby>个<rt>gè</rt></ruby>"
     "apple。</p>\n"},
    {{"--ruby", "女\xF0\xA0\x80\x80了"},
     "",
     "<p><ruby>女<rt>nǚ</rt></ruby>\xF0\xA0\x80\x80<ruby>了<rt>le</rt></ruby></p>\n"},
    {{"--ruby"}, "", "<p></p>\n"},
    {{"--", "--ruby"}, "", "\n\n"},
};

TEST(PinyinCli, PrintsPinyinAndHints) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(CommandLine(row.args) + " with input \"" + row.input + "\"");
    const CliRun run = RunCli(row.args, row.input);
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, row.out);
    EXPECT_EQ(run.err, "");
  }
}

TEST(PinyinCli, HelpGoesToStandardOutput) {
  const CliRun run = RunCli({"--help"});
  EXPECT_EQ(run.code, 0);
  EXPECT_NE(run.out.find("usage: kelvaro-pinyin"), std::string::npos);
  EXPECT_EQ(run.err, "");
}

TEST(PinyinCli, BadUsageExitsTwoWithUsageOnStandardError) {
  for (const auto& args : std::vector<std::vector<std::string_view>>{
           {"--bogus"}, {"-x", "中"}, {"中", "国"}, {"--ruby", "--with-characters", "中"}}) {
    SCOPED_TRACE(CommandLine(args));
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage: kelvaro-pinyin"), std::string::npos);
  }
}

struct BadInput {
  std::string bytes;
  std::size_t offset;
};

const BadInput kBadInputs[] = {
    {"\xFF", 0},
    {"ab\x80", 2},
    {"中\xE4\xB8", 3},        // truncated sequence
    {"a\xC0\xAF", 1},         // overlong '/'
    {"\xED\xA0\x80", 0},      // an encoded surrogate
    {"\xF4\x90\x80\x80", 0},  // above U+10FFFF
    {"中国\xE4\x41\x42", 6},  // a lead byte without its continuation
};

TEST(PinyinCli, InvalidUtf8NamesTheByteOffsetAndPrintsNothing) {
  for (const BadInput& bad : kBadInputs) {
    for (const bool fromArgument : {false, true}) {
      SCOPED_TRACE(std::string(fromArgument ? "argument" : "input") + " invalid at byte offset " +
                   std::to_string(bad.offset));
      const CliRun run = fromArgument ? RunCli({bad.bytes}) : RunCli({}, bad.bytes);
      EXPECT_EQ(run.code, 1);
      EXPECT_EQ(run.out, "");
      EXPECT_NE(run.err.find("byte offset " + std::to_string(bad.offset)), std::string::npos)
          << run.err;
    }
  }
}

// An input that never ends: the given start, then 中 again and again.
class EndlessInput : public std::streambuf {
 public:
  explicit EndlessInput(std::string start) : start_(std::move(start)) {
    setg(start_.data(), start_.data(), start_.data() + start_.size());
  }

 protected:
  int_type underflow() override {
    if (more_.empty()) {
      for (int i = 0; i < 4096; ++i) more_ += "\xE4\xB8\xAD";
    }
    setg(more_.data(), more_.data(), more_.data() + more_.size());
    return traits_type::to_int_type(more_[0]);
  }

 private:
  std::string start_;
  std::string more_;
};

TEST(PinyinCli, AnInvalidByteEndsTheReadingOfAnEndlessInput) {
  for (const auto& [start, offset] :
       std::vector<std::pair<std::string, std::size_t>>{{"a\xFF", 1}, {"\xE4\x41", 0}}) {
    SCOPED_TRACE("invalid at byte offset " + std::to_string(offset));
    EndlessInput endless(start);
    std::istream in(&endless);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunPinyinCli({}, in, out, err), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "kelvaro-pinyin: input is not valid UTF-8 at byte offset " +
                             std::to_string(offset) + "\n");
  }
}

TEST(PinyinCli, TheUsageListsTheExitCodes) {
  const CliRun run = RunCli({"--help"});
  for (const char* code : {"  0  ", "  1  ", "  2  ", "  3  ", "  4  "}) {
    EXPECT_NE(run.out.find(code), std::string::npos) << code;
  }
}

}  // namespace
}  // namespace kelvaro
