#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

// The text a speech voice that reads tone-numbered pinyin is given: the
// readings in order, separated by spaces, with ü written v, which is how such
// voices expect it: {"chong2", "qing4"} -> "chong2 qing4", {"nü3"} -> "nv3";
// a reading without tone digit gets the 5 of the neutral tone ("le" -> "le5").
std::string SpokenPinyin(std::span<const std::u16string_view> readings);

// The tone-numbered readings of tone-marked pinyin as the pinyin box shows
// it: "chóng qìng " -> {"chong2", "qing4"}. Each run of pinyin letters is one
// reading; everything else (spaces, characters, brackets) separates them.
std::vector<std::u16string> ReadingsOfMarkedPinyin(std::u16string_view shown);

}  // namespace kelvaro
