#include "app/voice_process.h"

#include <QProcess>

#include "voice/voice_protocol.h"

namespace kelvaro {

VoiceProcess::VoiceProcess(QString program, QObject* parent)
    : QObject(parent), program_(std::move(program)) {
  answerTimer_.setSingleShot(true);
  answerTimer_.setInterval(kAnswerMilliseconds);
  connect(&answerTimer_, &QTimer::timeout, this, &VoiceProcess::GiveUp);
}

VoiceProcess::~VoiceProcess() {
  if (!process_) return;
  process_->disconnect(this);
  process_->closeWriteChannel();  // the program ends when its input closes
  if (!process_->waitForFinished(500)) {
    process_->kill();
    process_->waitForFinished(500);
  }
}

bool VoiceProcess::EnsureRunning() {
  if (process_ && process_->state() != QProcess::NotRunning) return true;
  if (sinceStart_.isValid() && sinceStart_.elapsed() < kRestartMilliseconds) return false;
  process_ = new QProcess(this);
  process_->setProgram(program_);
  process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  connect(process_, &QProcess::readyReadStandardOutput, this, &VoiceProcess::ReadReplies);
  connect(process_, &QProcess::finished, this, &VoiceProcess::GiveUp);
  connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) GiveUp();
  });
  sinceStart_.start();
  process_->start();  // writes wait in the process's buffer until it runs
  return true;
}

void VoiceProcess::Speak(const std::string& text) {
  if (request_ != 0) {
    request_ = 0;
    emit Ended();
  }
  if (text.empty()) {
    if (process_ && process_->state() != QProcess::NotRunning) {
      process_->write(kStopRequest.data(), static_cast<qint64>(kStopRequest.size()));
    }
    return;
  }
  if (!EnsureRunning()) return;
  request_ = ++lastRequest_;
  const std::string request = SpeakRequest(request_, text);
  process_->write(request.data(), static_cast<qint64>(request.size()));
  answerTimer_.start();
}

void VoiceProcess::ReadReplies() {
  while (process_->canReadLine()) {
    QByteArray line = process_->readLine();
    line.chop(1);
    const auto reply = ParseReply(std::string_view(line.constData(), line.size()));
    if (!reply || reply->id != request_ || request_ == 0) continue;
    switch (reply->kind) {
      case VoiceReply::Kind::kStarted:
        answerTimer_.stop();
        break;
      case VoiceReply::Kind::kWord:
        emit WordReached(static_cast<int>(reply->offset));
        break;
      case VoiceReply::Kind::kEnd:
        request_ = 0;
        emit Ended();
        break;
    }
  }
}

void VoiceProcess::GiveUp() {
  answerTimer_.stop();
  if (process_) {
    process_->disconnect(this);
    process_->kill();
    process_->deleteLater();
    process_ = nullptr;
  }
  if (request_ != 0) {
    request_ = 0;
    emit Ended();
  }
}

}  // namespace kelvaro
