// The window's side of the voice program: the real program speaking into an
// ALSA file sink, and stand-ins that crash, hang or are missing, which must
// leave the window's process running and silent.
#include "app/voice_process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;
using namespace kelvaro;

namespace {

// A program that logs each start to a file and then runs a command.
QString Wrapper(const QTemporaryDir& dir, const QString& command) {
  const QString path = dir.filePath(QStringLiteral("voice.sh"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(QStringLiteral("#!/bin/sh\necho start >> '%1'\nexec %2\n")
                 .arg(dir.filePath(QStringLiteral("starts")), command)
                 .toUtf8());
  file.close();
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return path;
}

int Starts(const QTemporaryDir& dir) {
  QFile file(dir.filePath(QStringLiteral("starts")));
  return file.open(QIODevice::ReadOnly) ? static_cast<int>(file.readAll().count('\n')) : 0;
}

// Voice data whose phonemes file is cut short, which crashes espeak-ng.
void MakeDamagedVoiceData(const fs::path& to) {
  const fs::path from = KELVARO_ESPEAK_DATA;
  fs::create_directories(to);
  for (const auto& entry : fs::directory_iterator(from)) {
    if (entry.path().filename() == "phondata") continue;
    fs::create_symlink(entry.path(), to / entry.path().filename());
  }
  fs::copy_file(from / "phondata", to / "phondata");
  fs::resize_file(to / "phondata", 10000);
}

}  // namespace

class VoiceProcessTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_.emplace();
    QVERIFY(dir_->isValid());
    // HOME holds an ALSA configuration whose sound device takes the sound
    // and drops it.
    WriteAlsaConfiguration(QStringLiteral("pcm.!default { type null }\n"));
    qputenv("HOME", dir_->path().toUtf8());
    qputenv("PULSE_SERVER", "unix:/nonexistent");  // never a sound server of this machine
    // A runtime folder of its own: without one, the sound server's client
    // library makes a folder in /tmp at every start, and after some starts
    // finds every name it tries taken and fails (EEXIST) before ALSA is asked.
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("runtime")));
    QFile::setPermissions(dir_->filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir_->filePath(QStringLiteral("runtime")).toUtf8());
  }

  // The real program: the words come in order, spread over the time the
  // audio takes, then the end; the audio went to the sound device.
  void speaksAndReportsEachWordAsItIsHeard() {
    // Here the sound goes to a file, to be measured.
    WriteAlsaConfiguration(QStringLiteral("pcm.!default { type file slave.pcm \"null\" file "
                                          "\"%1\" format \"raw\" }\n")
                               .arg(SoundFile()));
    VoiceProcess voice(QStringLiteral(KELVARO_VOICE_PROGRAM_PATH), nullptr);
    QSignalSpy words(&voice, &VoiceProcess::WordReached);
    QSignalSpy ended(&voice, &VoiceProcess::Ended);
    QList<qint64> times;
    QElapsedTimer clock;
    connect(&voice, &VoiceProcess::WordReached, this, [&] { times << clock.elapsed(); });
    clock.start();
    voice.Speak("yi4 zhi1 xiao3 niao3");
    QVERIFY(ended.wait(10000));
    QList<int> offsets;
    for (const auto& word : words) offsets << word.at(0).toInt();
    QCOMPARE(offsets, (QList<int>{0, 4, 9, 15}));
    // Over a second of audio at 22050 Hz.
    QVERIFY(QTest::qWaitFor([&] { return QFileInfo(SoundFile()).size() / 2 > 22050; }, 5000));
    const qint64 samples = QFileInfo(SoundFile()).size() / 2;
    // The last word is heard about three quarters into the audio, not at once.
    const qint64 audioMs = samples * 1000 / 22050;
    QVERIFY2(
        times.back() - times.front() > audioMs / 2,
        qPrintable(QStringLiteral("%1 ms of %2").arg(times.back() - times.front()).arg(audioMs)));
  }

  // A new request stops the old one: only the new one's words and end come.
  void aNewRequestStopsTheOld() {
    VoiceProcess voice(QStringLiteral(KELVARO_VOICE_PROGRAM_PATH), nullptr);
    QSignalSpy words(&voice, &VoiceProcess::WordReached);
    QSignalSpy ended(&voice, &VoiceProcess::Ended);
    voice.Speak("ma1 ma1 ma1 ma1 ma1 ma1 ma1 ma1 ma1 ma1");
    QVERIFY(words.wait(5000));
    voice.Speak("ni3 hao3");
    QCOMPARE(ended.count(), 1);  // the first, stopped
    words.clear();
    QVERIFY(QTest::qWaitFor([&] { return ended.count() == 2; }, 10000));
    QList<int> offsets;
    for (const auto& word : words) offsets << word.at(0).toInt();
    QCOMPARE(offsets, (QList<int>{0, 4}));
  }

  // Damaged voice data crashes the voice program, never this process; it is
  // started again at a later request, at most once a second.
  void aCrashLeavesTheCallerRunningAndRestartsLater() {
    MakeDamagedVoiceData(fs::path(dir_->path().toStdString()) / "data" / "espeak-ng-data");
    qputenv("ESPEAK_DATA_PATH", dir_->filePath(QStringLiteral("data")).toUtf8());
    const QString program =
        Wrapper(*dir_, QStringLiteral("'%1'").arg(QStringLiteral(KELVARO_VOICE_PROGRAM_PATH)));
    VoiceProcess voice(program, nullptr);
    QSignalSpy ended(&voice, &VoiceProcess::Ended);
    voice.Speak("ni3 hao3");
    QVERIFY(ended.wait(5000));
    voice.Speak("ni3 hao3");  // within the second: not started again
    // A start would show at once: a process that is starting.
    for (const QProcess* process : voice.findChildren<QProcess*>()) {
      QCOMPARE(process->state(), QProcess::NotRunning);
    }
    QCOMPARE(Starts(*dir_), 1);
    QTest::qWait(VoiceProcess::kRestartMilliseconds);
    voice.Speak("ni3 hao3");
    QVERIFY(QTest::qWaitFor([&] { return ended.count() == 2; }, 5000));
    QCOMPARE(Starts(*dir_), 2);
    qunsetenv("ESPEAK_DATA_PATH");
  }

  // A program that never answers is ended after a few seconds.
  void aHungProgramIsEnded() {
    VoiceProcess voice(Wrapper(*dir_, QStringLiteral("sleep 600")), nullptr);
    QSignalSpy ended(&voice, &VoiceProcess::Ended);
    QElapsedTimer clock;
    clock.start();
    voice.Speak("ni3 hao3");
    QVERIFY(ended.wait(VoiceProcess::kAnswerMilliseconds + 5000));
    // Qt may fire a timer up to a twentieth early.
    QVERIFY2(clock.elapsed() >= VoiceProcess::kAnswerMilliseconds * 9 / 10,
             qPrintable(QString::number(clock.elapsed())));
    voice.Speak("ni3 hao3");  // started again: more than a second has passed
    QVERIFY(QTest::qWaitFor([&] { return Starts(*dir_) == 2; }, 5000));
  }

  void aMissingProgramIsSilent() {
    VoiceProcess voice(dir_->filePath(QStringLiteral("no-such-program")), nullptr);
    QSignalSpy ended(&voice, &VoiceProcess::Ended);
    voice.Speak("ni3 hao3");
    QVERIFY(ended.wait(5000));
  }

 private:
  void WriteAlsaConfiguration(const QString& text) {
    QFile alsa(dir_->filePath(QStringLiteral(".asoundrc")));
    QVERIFY(alsa.open(QIODevice::WriteOnly | QIODevice::Truncate));
    alsa.write(text.toUtf8());
  }
  QString SoundFile() const { return dir_->filePath(QStringLiteral("sound.raw")); }

  std::optional<QTemporaryDir> dir_;
};

QTEST_MAIN(VoiceProcessTest)
#include "voice_process_test.moc"
