// kelvaro-voice: the window's voice, in a process of its own, so that a
// failure inside the speech engine (damaged voice data, a hang) never takes
// the window with it. It reads requests from standard input and answers on
// standard output (see voice_protocol.h), speaking on the sound device. It
// ends when its standard input closes.
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "voice/pinyin_voice.h"
#include "voice/voice_protocol.h"

namespace kelvaro {
namespace {

using Clock = std::chrono::steady_clock;

// Writes whole reply lines from any thread; false once the window is gone.
class ReplyWriter {
 public:
  bool Write(const VoiceReply& reply) {
    const std::string line = ReplyLine(reply);
    const std::lock_guard lock(mutex_);
    for (std::size_t done = 0; done < line.size();) {
      const ssize_t written = ::write(STDOUT_FILENO, line.data() + done, line.size() - done);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      done += static_cast<std::size_t>(written);
    }
    return true;
  }

 private:
  std::mutex mutex_;
};

// Holds each word event back until its audio is heard. The engine reports
// the words of a piece of audio as soon as it hands the piece to the sound
// device, ahead of the sound; each event carries its time from the start of
// the request, which begins with its first event.
class Pacer {
 public:
  explicit Pacer(ReplyWriter& out) : out_(out), thread_([this] { Run(); }) {}
  ~Pacer() {
    {
      const std::lock_guard lock(mutex_);
      done_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }

  // Forgets what is waiting; only events of this request are taken from now on.
  void Begin(std::uint64_t request) {
    const std::lock_guard lock(mutex_);
    request_ = request;
    start_.reset();
    waiting_.clear();
    changed_.notify_all();
  }

  void Add(const PinyinVoice::Event& event) {
    const std::lock_guard lock(mutex_);
    if (event.request != request_) return;
    if (!start_) start_ = Clock::now();
    const VoiceReply reply{event.kind == PinyinVoice::Event::Kind::kWord ? VoiceReply::Kind::kWord
                                                                         : VoiceReply::Kind::kEnd,
                           event.request, event.offset};
    waiting_.push_back({*start_ + std::chrono::milliseconds(event.milliseconds), reply});
    changed_.notify_all();
  }

 private:
  struct Waiting {
    Clock::time_point due;
    VoiceReply reply;
  };

  void Run() {
    std::unique_lock lock(mutex_);
    while (!done_) {
      if (waiting_.empty()) {
        changed_.wait(lock);
      } else if (Clock::now() < waiting_.front().due) {
        changed_.wait_until(lock, waiting_.front().due);
      } else {
        const VoiceReply reply = waiting_.front().reply;
        waiting_.pop_front();
        lock.unlock();
        out_.Write(reply);
        lock.lock();
      }
    }
  }

  ReplyWriter& out_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t request_ = 0;
  std::optional<Clock::time_point> start_;
  std::deque<Waiting> waiting_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace
}  // namespace kelvaro

int main() {
  using namespace kelvaro;
  std::signal(SIGPIPE, SIG_IGN);  // a write to a closed window fails instead
  ReplyWriter out;
  Pacer pacer(out);
  PinyinVoice voice({}, [&](const PinyinVoice::Event& event) { pacer.Add(event); });
  RequestReader requests;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    requests.Add(std::string_view(buffer, static_cast<std::size_t>(count)));
    while (const auto request = requests.Next()) {
      if (request->stop) {
        voice.Stop();
        pacer.Begin(0);
        continue;
      }
      pacer.Begin(request->id);
      if (!out.Write({VoiceReply::Kind::kStarted, request->id, 0})) return 0;
      if (voice.IsReady() && !request->text.empty()) {
        voice.Speak(request->text, request->id);  // stops what it spoke before
      } else {
        voice.Stop();
        out.Write({VoiceReply::Kind::kEnd, request->id, 0});  // silent
      }
    }
  }
  voice.Stop();
  return 0;
}
