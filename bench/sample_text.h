#pragma once

#include <string>
#include <string_view>

namespace kelvaro::bench {

// Everyday Chinese prose and classical poems, with punctuation, Latin letters,
// digits and line breaks, as a parent would paste them.
inline constexpr std::u16string_view kSampleText =
    u"春天来了，小草从地下探出头来，柳树长出了嫩绿的叶子。小朋友们在公园里快乐地做游戏，"
    u"有的放风筝，有的跳绳，还有的在银行门口排队看热闹。妈妈说：“重要的事情要先做。”\r\n"
    u"床前明月光，疑是地上霜。举头望明月，低头思故乡。\r\n"
    u"春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。\r\n"
    u"我们学校有 36 个班级，每个班都有一台 PC 电脑。老师教我们用拼音输入法打字，"
    u"谁打得又快又好，谁就能得到一朵小红花。暖和的午后，我和弟弟一起去重庆看长江。\r\n"
    u"《音乐》课上，我们学唱了一首新歌，大家都觉得很有意思。\r\n";

// The sample repeated (and cut) to exactly length code units.
inline std::u16string SampleOfLength(std::size_t length) {
  std::u16string text;
  text.reserve(length + kSampleText.size());
  while (text.size() < length) {
    text += kSampleText;
  }
  text.resize(length);
  return text;
}

}  // namespace kelvaro::bench
