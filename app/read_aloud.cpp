#include "app/read_aloud.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/list_entry.h"
#include "app/long_text_box.h"
#include "app/qt_text.h"
#include "convert/conversion.h"
#include "convert/spoken_pinyin.h"
#include "convert/spoken_text.h"
#include "util/pinyin_voice.h"

namespace kelvaro {
namespace {

const QString kReadAloudText = QStringLiteral("朗读");
const QKeySequence kReadAloudKey(Qt::CTRL | Qt::Key_R);

}  // namespace

ReadAloud::Speaker ReadAloud::VoiceSpeaker() {
  auto voice = std::make_shared<std::unique_ptr<PinyinVoice>>();
  return [voice](const std::string& pinyin) {
    if (!*voice) {
      if (pinyin.empty()) return;
      *voice = std::make_unique<PinyinVoice>();
    }
    (*voice)->Speak(pinyin);
  };
}

ReadAloud::ReadAloud(const PinyinConverter& converter, LongTextBox& sourceBox,
                     LongTextBox& pinyinBox, QListWidget& wordList, QWidget& window,
                     Speaker speaker)
    : QObject(&window),
      converter_(converter),
      sourceBox_(sourceBox),
      pinyinBox_(pinyinBox),
      speaker_(std::move(speaker)) {
  AddToContextMenu(sourceBox, &ReadAloud::SpeakSourceBox);
  AddToContextMenu(pinyinBox, &ReadAloud::SpeakPinyinBox);
  // The first click of the double-click has chosen the entry as usual.
  connect(&wordList, &QListWidget::itemDoubleClicked, this,
          [this](const QListWidgetItem* item) { SpeakSource(WholeEntry(*item)); });
  auto* shortcut = new QAction(kReadAloudText, &window);
  shortcut->setShortcut(kReadAloudKey);
  window.addAction(shortcut);
  connect(shortcut, &QAction::triggered, this, &ReadAloud::SpeakFocused);
}

void ReadAloud::AddToContextMenu(LongTextBox& box, void (ReadAloud::*speak)()) {
  box.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&box, &LongTextBox::customContextMenuRequested, this,
          [this, &box, speak](const QPoint& at) {
            QMenu* menu = box.createStandardContextMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->addSeparator();
            QAction* item = menu->addAction(kReadAloudText, this, speak);
            item->setShortcut(kReadAloudKey);  // shown beside the item
            menu->popup(box.viewport()->mapToGlobal(at));
          });
}

void ReadAloud::SpeakSourceBox() {
  // A selection is read in the context of the whole text, as the pinyin box
  // shows it (重 of 重庆 is chong2).
  const int from = std::min(sourceBox_.cursorPosition(), sourceBox_.anchorPosition());
  const int to = std::max(sourceBox_.cursorPosition(), sourceBox_.anchorPosition());
  const bool selected = from < to;
  speaker_(SpeechOf(converter_, Utf16View(sourceBox_.toPlainText()),
                      selected ? static_cast<std::size_t>(from) : 0,
                      selected ? static_cast<std::size_t>(to) : std::u16string_view::npos)
               .text);
}

void ReadAloud::SpeakPinyinBox() {
  const QString selected = pinyinBox_.selectedText();
  const auto readings =
      ReadingsOfMarkedPinyin(Utf16View(selected.isEmpty() ? pinyinBox_.toPlainText() : selected));
  const std::vector<std::u16string_view> views(readings.begin(), readings.end());
  speaker_(SpokenPinyin(views));
}

void ReadAloud::SpeakSource(const QString& text) {
  speaker_(SpeechOf(converter_, Utf16View(text)).text);
}

void ReadAloud::SpeakFocused() {
  if (sourceBox_.hasFocus()) {
    SpeakSourceBox();
  } else {
    SpeakPinyinBox();
  }
}

void ReadAloud::Stop() { speaker_(std::string()); }

}  // namespace kelvaro
