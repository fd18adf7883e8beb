#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace kelvaro {

// espeak-ng's Mandarin voice that reads tone-numbered pinyin ("chong2 qing4",
// ü written v), with SSML voice elements for words in other voices. Any
// failure (no voice data, no sound device, a library error) leaves a voice
// that stays silent; nothing is reported.
//
// espeak-ng keeps one engine per process, and once released it cannot be
// loaded again; so the first voice loads it, in its output form, and it stays
// loaded until the process ends. Keep one voice at a time.
class PinyinVoice {
 public:
  // Mono 16-bit samples at SampleRate().
  using SampleSink = std::function<void(std::span<const short>)>;
  // A word reached or (on the sound device only) a request ended, at a time
  // from the request's start as the audio goes; called on a thread of the
  // engine when speaking on the sound device.
  struct Event {
    enum class Kind { kWord, kEnd };
    Kind kind;
    std::uint64_t request;
    std::size_t offset;  // of the word in the request's text (the text is ASCII)
    int milliseconds;
  };
  using EventSink = std::function<void(const Event&)>;

  // Without a sample sink the voice speaks on the sound device in the
  // background; with one, Speak synthesises before it returns and hands the
  // samples to it.
  explicit PinyinVoice(SampleSink samples = {}, EventSink events = {});
  ~PinyinVoice();  // stops speaking
  PinyinVoice(const PinyinVoice&) = delete;
  PinyinVoice& operator=(const PinyinVoice&) = delete;

  bool IsReady() const { return ready_; }
  int SampleRate() const;

  // Stops what is being spoken and starts on text; returns at once when
  // speaking on the sound device.
  void Speak(std::string_view text, std::uint64_t request = 0);
  void Stop();

 private:
  friend struct VoiceCallback;

  SampleSink samples_;
  EventSink events_;
  // The time of the latest event of the latest request, on the engine's thread.
  std::uint64_t latestRequest_ = 0;
  int latestMilliseconds_ = 0;
  bool ready_ = false;
};

}  // namespace kelvaro
