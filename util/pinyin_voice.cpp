#include "util/pinyin_voice.h"

#include <espeak-ng/espeak_ng.h>

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
  return espeak_ng_InitializeOutput(mode, 0, nullptr) == ENS_OK &&
         espeak_ng_SetVoiceByName(kVoiceName) == ENS_OK &&
         espeak_ng_SetParameter(espeakRATE, kChildRate, 0) == ENS_OK;
}

// Called by espeak-ng with each piece of synthesised audio; user_data is the
// sink of the Speak call.
int ToSink(short* samples, int count, espeak_EVENT* events) {
  const auto* sink = static_cast<const PinyinVoice::SampleSink*>(events->user_data);
  if (samples && count > 0 && sink) {
    (*sink)(std::span<const short>(samples, static_cast<std::size_t>(count)));
  }
  return 0;  // go on
}

}  // namespace

PinyinVoice::PinyinVoice(SampleSink sink) : sink_(std::move(sink)) {
  const EngineState wanted = sink_ ? EngineState::kMemory : EngineState::kSoundDevice;
  if (engineState == EngineState::kUnloaded) {
    engineState = LoadEngine(sink_ != nullptr) ? wanted : EngineState::kFailed;
  }
  ready_ = engineState == wanted;
  if (ready_) {
    espeak_SetSynthCallback(sink_ ? ToSink : nullptr);
  }
}

PinyinVoice::~PinyinVoice() { Stop(); }

int PinyinVoice::SampleRate() const { return ready_ ? espeak_ng_GetSampleRate() : 0; }

void PinyinVoice::Speak(std::string_view pinyin) {
  if (!ready_) return;
  Stop();
  if (pinyin.empty()) return;
  const std::string text(pinyin);
  void* sink = sink_ ? &sink_ : nullptr;
  // SSML for the voice elements around Latin words.
  espeak_ng_Synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                       espeakCHARS_UTF8 | espeakSSML, nullptr, sink);
}

void PinyinVoice::Stop() {
  if (ready_) espeak_ng_Cancel();
}

}  // namespace kelvaro
