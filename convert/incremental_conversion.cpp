#include "convert/incremental_conversion.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "convert/polyphone_rules.h"

namespace kelvaro {
namespace {

std::size_t Total(const std::vector<std::uint8_t>& lengths, std::size_t from, std::size_t to) {
  return std::accumulate(lengths.begin() + static_cast<std::ptrdiff_t>(from),
                         lengths.begin() + static_cast<std::ptrdiff_t>(to), std::size_t{0});
}

template <typename Container>
void Splice(Container& into, std::size_t at, std::size_t removed, const Container& inserted) {
  const auto start = into.begin() + static_cast<std::ptrdiff_t>(at);
  const std::size_t kept = std::min(removed, inserted.size());
  std::copy_n(inserted.begin(), kept, start);
  if (removed > kept) {
    into.erase(start + static_cast<std::ptrdiff_t>(kept),
               start + static_cast<std::ptrdiff_t>(removed));
  } else {
    into.insert(start + static_cast<std::ptrdiff_t>(kept),
                inserted.begin() + static_cast<std::ptrdiff_t>(kept), inserted.end());
  }
}

}  // namespace

IncrementalConversion::IncrementalConversion(const PinyinConverter& converter)
    : converter_(converter) {}

void IncrementalConversion::ConvertAll(std::u16string_view source, DisplayMode mode) {
  mode_ = mode;
  lengths_.pinyin.clear();
  lengths_.hints.clear();
  converter_.ConvertStretch(source, 0, source.size(), mode, result_, lengths_);
}

IncrementalConversion::Changes IncrementalConversion::Update(std::u16string_view source,
                                                             TextEdit edit) {
  const std::size_t oldSize = lengths_.hints.size();
  if (edit.position > oldSize || edit.removed > oldSize - edit.position ||
      oldSize - edit.removed + edit.added != source.size()) {
    const std::size_t oldPinyin = result_.pinyin.size();
    const std::size_t oldHints = result_.hints.size();
    ConvertAll(source, mode_);
    return {{0, oldPinyin, result_.pinyin.size()}, {0, oldHints, result_.hints.size()}};
  }
  // The characters before `from` keep their neighbours within the rules'
  // reach, and their positions. So do those from `to` on, and their positions
  // stay on the same side of every position a rule tests.
  const auto [reach, lastPosition] = PolyphoneRulesReach();
  const std::size_t from = edit.position > reach ? edit.position - reach : 0;
  const std::size_t grown = edit.added > edit.removed ? edit.added - edit.removed : 0;
  const std::size_t to =
      std::min(source.size(), std::max(edit.position + edit.added + reach, lastPosition + grown));
  const std::size_t oldTo = to - edit.added + edit.removed;

  const std::size_t pinyinFrom = Total(lengths_.pinyin, 0, from);
  const std::size_t hintsFrom = Total(lengths_.hints, 0, from);
  const std::size_t pinyinRemoved = Total(lengths_.pinyin, from, oldTo);
  const std::size_t hintsRemoved = Total(lengths_.hints, from, oldTo);

  stretchLengths_.pinyin.clear();
  stretchLengths_.hints.clear();
  converter_.ConvertStretch(source, from, to, mode_, stretch_, stretchLengths_);
  Splice(result_.pinyin, pinyinFrom, pinyinRemoved, stretch_.pinyin);
  Splice(result_.hints, hintsFrom, hintsRemoved, stretch_.hints);
  Splice(lengths_.pinyin, from, oldTo - from, stretchLengths_.pinyin);
  Splice(lengths_.hints, from, oldTo - from, stretchLengths_.hints);
  return {{pinyinFrom, pinyinRemoved, stretch_.pinyin.size()},
          {hintsFrom, hintsRemoved, stretch_.hints.size()}};
}

}  // namespace kelvaro
