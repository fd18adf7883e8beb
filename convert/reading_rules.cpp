#include "convert/reading_rules.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace kelvaro {
namespace {

// Letters a to z or ü, then a tone digit 1 to 5.
bool IsNumberedReading(std::u16string_view reading) {
  if (reading.size() < 2) return false;
  const char16_t tone = reading.back();
  if (tone < u'1' || tone > u'5') return false;
  return std::all_of(reading.begin(), reading.end() - 1,
                     [](char16_t c) { return (c >= u'a' && c <= u'z') || c == u'ü'; });
}

std::vector<std::u16string_view> Split(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::u16string_view::npos ? end : end - start));
    if (end == std::u16string_view::npos) return parts;
    start = end + 1;
  }
}

// Calls take(line, 1-based number) for each line without its comment and
// surrounding spaces, skipping lines left empty.
template <typename Take>
void ForEachLine(std::u16string_view text, Take take) {
  int number = 0;
  for (std::u16string_view line : Split(text, u'\n')) {
    ++number;
    if (const std::size_t hash = line.find(u'#'); hash != std::u16string_view::npos) {
      line = line.substr(0, hash);
    }
    while (!line.empty() && (line.back() == u' ' || line.back() == u'\r' || line.back() == u'\t')) {
      line.remove_suffix(1);
    }
    while (!line.empty() && line.front() == u' ') line.remove_prefix(1);
    if (!line.empty()) take(line, number);
  }
}

[[noreturn]] void Malformed(const char* what, int line) {
  throw std::invalid_argument(std::string(what) + " on line " + std::to_string(line));
}

}  // namespace

ReadingRules::ReadingRules() : slotOf_(0x10000, 0) {}

ReadingRules::CharacterRules& ReadingRules::RulesOf(char16_t character) {
  std::uint16_t& slot = slotOf_[character];
  if (slot == 0) {
    rules_.emplace_back();
    slot = static_cast<std::uint16_t>(rules_.size());
  }
  return rules_[slot - 1];
}

std::int32_t ReadingRules::ReadingIndex(std::u16string_view reading) {
  const auto [it, added] = indexOfReading_.try_emplace(std::u16string(reading),
                                                       static_cast<std::int32_t>(readings_.size()));
  if (added) readings_.emplace_back(reading);
  return it->second;
}

void ReadingRules::AddDefault(char16_t character, std::u16string_view reading) {
  const std::int32_t index = ReadingIndex(reading);
  RulesOf(character).defaultReading = index;
}

void ReadingRules::AddGroup(char16_t character, std::u16string_view reading,
                            std::span<const ContextTest> tests) {
  const std::int32_t index = ReadingIndex(reading);
  CharacterRules& rules = RulesOf(character);
  for (const ContextTest& test : tests) {
    Test stored{};
    stored.beforeOffset = static_cast<std::uint32_t>(literals_.size());
    literals_ += test.before;
    stored.afterOffset = static_cast<std::uint32_t>(literals_.size());
    literals_ += test.after;
    stored.beforeLength = static_cast<std::uint16_t>(test.before.size());
    stored.afterLength = static_cast<std::uint16_t>(test.after.size());
    stored.beforeLast = test.before.empty() ? u'\0' : test.before.back();
    stored.afterFirst = test.after.empty() ? u'\0' : test.after.front();
    stored.minPosition = test.minPosition;
    stored.reading = index;
    reach_ = std::max({reach_, test.before.size(), test.after.size()});
    largestMinPosition_ = std::max(largestMinPosition_, test.minPosition);
    if (rules.tests.size() >= 0xFFFF) throw std::length_error("too many tests for one character");
    const auto number = static_cast<std::uint16_t>(rules.tests.size());
    rules.tests.push_back(stored);
    if (!test.before.empty()) {
      const Filed filed{stored.beforeLast, number};
      rules.byBefore.insert(std::upper_bound(rules.byBefore.begin(), rules.byBefore.end(), filed),
                            filed);
    } else if (!test.after.empty()) {
      const Filed filed{stored.afterFirst, number};
      rules.byAfter.insert(std::upper_bound(rules.byAfter.begin(), rules.byAfter.end(), filed),
                           filed);
    } else {
      rules.unconditional.push_back(number);
    }
  }
}

bool ReadingRules::Holds(const Test& test, std::u16string_view text, std::size_t index) const {
  // The neighbours first: most tests fail on them, before a literal is read.
  if (test.beforeLength > 0 && (index < test.beforeLength || text[index - 1] != test.beforeLast)) {
    return false;
  }
  if (test.afterLength > 0 &&
      (text.size() - index - 1 < test.afterLength || text[index + 1] != test.afterFirst)) {
    return false;
  }
  if (static_cast<std::int64_t>(index) + 1 <= test.minPosition) return false;
  const std::u16string_view literals = literals_;
  return text.substr(index - test.beforeLength, test.beforeLength) ==
             literals.substr(test.beforeOffset, test.beforeLength) &&
         text.substr(index + 1, test.afterLength) ==
             literals.substr(test.afterOffset, test.afterLength);
}

