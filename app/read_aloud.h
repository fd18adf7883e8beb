#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "convert/conversion.h"
#include "convert/spoken_text.h"

class QListWidget;
class QWidget;

namespace kelvaro {

class LongTextBox;

// Reading aloud in the main window. "朗读" in the context menus of the source
// box and the pinyin box speaks the selection, or else the whole text; a
// double-click on a word-list entry speaks the entry; Ctrl+R speaks the
// focused one of these boxes, or else the pinyin box. The voice is given the
// readings of the source text as the converter chooses them (a selection in
// the pinyin box stands for the characters its syllables read), and while it
// speaks, the character being heard and its syllable are marked in the two
// boxes, as a finger under the line.
class ReadAloud : public QObject {
  Q_OBJECT

 public:
  // Speaks a text (see SpeechOf) in the background, stopping what it spoke
  // before; "" only stops.
  using Speaker = std::function<void(const std::string& text)>;
  // The form the pinyin box shows the source in.
  using PinyinMode = std::function<DisplayMode()>;

  // window is the parent and holds the shortcut.
  ReadAloud(const PinyinConverter& converter, LongTextBox& sourceBox, LongTextBox& pinyinBox,
            QListWidget& wordList, QWidget& window, Speaker speaker, PinyinMode pinyinMode);

  void Stop();

 public slots:
  // The voice has reached the word at this offset of the text it was given.
  void FollowWord(int offset);
  // The voice has ended: the marks go.
  void EndFollowing();

 private:
  void AddToContextMenu(LongTextBox& box, void (ReadAloud::*speak)());
  void SpeakSourceBox();
  void SpeakPinyinBox();
  void SpeakSource(const QString& text);
  void SpeakFocused();
  // Speaks the source box's characters from to to, marking them as heard
  // there and, through pinyinStarts (see PinyinStartsShown), in the pinyin box.
  void SpeakSourceRange(std::size_t from, std::size_t to, std::vector<std::size_t> pinyinStarts);
  // Where each source character's syllable starts in the pinyin box, when
  // the box shows the conversion of the source box; else empty.
  std::vector<std::size_t> PinyinStartsShown() const;

  const PinyinConverter& converter_;
  LongTextBox& sourceBox_;
  LongTextBox& pinyinBox_;
  Speaker speaker_;
  PinyinMode pinyinMode_;
  // What the voice is speaking from the source box, and where each
  // character's syllable lies in the pinyin box (empty when the box shows
  // something else).
  std::vector<SpokenWord> words_;
  std::vector<std::size_t> pinyinStarts_;
};

}  // namespace kelvaro
