#pragma once

#include "convert/reading_rules.h"

namespace kelvaro {

// The rules the program has always had, for 21 characters: default readings
// of 游 乐 呱 谁 行 为 背 重, then one context group each for 重 见 相 看 差 和
// 为 还 行 更 调 少 圈 乐 削 了 背 长.
void AddBaseRules(ReadingRules& rules);

}  // namespace kelvaro
