// The input's bytes choose the steps of the random walk that holds the text
// box to a plain text edit (textbox/tests/text_box_walk.h): a hang (the
// watchdog), a crash or an answer outside the text ends the run with the
// input that caused it; with KELVARO_FUZZ_PARITY=1 in the environment, so
// does any answer unlike the plain text edit's.
#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "check.h"
#include "textbox/tests/text_box_walk.h"

namespace {

constexpr int kCallLimitMilliseconds = 1000;
constexpr int kMostSteps = 40;

// Read past the end, the input gives zeros: the walk then ends.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  int Pick(int n) {
    int value = 0;
    for (int range = 1; range < n; range *= 256) value = value * 256 + (done() ? 0 : data_[at_++]);
    return value % n;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Lives as long as the process: destroyed at exit, it would run after the
  // statics that its clean-up needs.
  new QApplication(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static kelvaro::Watchdog watchdog(kCallLimitMilliseconds);
  static const auto check = qEnvironmentVariableIntValue("KELVARO_FUZZ_PARITY") == 1
                                ? kelvaro::TextBoxWalk::Check::kParity
                                : kelvaro::TextBoxWalk::Check::kPromises;
  Bytes bytes(data, size);
  kelvaro::TextBoxWalk walk([&](int n) { return bytes.Pick(n); }, watchdog, check);
  for (int step = 1; step <= kMostSteps && !bytes.done(); ++step) {
    if (const auto different = walk.Step(QStringLiteral("step %1").arg(step))) {
      std::fprintf(stderr, "%s\nsteps:\n%s", qPrintable(*different), qPrintable(walk.log()));
      Check(false);
    }
  }
  return 0;
}
