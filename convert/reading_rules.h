#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelvaro {

// A test on the literal characters around a character: before must stand
// right before it and after right after it (either may be empty). A test
// with a minimum position holds only for a character after that position.
struct ContextTest {
  std::u16string_view before = {};
  std::u16string_view after = {};
  std::int32_t minPosition = 0;
};

// Readings of polyphonic characters chosen from their neighbours: per
// character an optional default reading and an ordered list of tests, each
// with the reading it gives. The last test that holds decides; when none
// holds the default does, else no rule applies. Readings are numbered in the
// order they were first added.
class ReadingRules {
 public:
  ReadingRules();

  void AddDefault(char16_t character, std::u16string_view reading);
  // A group: the reading when any of its tests holds.
  void AddGroup(char16_t character, std::u16string_view reading,
                std::span<const ContextTest> tests);

  // The reading for the character at the 1-based position of text, as an
  // index into Readings(); -1 when no rule applies. Only the text's own
  // characters are read.
  int Resolve(char16_t character, std::u16string_view text, std::int32_t position) const;

  std::span<const std::u16string> Readings() const { return readings_; }
  bool Names(char16_t character) const { return slotOf_[character] != 0; }

  // How far the tests look: the most characters a test reads on either side
  // of its character, and the largest minimum position of any test.
  std::size_t Reach() const { return reach_; }
  std::int32_t LargestMinPosition() const { return largestMinPosition_; }

 private:
  struct Test {
    std::uint32_t beforeOffset;
    std::uint32_t afterOffset;
    std::uint16_t beforeLength;
    std::uint16_t afterLength;
    char16_t beforeLast;  // quick checks; 0 where the literal is empty
    char16_t afterFirst;
    std::int32_t minPosition;
    std::int32_t reading;
  };
  // A test's place in a character's list, filed under the neighbour it
  // checks first: the character right before it, or right after it for a
  // test that reads nothing before. Sorted by neighbour, later tests first,
  // so that a lookup reads only the tests that can hold.
  struct Filed {
    char16_t neighbour;
    std::uint16_t test;
    auto operator<=>(const Filed& other) const {
      if (neighbour != other.neighbour) return neighbour <=> other.neighbour;
      return other.test <=> test;
    }
  };
  struct CharacterRules {
    std::int32_t defaultReading = -1;
    std::vector<Test> tests;
    std::vector<Filed> byBefore;
    std::vector<Filed> byAfter;
    std::vector<std::uint16_t> unconditional;  // tests without literals, in order
  };

  CharacterRules& RulesOf(char16_t character);
  std::int32_t ReadingIndex(std::u16string_view reading);
  bool Holds(const Test& test, std::u16string_view text, std::size_t index) const;
  static std::span<const Filed> FiledUnder(const std::vector<Filed>& filed, char16_t neighbour);

  std::vector<std::uint16_t> slotOf_;  // by character: 0, or 1 + index into rules_
  std::vector<CharacterRules> rules_;
  std::vector<std::u16string> readings_;
  std::unordered_map<std::u16string, std::int32_t> indexOfReading_;
  std::u16string literals_;  // every test's before and after, one after another
  std::size_t reach_ = 0;
  std::int32_t largestMinPosition_ = 0;
};

// Adds rules written as text, one per line ("#" starts a comment):
//   地 de5 慢慢_ 轻轻_ 一颗一颗_   a group: the reading where any test holds;
//                                  "_" stands for the character itself
//   谁 shui2                        a default reading
// Throws std::invalid_argument naming the line of a malformed rule.
void AddRuleText(ReadingRules& rules, std::u16string_view text);

// Adds the readings of words, one word per line:
//   头发<TAB>tou2 fa5<TAB>2
// the word, the reading of each of its characters, and the 1-based positions
// of the characters that the line sets (comma-separated): each of those reads
// so wherever the whole word stands around it. Lines are evaluated in order.
// Throws std::invalid_argument naming the line of a malformed entry.
void AddWordReadings(ReadingRules& rules, std::u16string_view text);

}  // namespace kelvaro
