#pragma once

#include <functional>
#include <span>
#include <string_view>

namespace kelvaro {

// espeak-ng's Mandarin voice that reads tone-numbered pinyin ("chong2 qing4",
// ü written v). Any failure (no voice data, no sound device, a library
// error) leaves a voice that stays silent; nothing is reported.
//
// espeak-ng keeps one engine per process, and once released it cannot be
// loaded again; so the first voice loads it, in its output form, and it stays
// loaded until the process ends. Keep one voice at a time.
class PinyinVoice {
 public:
  // Mono 16-bit samples at SampleRate().
  using SampleSink = std::function<void(std::span<const short>)>;

  // Without a sink the voice speaks on the sound device in the background;
  // with one, Speak synthesises before it returns and hands the samples to it.
  explicit PinyinVoice(SampleSink sink = {});
  ~PinyinVoice();  // stops speaking
  PinyinVoice(const PinyinVoice&) = delete;
  PinyinVoice& operator=(const PinyinVoice&) = delete;

  bool IsReady() const { return ready_; }
  int SampleRate() const;

  // Stops what is being spoken and starts on pinyin; returns at once when
  // speaking on the sound device.
  void Speak(std::string_view pinyin);
  void Stop();

 private:
  SampleSink sink_;
  bool ready_ = false;
};

}  // namespace kelvaro
