// Conversion speed of the whole-text converter, the cost of loading the
// table at start-up, and, as a baseline, the same conversion done by plain
// search of the dictionary text for every character.
#include <benchmark/benchmark.h>

#include "bench/sample_text.h"
#include "convert/conversion.h"
#include "tests/reference/lookup_reading.h"
#include "tests/reference/step_by_step_conversion.h"

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

void BM_ConvertByLinearSearch(benchmark::State& state) {
  const std::u16string text = bench::SampleOfLength(static_cast<std::size_t>(state.range(0)));
  const PinyinConverter converter(Dictionary());
  const std::u16string& dictionaryText = BuiltInTableText();
  if (ConvertStepByStep(dictionaryText, text, DisplayMode::kReadingOnly) !=
      converter.Convert(text, DisplayMode::kReadingOnly)) {
    state.SkipWithError("the baseline and the converter disagree");
    return;
  }
  for (auto _ : state) {
    // Each run rebuilds the dictionary text, as a run without an index must.
    const std::u16string rebuilt = dictionaryText;
    ConversionResult result = ConvertStepByStep(rebuilt, text, DisplayMode::kReadingOnly);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ConvertByLinearSearch)->Arg(1'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvaro

BENCHMARK_MAIN();
