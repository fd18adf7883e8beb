#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QListWidget;
class QWidget;

namespace kelvaro {

class LongTextBox;
class PinyinConverter;

// Reading aloud in the main window. "朗读" in the context menus of the source
// box and the pinyin box speaks the selection, or else the whole text; a
// double-click on a word-list entry speaks the entry; Ctrl+R speaks the
// focused one of these boxes, or else the pinyin box. The voice always gets
// the tone-numbered readings that the pinyin box shows.
class ReadAloud : public QObject {
  Q_OBJECT

 public:
  // Speaks tone-numbered pinyin ("chong2 qing4") in the background, stopping
  // what it spoke before; "" only stops.
  using Speaker = std::function<void(const std::string& pinyin)>;

  // espeak-ng's pinyin voice on the sound device, loaded at the first request.
  static Speaker VoiceSpeaker();

  // window is the parent and holds the shortcut.
  ReadAloud(const PinyinConverter& converter, LongTextBox& sourceBox, LongTextBox& pinyinBox,
            QListWidget& wordList, QWidget& window, Speaker speaker = VoiceSpeaker());

  void Stop();

 private:
  void AddToContextMenu(LongTextBox& box, void (ReadAloud::*speak)());
  void SpeakSourceBox();
  void SpeakPinyinBox();
  void SpeakSource(const QString& text);
  void SpeakFocused();

  const PinyinConverter& converter_;
  LongTextBox& sourceBox_;
  LongTextBox& pinyinBox_;
  Speaker speaker_;
};

}  // namespace kelvaro
