#include "voice/pinyin_voice.h"

#include <espeak-ng/espeak_ng.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace kelvaro {
namespace {

constexpr char kVoiceName[] = "cmn-latn-pinyin";
// Words a minute as espeak-ng counts them. Its default, 175, reads pinyin at
// about four syllables a second; 120 gives about 2.7, which a first-grader
// can follow with a finger under the line.
constexpr int kChildRate = 120;

enum class EngineState { kUnloaded, kSoundDevice, kMemory, kFailed };
EngineState engineState = EngineState::kUnloaded;

// Loads the engine and the voice for one output form; false when it cannot.
bool LoadEngine(bool toMemory) {
  espeak_ng_InitializePath(nullptr);  // the system's data, or ESPEAK_DATA_PATH
  espeak_ng_ERROR_CONTEXT context = nullptr;
  const espeak_ng_STATUS loaded = espeak_ng_Initialize(&context);
  espeak_ng_ClearErrorContext(&context);
  if (loaded != ENS_OK) return false;
  const auto mode = toMemory ? ENOUTPUT_MODE_SYNCHRONOUS : ENOUTPUT_MODE_SPEAK_AUDIO;
  if (espeak_ng_InitializeOutput(mode, 0, nullptr) != ENS_OK ||
      espeak_ng_SetVoiceByName(kVoiceName) != ENS_OK ||
      espeak_ng_SetParameter(espeakRATE, kChildRate, 0) != ENS_OK) {
    return false;
  }
  // On the sound device the rate is set by the engine's thread, which opens
  // the device for it; a first text cancelled meanwhile would open it too.
  return espeak_ng_Synchronize() == ENS_OK;
}

// The voice that espeak-ng's callback reports to; one at a time.
PinyinVoice* currentVoice = nullptr;

}  // namespace

// Called by espeak-ng with each piece of synthesised audio and the events in
// it; user_data is the request.
struct VoiceCallback {
  static int Handle(short* samples, int count, espeak_EVENT* events);
};

int VoiceCallback::Handle(short* samples, int count, espeak_EVENT* events) {
  PinyinVoice* voice = currentVoice;
  if (!voice) return 0;
  if (samples && count > 0 && voice->samples_) {
    voice->samples_(std::span<const short>(samples, static_cast<std::size_t>(count)));
  }
  if (!voice->events_) return 0;
  for (; events->type != espeakEVENT_LIST_TERMINATED; ++events) {
    const auto request =
        static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(events->user_data));
    // The end of the request comes without a time; its last sentence's end has one.
    int& latest = voice->latestMilliseconds_;
    if (request != voice->latestRequest_) latest = 0;
    voice->latestRequest_ = request;
    latest = std::max(latest, events->audio_position);
    if (events->type == espeakEVENT_WORD && events->text_position > 0) {
      voice->events_({PinyinVoice::Event::Kind::kWord, request,
                      static_cast<std::size_t>(events->text_position - 1), events->audio_position});
    } else if (events->type == espeakEVENT_MSG_TERMINATED) {
      voice->events_({PinyinVoice::Event::Kind::kEnd, request, 0, latest});
    }
  }
  return 0;  // go on
}

PinyinVoice::PinyinVoice(SampleSink samples, EventSink events)
    : samples_(std::move(samples)), events_(std::move(events)) {
  const EngineState wanted = samples_ ? EngineState::kMemory : EngineState::kSoundDevice;
  if (engineState == EngineState::kUnloaded) {
    engineState = LoadEngine(samples_ != nullptr) ? wanted : EngineState::kFailed;
  }
  ready_ = engineState == wanted;
  if (ready_) {
    currentVoice = this;
    espeak_SetSynthCallback(VoiceCallback::Handle);
  }
}

PinyinVoice::~PinyinVoice() {
  Stop();
  if (currentVoice == this) currentVoice = nullptr;
}

int PinyinVoice::SampleRate() const { return ready_ ? espeak_ng_GetSampleRate() : 0; }

void PinyinVoice::Speak(std::string_view spoken, std::uint64_t request) {
  if (!ready_) return;
  Stop();
  if (spoken.empty()) return;
  const std::string text(spoken);
  void* requestData = reinterpret_cast<void*>(static_cast<std::uintptr_t>(request));
  // SSML for the voice elements around Latin words.
  espeak_ng_Synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                       espeakCHARS_UTF8 | espeakSSML, nullptr, requestData);
}

void PinyinVoice::Stop() {
  // Cancelling flushes the sound device even when nothing is being spoken,
  // and a flush that meets the engine's thread opening the device for the
  // next text makes that open fail (EEXIST): cancel only what is spoken.
  if (ready_ && espeak_IsPlaying()) espeak_ng_Cancel();
}

}  // namespace kelvaro
