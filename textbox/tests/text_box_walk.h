#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "textbox/long_text_box.h"

namespace kelvaro {

// Ends the process, naming what it was doing, when one call takes longer
// than the limit: a hang becomes a failure that says where it happened.
class Watchdog {
 public:
  explicit Watchdog(int limitMilliseconds);
  ~Watchdog();
  // Starts timing a call; the label is printed if it overruns.
  void Start(const QString& label);
  void Stop();

 private:
  const int limit_;
  std::mutex mutex_;
  QByteArray label_;
  std::atomic<long long> deadline_{0};  // steady-clock milliseconds, 0 when idle
  std::atomic<bool> running_{true};
  std::thread thread_;
};

// A random walk that gives a LongTextBox and a plain text edit of the same
// font and size the same events, and after every step asks both every
// input-method and accessible-text question at every offset of their text.
// Choices come from `pick(n)`, a number below n: a seeded generator in the
// unit test, the fuzzer's bytes in the fuzz target.
class TextBoxWalk {
 public:
  using Pick = std::function<int(int n)>;
  // Whether answers must be the same in both boxes (parity), or only come in
  // time and lie in the text: the fuzz target hunts hangs and crashes with
  // the latter unless asked for parity.
  enum class Check { kParity, kPromises };
  TextBoxWalk(Pick pick, Watchdog& watchdog, Check check = Check::kParity);
  ~TextBoxWalk();

  // Runs one step and compares the boxes; a description of the first
  // difference, or nothing. `where` prefixes every watchdog label.
  std::optional<QString> Step(const QString& where);
  // The steps so far, one per line.
  const QString& log() const { return log_; }

 private:
  void MakeBoxes(const QString& text);
  QString RandomText(int pieces);
  void RunStep();
  std::optional<QString> Compare();
  std::optional<QString> CompareInputMethod(const QString& at);
  // The box's caret lies whole in its viewport.
  std::optional<QString> CaretShownWhole(const QString& at);
  std::optional<QString> CompareAccessible();
  template <typename F>
  auto Timed(const QString& what, F call);

  Pick pick_;
  Watchdog& watchdog_;
  const bool parity_;
  QString where_;
  QString log_;
  QString composed_;                 // what the input method is composing
  std::unique_ptr<QWidget> window_;  // holds both boxes side by side
  QPlainTextEdit* plain_ = nullptr;
  LongTextBox* box_ = nullptr;
  // The box's change signals in this step, against the edits it made.
  int signals_ = 0;
  int edits_ = 0;
  QString signalledText_;               // the text at the last signal
  std::optional<QString> wrongChange_;  // the first change reported wrong
};

}  // namespace kelvaro
