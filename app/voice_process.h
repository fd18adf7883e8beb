#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <string>

class QProcess;

namespace kelvaro {

// The voice program, started at the first request and spoken to through a
// pipe. Whatever happens to it (missing, crashed, hung) leaves the window
// running and silent: a program that ends is started again at a later
// request, at most once a second, and one that does not take a request
// within a few seconds is ended.
class VoiceProcess : public QObject {
  Q_OBJECT

 public:
  VoiceProcess(QString program, QObject* parent);
  ~VoiceProcess() override;  // ends the program

  // Speaks text (see SpeechOf), stopping what was being spoken; "" only stops.
  void Speak(const std::string& text);

  // How long the program may take to answer a request.
  static constexpr int kAnswerMilliseconds = 3000;
  // The least time between two starts of the program.
  static constexpr int kRestartMilliseconds = 1000;

 signals:
  // The word at this offset of the text being spoken is heard now.
  void WordReached(int offset);
  // The text has been spoken, or will not be any further.
  void Ended();

 private:
  bool EnsureRunning();
  void ReadReplies();
  void GiveUp();  // ends a program that failed, and the request with it

  QString program_;
  QProcess* process_ = nullptr;
  QElapsedTimer sinceStart_;
  QTimer answerTimer_;
  std::uint64_t request_ = 0;  // the one being spoken, or 0
  std::uint64_t lastRequest_ = 0;
};

}  // namespace kelvaro
