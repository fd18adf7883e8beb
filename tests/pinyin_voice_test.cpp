// Synthesises with the real voice into memory: no sound device needed.
// espeak-ng loads once per process, so the case without voice data runs in a
// process of its own (see tests/CMakeLists.txt).
#include "voice/pinyin_voice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <vector>

namespace kelvaro {
namespace {

struct Recording {
  std::vector<short> samples;
  double Seconds(int sampleRate) const { return static_cast<double>(samples.size()) / sampleRate; }
  double Loudness() const {
    double sum = 0;
    for (const short s : samples) sum += static_cast<double>(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / static_cast<double>(samples.size()));
  }
};

struct SpeechRow {
  const char* pinyin;
  double minSeconds;
  double maxSeconds;
};

void PrintTo(const SpeechRow& row, std::ostream* os) { *os << row.pinyin; }

// A syllable takes a few tenths of a second at the normal rate.
constexpr SpeechRow kSpeechRows[] = {
    {"ma1", 0.1, 0.8},
    {"nv3", 0.1, 0.8},
    {"nuan3 huo", 0.25, 1.6},
    {"wo3 ai4 zhong1 guo2 ni3 hao3 ma1 ma1 ba4 ba4", 1.2, 6.0},
};

class VoiceTest : public testing::TestWithParam<SpeechRow> {};

TEST_P(VoiceTest, SynthesisesAudibleSpeechOfPlausibleLength) {
  Recording recording;
  PinyinVoice voice([&](std::span<const short> s) {
    recording.samples.insert(recording.samples.end(), s.begin(), s.end());
  });
  ASSERT_TRUE(voice.IsReady()) << "espeak-ng-data with the cmn-latn-pinyin voice is needed";
  voice.Speak(GetParam().pinyin);
  const double seconds = recording.Seconds(voice.SampleRate());
  std::cout << GetParam().pinyin << ": " << recording.samples.size() << " samples at "
            << voice.SampleRate() << " Hz, " << seconds << " s\n";
  EXPECT_GE(seconds, GetParam().minSeconds);
  EXPECT_LE(seconds, GetParam().maxSeconds);
  EXPECT_GT(recording.Loudness(), 500.0) << "speech, not silence";
}

INSTANTIATE_TEST_SUITE_P(Syllables, VoiceTest, testing::ValuesIn(kSpeechRows));

TEST(Voice, TenSyllablesLastFarLongerThanOne) {
  std::size_t count = 0;
  PinyinVoice voice([&](std::span<const short> s) { count += s.size(); });
  voice.Speak("ma1");
  const std::size_t one = count;
  count = 0;
  voice.Speak("ma1 ma1 ma1 ma1 ma1 ma1 ma1 ma1 ma1 ma1");
  EXPECT_GT(count, 5 * one);
  count = 0;
  voice.Speak("");
  EXPECT_EQ(count, 0u);
}

// A child's pace: two to three syllables a second.
TEST(Voice, SpeaksAtAPaceAChildCanFollow) {
  std::size_t count = 0;
  PinyinVoice voice([&](std::span<const short> s) { count += s.size(); });
  ASSERT_TRUE(voice.IsReady());
  voice.Speak(
      "xiao3 peng2 you3 men5 zai4 gong1 yuan2 li3 wan2 shua3 wo3 men5 yi4 qi3 chang4 ge1 tiao4 "
      "wu3 hen3 kuai4 le4 ma1 ma5 jiao4 wo3 hui2 jia1 le5");
  const double perSecond = 28.0 / (static_cast<double>(count) / voice.SampleRate());
  std::cout << perSecond << " syllables a second\n";
  EXPECT_GE(perSecond, 2.0);
  EXPECT_LE(perSecond, 3.0);
}

// The longest stretch of near silence inside the speech, in seconds.
double LongestInnerPause(const std::vector<short>& samples, int sampleRate) {
  std::size_t first = 0;
  std::size_t last = samples.size();
  auto quiet = [&](std::size_t i) { return std::abs(samples[i]) < 200; };
  while (first < last && quiet(first)) ++first;
  while (last > first && quiet(last - 1)) --last;
  std::size_t longest = 0;
  std::size_t run = 0;
  for (std::size_t i = first; i < last; ++i) {
    run = quiet(i) ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return static_cast<double>(longest) / sampleRate;
}

// The clause and sentence marks the voice is given are heard as pauses, a
// sentence pause longer than a clause pause.
TEST(Voice, CommasAndFullStopsArePauses) {
  std::vector<short> samples;
  PinyinVoice voice(
      [&](std::span<const short> s) { samples.insert(samples.end(), s.begin(), s.end()); });
  ASSERT_TRUE(voice.IsReady());
  double pause[3] = {};
  const char* const kTexts[] = {"ni3 hao3 ni3 hao3", "ni3 hao3, ni3 hao3", "ni3 hao3.\nni3 hao3"};
  for (int i = 0; i < 3; ++i) {
    samples.clear();
    voice.Speak(kTexts[i]);
    pause[i] = LongestInnerPause(samples, voice.SampleRate());
    std::cout << kTexts[i] << ": longest pause " << pause[i] << " s\n";
  }
  EXPECT_LT(pause[0], 0.1);
  EXPECT_GT(pause[1], pause[0] + 0.08);
  EXPECT_GT(pause[2], pause[1]);
}

// The voice reports every word of a poem once, in order, at its offset, and
// its time grows word by word.
TEST(Voice, ReportsEachWordOfAPoemInOrder) {
  const std::string poem =
      "chuang2 qian2 ming2 yue4 guang1, yi2 shi4 di4 shang4 shuang1.\nju3 tou2 wang4 ming2 "
      "yue4.\ndi1 tou2 si1 gu4 xiang1.";
  std::vector<PinyinVoice::Event> events;
  PinyinVoice voice([](std::span<const short>) {},
                    [&](const PinyinVoice::Event& event) { events.push_back(event); });
  ASSERT_TRUE(voice.IsReady());
  voice.Speak(poem, 42);
  std::vector<std::size_t> expected;  // where each syllable starts
  for (std::size_t i = 0; i < poem.size(); ++i) {
    if (std::isalpha(static_cast<unsigned char>(poem[i])) &&
        (i == 0 || !std::isalnum(static_cast<unsigned char>(poem[i - 1])))) {
      expected.push_back(i);
    }
  }
  ASSERT_EQ(expected.size(), 20u);
  ASSERT_EQ(events.size(), expected.size());
  int last = -1;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(events[i].kind, PinyinVoice::Event::Kind::kWord);
    EXPECT_EQ(events[i].request, 42u);
    EXPECT_EQ(events[i].offset, expected[i]) << "word " << i;
    EXPECT_GT(events[i].milliseconds, last) << "word " << i;
    last = events[i].milliseconds;
  }
}

// Run alone, with ESPEAK_DATA_PATH naming a folder without voice data.
TEST(MissingVoice, StaysSilentAndReturns) {
  const char* dataPath = std::getenv("ESPEAK_DATA_PATH");
  if (!dataPath || std::filesystem::exists(std::filesystem::path(dataPath) / "espeak-ng-data")) {
    GTEST_SKIP() << "skipped: needs ESPEAK_DATA_PATH without voice data";
  }
  std::size_t count = 0;
  PinyinVoice voice([&](std::span<const short> s) { count += s.size(); });
  EXPECT_FALSE(voice.IsReady());
  voice.Speak("chong2 qing4");
  voice.Stop();
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(voice.SampleRate(), 0);
}

}  // namespace
}  // namespace kelvaro
