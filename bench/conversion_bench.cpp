// Conversion speed of the whole-text converter, the cost of loading the
// table at start-up, and, as a baseline, the same conversion done by plain
// search of the dictionary text for every character.
#include <benchmark/benchmark.h>

#include "bench/sample_text.h"
#include "convert/conversion.h"
#include "convert/polyphone_rules.h"
#include "convert/tone_mark.h"
#include "convert/typing_hint.h"
#include "dictionary/gbk_codec.h"
#include "dictionary/lookup_reading.h"

namespace kelvaro {
namespace {

const PinyinDictionary& Dictionary() {
  static const PinyinDictionary dictionary = PinyinDictionary::LoadBuiltIn();
  return dictionary;
}

void BM_Convert(benchmark::State& state) {
  const PinyinConverter converter(Dictionary());
  const std::u16string text = bench::SampleOfLength(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    ConversionResult result = converter.Convert(text, DisplayMode::kReadingOnly);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Convert)->Arg(1'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

void BM_LoadTable(benchmark::State& state) {
  for (auto _ : state) {
    const PinyinDictionary dictionary = PinyinDictionary::LoadBuiltIn();
    const PinyinConverter converter(dictionary);
    benchmark::DoNotOptimize(&converter);
  }
}
BENCHMARK(BM_LoadTable)->Unit(benchmark::kMillisecond);

// One run done step by step: rebuild the dictionary text, test each
// character's GBK code, search the text for it, then ask the rules.
ConversionResult ConvertByLinearSearch(std::u16string_view source) {
  const std::u16string dictionaryText = Dictionary().Text();
  ConversionResult result;
  for (std::size_t i = 0; i < source.size(); ++i) {
    const char16_t c = source[i];
    if (!HasTwoByteGbkCode(c)) {
      continue;
    }
    const auto reading = LookupReading(dictionaryText, c);
    if (!reading) {
      continue;
    }
    result.hints += MakeTypingHint(*reading) + u" ";
    std::u16string chosen = ResolvePolyphone(c, source, static_cast<std::int32_t>(i + 1));
    if (chosen.empty()) {
      chosen = *reading;
    }
    result.pinyin += AddToneMark(chosen) + u" ";
  }
  return result;
}

void BM_ConvertByLinearSearch(benchmark::State& state) {
  const std::u16string text = bench::SampleOfLength(static_cast<std::size_t>(state.range(0)));
  const PinyinConverter converter(Dictionary());
  if (ConvertByLinearSearch(text) != converter.Convert(text, DisplayMode::kReadingOnly)) {
    state.SkipWithError("the baseline and the converter disagree");
    return;
  }
  for (auto _ : state) {
    ConversionResult result = ConvertByLinearSearch(text);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ConvertByLinearSearch)->Arg(1'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvaro

BENCHMARK_MAIN();
