#include "app/read_aloud.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <algorithm>
#include <vector>

#include "app/list_entry.h"
#include "app/qt_text.h"
#include "convert/spoken_pinyin.h"
#include "textbox/long_text_box.h"

namespace kelvaro {
namespace {

const QString kReadAloudText = QStringLiteral("朗读");
const QKeySequence kReadAloudKey(Qt::CTRL | Qt::Key_R);

std::pair<std::size_t, std::size_t> Selection(const LongTextBox& box) {
  const auto from = static_cast<std::size_t>(std::min(box.cursorPosition(), box.anchorPosition()));
  const auto to = static_cast<std::size_t>(std::max(box.cursorPosition(), box.anchorPosition()));
  return {from, to};
}

}  // namespace

ReadAloud::ReadAloud(const PinyinConverter& converter, LongTextBox& sourceBox,
                     LongTextBox& pinyinBox, QListWidget& wordList, QWidget& window,
                     Speaker speaker, PinyinMode pinyinMode)
    : QObject(&window),
      converter_(converter),
      sourceBox_(sourceBox),
      pinyinBox_(pinyinBox),
      speaker_(std::move(speaker)),
      pinyinMode_(std::move(pinyinMode)) {
  AddToContextMenu(sourceBox, &ReadAloud::SpeakSourceBox);
  AddToContextMenu(pinyinBox, &ReadAloud::SpeakPinyinBox);
  // The first click of the double-click has chosen the entry as usual.
  connect(&wordList, &QListWidget::itemDoubleClicked, this,
          [this](const QListWidgetItem* item) { SpeakSource(WholeEntry(*item)); });
  auto* shortcut = new QAction(kReadAloudText, &window);
  shortcut->setShortcut(kReadAloudKey);
  window.addAction(shortcut);
  connect(shortcut, &QAction::triggered, this, &ReadAloud::SpeakFocused);
  // The marks stand for characters of the text as it was.
  connect(&sourceBox, &LongTextBox::textChanged, this, &ReadAloud::EndFollowing);
  connect(&pinyinBox, &LongTextBox::textChanged, this, &ReadAloud::EndFollowing);
}

void ReadAloud::AddToContextMenu(LongTextBox& box, void (ReadAloud::*speak)()) {
  box.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&box, &LongTextBox::customContextMenuRequested, this,
          [this, &box, speak](const QPoint& at) {
            QMenu* menu = box.createStandardContextMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->addSeparator();
            menu->addActions(box.actions());  // what the window adds to the box (打印注音…)
            QAction* item = menu->addAction(kReadAloudText, this, speak);
            item->setShortcut(kReadAloudKey);  // shown beside the item
            menu->popup(box.viewport()->mapToGlobal(at));
          });
}

std::vector<std::size_t> ReadAloud::PinyinStartsShown() const {
  const std::u16string_view source = Utf16View(sourceBox_.toPlainText());
  const DisplayMode mode = pinyinMode_();
  if (converter_.Convert(source, mode).pinyin != Utf16View(pinyinBox_.toPlainText())) return {};
  return converter_.PinyinStarts(source, mode);
}

void ReadAloud::SpeakSourceRange(std::size_t from, std::size_t to,
                                 std::vector<std::size_t> pinyinStarts) {
  // A part is read in the context of the whole text, as the pinyin box
  // shows it (重 of 重庆 is chong2).
  Speech speech = SpeechOf(converter_, Utf16View(sourceBox_.toPlainText()), from, to);
  EndFollowing();
  speaker_(speech.text);
  words_ = std::move(speech.words);
  pinyinStarts_ = std::move(pinyinStarts);
}

void ReadAloud::SpeakSourceBox() {
  const auto [from, to] = Selection(sourceBox_);
  if (from < to) {
    SpeakSourceRange(from, to, PinyinStartsShown());
  } else {
    SpeakSourceRange(0, std::u16string_view::npos, PinyinStartsShown());
  }
}

void ReadAloud::SpeakPinyinBox() {
  std::vector<std::size_t> starts = PinyinStartsShown();
  auto [from, to] = Selection(pinyinBox_);
  if (starts.empty()) {
    // Pinyin typed or changed by hand is read as it stands.
    const QString shown = from < to ? pinyinBox_.selectedText() : pinyinBox_.toPlainText();
    const auto readings = ReadingsOfMarkedPinyin(Utf16View(shown));
    const std::vector<std::u16string_view> views(readings.begin(), readings.end());
    EndFollowing();
    speaker_(SpokenPinyin(views));
    return;
  }
  if (from == to) {
    SpeakSourceRange(0, std::u16string_view::npos, std::move(starts));
    return;
  }
  // The characters whose syllables the selection touches, spaces aside.
  const QString& pinyin = pinyinBox_.toPlainText();
  while (from < to && pinyin[static_cast<qsizetype>(from)] == u' ') ++from;
  while (to > from && pinyin[static_cast<qsizetype>(to - 1)] == u' ') --to;
  if (from == to) {
    Stop();
    return;
  }
  const auto first = std::upper_bound(starts.begin() + 1, starts.end(), from) - starts.begin() - 1;
  const auto end = std::lower_bound(starts.begin(), starts.end() - 1, to) - starts.begin();
  SpeakSourceRange(static_cast<std::size_t>(first),
                   std::max(static_cast<std::size_t>(end), static_cast<std::size_t>(first)),
                   std::move(starts));
}

void ReadAloud::SpeakSource(const QString& text) {
  if (text == sourceBox_.toPlainText()) {
    SpeakSourceRange(0, std::u16string_view::npos, PinyinStartsShown());
  } else {
    EndFollowing();
    speaker_(SpeechOf(converter_, Utf16View(text)).text);
  }
}

void ReadAloud::SpeakFocused() {
  if (sourceBox_.hasFocus()) {
    SpeakSourceBox();
  } else {
    SpeakPinyinBox();
  }
}

void ReadAloud::FollowWord(int offset) {
  auto word =
      std::upper_bound(words_.begin(), words_.end(), static_cast<std::size_t>(offset),
                       [](std::size_t at, const SpokenWord& spoken) { return at < spoken.offset; });
  if (word == words_.begin()) return;
  --word;
  sourceBox_.SetFollowMark(static_cast<int>(word->from), static_cast<int>(word->to));
  if (word->to < pinyinStarts_.size()) {
    const QString& pinyin = pinyinBox_.toPlainText();
    auto start = static_cast<int>(pinyinStarts_[word->from]);
    auto end = static_cast<int>(pinyinStarts_[word->to]);
    while (end > start && pinyin[end - 1] == u' ') --end;  // the space after a syllable
    pinyinBox_.SetFollowMark(start, end);
  }
}

void ReadAloud::EndFollowing() {
  words_.clear();
  pinyinStarts_.clear();
  sourceBox_.SetFollowMark(0, 0);
  pinyinBox_.SetFollowMark(0, 0);
}

void ReadAloud::Stop() {
  EndFollowing();
  speaker_(std::string());
}

}  // namespace kelvaro
