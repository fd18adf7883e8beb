// Converts a UTF-8 text file whole, once untimed and then five times, and prints the Han
// characters converted per second: median, min and max.
//   corpus_throughput FILE
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <variant>
#include <vector>

#include "convert/conversion.h"
#include "dictionary/text_codec.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: corpus_throughput FILE\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  auto decoded = kelvaro::DecodeUtf8(bytes);
  if (!std::holds_alternative<std::u16string>(decoded)) {
    std::fprintf(stderr, "corpus_throughput: %s is not UTF-8\n", argv[1]);
    return 1;
  }
  const std::u16string text = std::get<std::u16string>(std::move(decoded));
  const auto han = std::count_if(text.begin(), text.end(),
                                 [](char16_t c) { return c >= 0x4E00 && c <= 0x9FFF; });

  const kelvaro::PinyinDictionary dictionary = kelvaro::PinyinDictionary::LoadBuiltIn();
  const kelvaro::PinyinConverter converter(dictionary);
  // One untimed run first, as for the peers: the first touches fresh memory.
  // Converting into one result again and again, as the window does.
  kelvaro::ConversionResult result;
  converter.Convert(text, kelvaro::DisplayMode::kReadingOnly, result);
  std::size_t checksum = 0;
  std::vector<double> rates;
  for (int run = 0; run < 5; ++run) {
    const auto start = std::chrono::steady_clock::now();
    converter.Convert(text, kelvaro::DisplayMode::kReadingOnly, result);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    checksum += result.pinyin.size() + result.hints.size();
    rates.push_back(static_cast<double>(han) / seconds.count());
  }
  std::sort(rates.begin(), rates.end());
  std::printf("kelvaro %.0f %.0f %.0f %ld %zu\n", rates[2], rates[0], rates[4],
              static_cast<long>(han), checksum);
  return 0;
}