std::span<const ReadingRules::Filed> ReadingRules::FiledUnder(const std::vector<Filed>& filed,
                                                              char16_t neighbour) {
  const auto first = std::lower_bound(filed.begin(), filed.end(), Filed{neighbour, 0xFFFF});
  auto last = first;
  while (last != filed.end() && last->neighbour == neighbour) ++last;
  return {first, last};
}

int ReadingRules::Resolve(char16_t character, std::u16string_view text,
                          std::int32_t position) const {
  const std::uint16_t slot = slotOf_[character];
  if (slot == 0) return -1;
  const CharacterRules& rules = rules_[slot - 1];
  if (position < 1 || static_cast<std::size_t>(position) > text.size()) {
    return rules.defaultReading;
  }
  const std::size_t index = static_cast<std::size_t>(position) - 1;
  // The last test that holds: the two lists, each latest first, read as one.
  const std::span<const Filed> before =
      index > 0 ? FiledUnder(rules.byBefore, text[index - 1]) : std::span<const Filed>();
  const std::span<const Filed> after = index + 1 < text.size()
                                           ? FiledUnder(rules.byAfter, text[index + 1])
                                           : std::span<const Filed>();
  int latest = -1;
  for (auto it = rules.unconditional.rbegin(); it != rules.unconditional.rend(); ++it) {
    if (Holds(rules.tests[*it], text, index)) {
      latest = *it;
      break;
    }
  }
  auto b = before.begin();
  auto a = after.begin();
  while (b != before.end() || a != after.end()) {
    const bool takeBefore = a == after.end() || (b != before.end() && b->test > a->test);
    const std::uint16_t test = takeBefore ? (b++)->test : (a++)->test;
    if (test < latest) break;
    if (Holds(rules.tests[test], text, index)) {
      latest = test;
      break;
    }
  }
  return latest >= 0 ? rules.tests[static_cast<std::size_t>(latest)].reading : rules.defaultReading;
}

void AddRuleText(ReadingRules& rules, std::u16string_view text) {
  ForEachLine(text, [&](std::u16string_view line, int number) {
    std::vector<std::u16string_view> fields;
    for (const std::u16string_view field : Split(line, u' ')) {
      if (!field.empty()) fields.push_back(field);
    }
    if (fields.size() < 2 || fields[0].size() != 1) Malformed("no character and reading", number);
    if (!IsNumberedReading(fields[1])) Malformed("a malformed reading", number);
    const char16_t character = fields[0][0];
    if (fields.size() == 2) {
      rules.AddDefault(character, fields[1]);
      return;
    }
    std::vector<ContextTest> tests;
    for (std::size_t i = 2; i < fields.size(); ++i) {
      const std::size_t mark = fields[i].find(u'_');
      if (mark == std::u16string_view::npos ||
          fields[i].find(u'_', mark + 1) != std::u16string_view::npos || fields[i].size() == 1) {
        Malformed("a test without exactly one _ and a neighbour", number);
      }
      tests.push_back({fields[i].substr(0, mark), fields[i].substr(mark + 1)});
    }
    rules.AddGroup(character, fields[1], tests);
  });
}

void AddWordReadings(ReadingRules& rules, std::u16string_view text) {
  ForEachLine(text, [&](std::u16string_view line, int number) {
    const std::vector<std::u16string_view> fields = Split(line, u'\t');
    if (fields.size() != 3) Malformed("not three tab-separated fields", number);
    const std::u16string_view word = fields[0];
    const std::vector<std::u16string_view> readings = Split(fields[1], u' ');
    if (word.size() < 2 || readings.size() != word.size()) {
      Malformed("not one reading per character of a word", number);
    }
    for (const std::u16string_view position : Split(fields[2], u',')) {
      if (position.empty() || position.size() > 2 ||
          !std::all_of(position.begin(), position.end(),
                       [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
        Malformed("a malformed position", number);
      }
      std::size_t at = 0;
      for (const char16_t digit : position) at = at * 10 + static_cast<std::size_t>(digit - u'0');
      if (at < 1 || at > word.size()) Malformed("a position outside the word", number);
      const std::u16string_view reading = readings[at - 1];
      if (!IsNumberedReading(reading)) Malformed("a malformed reading", number);
      const ContextTest test{word.substr(0, at - 1), word.substr(at)};
      rules.AddGroup(word[at - 1], reading, std::span(&test, 1));
    }
  });
}

}  // namespace kelvaro
