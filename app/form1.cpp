#include "app/form1.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>
#include <tuple>
#include <type_traits>

#include "app/accessibility.h"
#include "app/clickable_label.h"
#include "app/control_style.h"
#include "app/form1_design.h"
#include "app/form2.h"
#include "app/home_page.h"
#include "app/list_entry.h"
#include "app/picture.h"
#include "app/print_sheet.h"
#include "app/program_texts.h"
#include "app/qt_text.h"
#include "app/read_aloud.h"
#include "app/twips.h"
#include "app/voice_process.h"
#include "app/word_list_box.h"
#include "keyboard/key_markers.h"
#include "textbox/long_text_box.h"
#include "textbox/plain_text_box.h"
#include "util/shell_open.h"
#include "wordlist/word_list_file.h"
#include "wordlist/word_list_location.h"

namespace kelvaro {
namespace {

const QString kSampleText = QStringLiteral(
    "请把要练习的文字打进或者拷贝到这个文字框里，下面马上就会显示每个字的拼音和打字提示，"
    "再到最下面的打字框里用拼音输入法练习输入。\n"
    "家长的话：孩子已经学会了一些拼音，可是还不熟悉键盘，打字时常常找不到该按的键。"
    "有了这个小工具，孩子看着拼音和键盘上的提示，就能自己打出想写的字了。\n");

const QColor kDarkBlue(0, 0, 192);

// A multi-line, word-wrapped, editable text box with a vertical scroll bar: a
// LongTextBox for the source box and for the pinyin and hint boxes, which
// hold its text's length in one paragraph and change at every keystroke; a
// text edit for the practice box.
template <typename Box>
Box* MakeTextBox(QWidget* parent, const QString& name, const QRect& geometry, double pointSize) {
  auto* box = new Box(parent);
  box->setObjectName(name);
  box->setGeometry(geometry);
  box->setFont(SongTiFont(pointSize));
  if constexpr (std::is_base_of_v<QPlainTextEdit, Box>) {
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
  }
  return box;
}

// Runs one step of the load, skipping it when it fails, so that the next
// step still runs.
template <typename Step>
void IgnoringFailure(Step&& step) {
  try {
    step();
  } catch (...) {
  }
}

// The restored window's client size, fitted to the screen.
QSize RestoredClientSize(const QWidget& window) {
  QSize size =
      TwipsScale::Of(window).ToPixelSize(kForm1Design.clientWidth, kForm1Design.clientHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    size = size.boundedTo(screen->availableGeometry().size());
  }
  return size;
}

}  // namespace

Form1::Form1(std::filesystem::path programDirectory)
    : programDirectory_(std::move(programDirectory)), converter_(PinyinDictionary::LoadBuiltIn()) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(kProgramCaption);
  setWindowIcon(ProgramIcon());
  setFont(SongTiFont(9));  // labels and buttons, as on a Chinese desktop
  InstallAccessibility();
  CreateControls();
  resize(RestoredClientSize(*this));
  Form_Load();
}

Form1::~Form1() {
  // The members go first and the child controls after them, so no control
  // may call back in from here on: an input method commits the text being
  // composed in Text1 when the focus leaves it as the window is destroyed.
  for (QObject* child : children()) child->disconnect(this);
}

// The controls are created in the order of the window's design, top to
// bottom, which is also the order in which assistive technology lists them.
void Form1::CreateControls() {
  const TwipsScale scale = TwipsScale::Of(*this);
  CreateTopRow(scale);
  CreateWordList(scale);
  CreateTextColumn(scale);
  CreateHiddenControls(scale);
  CreateKeyMarkers(scale);
  LabelControls();
  CreateReadingAloud();

  Text1->setPlainText(kSampleText);
  // Connected after the sample text is in place: the load step converts it.
  connect(Text1, &LongTextBox::textChanged, this, &Form1::Text1_Change);
}

// The banner, the help button and the captions of the word list and the
// source box.
void Form1::CreateTopRow(const TwipsScale& scale) {
  const Form1Design& design = kForm1Design;
  Image1 =
      new Picture(QStringLiteral(":/pictures/banner.png"), scale.ToPixels(design.image1), this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setAccessibleName(kBannerName);
  connect(Image1, &ClickableLabel::clicked, this, &Form1::Image1_Click);

  Label6 = MakeLabel(this, QStringLiteral("Label6"), kWordListCaption.shown,
                     scale.ToPixels(design.label6));

  Command5 = new QPushButton(QStringLiteral("帮助"), this);
  Command5->setObjectName(QStringLiteral("Command5"));
  Command5->setGeometry(scale.ToPixels(design.command5));
  connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);

  Label1 = MakeLabel(this, QStringLiteral("Label1"), kSourceBoxCaption.shown,
                     scale.ToPixels(design.label1));
  SetTextColour(*Label1, kCaptionRed);
}

void Form1::CreateWordList(const TwipsScale& scale) {
  List1 = new WordListBox(this);
  List1->setObjectName(QStringLiteral("List1"));
  List1->setGeometry(scale.ToPixels(kForm1Design.list1));
  List1->setFont(SongTiFont(12));
  connect(List1, &WordListBox::entryChosen, this, &Form1::List1_Click);
  longEntryChoice_.setSingleShot(true);
  longEntryChoice_.setInterval(0);
  connect(&longEntryChoice_, &QTimer::timeout, this, &Form1::ChooseSelectedEntry);
}

// The source, pinyin and hint boxes, the home-page link, the keyboard picture
// and the practice box, with their captions.
void Form1::CreateTextColumn(const TwipsScale& scale) {
  const Form1Design& design = kForm1Design;
  Text1 =
      MakeTextBox<LongTextBox>(this, QStringLiteral("Text1"), scale.ToPixels(design.text1), 14.25);

  Label2 = MakeLabel(this, QStringLiteral("Label2"), kPinyinBoxCaption.shown,
                     scale.ToPixels(design.label2));
  SetTextColour(*Label2, kCaptionRed);
  Text2 = MakeTextBox<LongTextBox>(this, QStringLiteral("Text2"), scale.ToPixels(design.text2), 24);

  Label5 = MakeLabel(this, QStringLiteral("Label5"), kHintBoxCaption.shown,
                     scale.ToPixels(design.label5));
  SetTextColour(*Label5, kDarkBlue);
  Label3 = new ClickableLabel(QStringLiteral("想要更多好玩的练习？点这里看看我们的主页。"), this);
  Label3->setObjectName(QStringLiteral("Label3"));
  Label3->setGeometry(scale.ToPixels(design.label3));
  SetTextColour(*Label3, kCaptionRed);
  connect(Label3, &ClickableLabel::clicked, this, &Form1::Label3_Click);
  Text5 = MakeTextBox<LongTextBox>(this, QStringLiteral("Text5"), scale.ToPixels(design.text5), 24);

  Image3 =
      new Picture(QStringLiteral(":/pictures/keyboard.png"), scale.ToPixels(design.image3), this);
  Image3->setObjectName(QStringLiteral("Image3"));
  Image3->setAccessibleName(kKeyboardPictureName);
  connect(Image3, &ClickableLabel::clicked, this, &Form1::Image3_Click);

  Label4 = MakeLabel(this, QStringLiteral("Label4"), kPracticeBoxCaption.shown,
                     scale.ToPixels(design.label4));
  SetTextColour(*Label4, kDarkBlue);
  Text4 =
      MakeTextBox<PlainTextBox>(this, QStringLiteral("Text4"), scale.ToPixels(design.text4), 24);
}

// Controls that only carry code or data: never shown, never focused, and
// left out of what assistive technology is told about the window.
void Form1::CreateHiddenControls(const TwipsScale& scale) {
  const Form1Design& design = kForm1Design;
  Command1 = new QPushButton(QStringLiteral("Command1"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setGeometry(scale.ToPixels(design.command1));
  Command1->hide();
  connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  Option3 = new QRadioButton(QStringLiteral("rén"), this);
  Option3->setObjectName(QStringLiteral("Option3"));
  Option3->setGeometry(scale.ToPixels(design.option3));
  Option3->setChecked(true);
  Option3->hide();
  Option1 = new QRadioButton(QStringLiteral("人(rén)"), this);
  Option1->setObjectName(QStringLiteral("Option1"));
  Option1->setGeometry(scale.ToPixels(design.option1));
  Option1->hide();
  for (QWidget* control : NeverShownControls()) {
    control->setFocusPolicy(Qt::NoFocus);
  }
  auto* displayMode = new QButtonGroup(this);
  displayMode->addButton(Option3);
  displayMode->addButton(Option1);
}

// The key markers lie above the keyboard picture, dark until a word is
// chosen. They have no click handler: a click on a lit one does nothing.
void Form1::CreateKeyMarkers(const TwipsScale& scale) {
  const TwipsPoint keyboard = kForm1Design.image3;
  for (std::size_t i = 0; i < kKeyMarkers.size(); ++i) {
    const KeyMarker& marker = kKeyMarkers[i];
    auto* picture = new Picture(
        marker.leftHand ? QStringLiteral(":/pictures/marker-red.png")
                        : QStringLiteral(":/pictures/marker-blue.png"),
        scale.ToPixels(keyboard.left + marker.offsetX, keyboard.top + marker.offsetY), this);
    picture->setObjectName(QStringLiteral("Image2(%1)").arg(i));
    picture->hide();
    picture->raise();
    Image2[i] = picture;
  }
}

// The boxes and the word list are named for assistive technology after their
// captions, which label them; then the tab order, which starts in Text1.
void Form1::LabelControls() {
  for (const auto& [label, control, caption] :
       {std::tuple{Label6, static_cast<QWidget*>(List1), &kWordListCaption},
        std::tuple{Label1, static_cast<QWidget*>(Text1), &kSourceBoxCaption},
        std::tuple{Label2, static_cast<QWidget*>(Text2), &kPinyinBoxCaption},
        std::tuple{Label5, static_cast<QWidget*>(Text5), &kHintBoxCaption},
        std::tuple{Label4, static_cast<QWidget*>(Text4), &kPracticeBoxCaption}}) {
    label->setBuddy(control);
    control->setAccessibleName(caption->name);
  }

  setTabOrder(Text1, Text2);
  setTabOrder(Text2, Text4);
  setTabOrder(Text4, Text5);
  setTabOrder(Text5, List1);
  setTabOrder(List1, Command5);
  Text1->setFocus();
}

// Reading aloud through the voice program, and the reading sheet.
void Form1::CreateReadingAloud() {
  auto* voice = new VoiceProcess(
      QString::fromStdString((programDirectory_ / KELVARO_VOICE_PROGRAM).string()), this);
  readAloud_ = new ReadAloud(
      converter_, *Text1, *Text2, *List1, *this,
      [voice](const std::string& text) { voice->Speak(text); },
      [this] { return DisplayModeChosen(); });
  connect(voice, &VoiceProcess::WordReached, readAloud_, &ReadAloud::FollowWord);
  connect(voice, &VoiceProcess::Ended, readAloud_, &ReadAloud::EndFollowing);
  new PrintSheet(converter_, *Text1, *Text2, *this);
}

std::array<QWidget*, 3> Form1::NeverShownControls() const { return {Command1, Option3, Option1}; }

void Form1::Form_Load() {
  IgnoringFailure([&] { form2_ = std::make_unique<Form2>(); });
  if (form2_) {
    connect(form2_.get(), &Form2::mainWindowWanted, this, &Form1::ShowAndActivate);
    connect(form2_.get(), &Form2::closedByWindowManager, this, [this] {
      if (!isVisible()) {
        ShowAndActivate();
      }
    });
  }
  IgnoringFailure([&] { LoadWordList(); });
  IgnoringFailure([&] { Command1_Click(); });
}

void Form1::LoadWordList() {
  const std::filesystem::path file = ChooseWordListFile(OwnWordListFolder(), programDirectory_);
  for (const std::u16string& entry : LoadWordListFile(file)) {
    IgnoringFailure([&] { AddListEntry(*List1, QString::fromStdU16String(entry)); });
  }
}

DisplayMode Form1::DisplayModeChosen() const {
  return Option1->isChecked()   ? DisplayMode::kCharacterWithReading
         : Option3->isChecked() ? DisplayMode::kReadingOnly
                                : DisplayMode::kNone;
}

void Form1::Command1_Click() {
  conversion_.ConvertAll(Utf16View(Text1->toPlainText()), DisplayModeChosen());
  const ConversionResult& result = conversion_.Result();
  Text2->setPlainText(QString::fromStdU16String(result.pinyin));
  Text5->setPlainText(QString::fromStdU16String(result.hints));
}

void Form1::Text1_Change() {
  // An edit rewrites only the stretch of the pinyin and hint texts that it
  // may change, where those boxes still show the conversion: the same texts
  // as converting all, at the cost of a short text.
  if (conversion_.Mode() != DisplayModeChosen() || Text2->isModified() || Text5->isModified()) {
    Command1_Click();
    return;
  }
  const LongTextBox::Change edit = Text1->lastChange();
  const auto changes =
      conversion_.Update(Utf16View(Text1->toPlainText()), {static_cast<std::size_t>(edit.position),
                                                           static_cast<std::size_t>(edit.removed),
                                                           static_cast<std::size_t>(edit.added)});
  const ConversionResult& result = conversion_.Result();
  const auto rewrite = [](LongTextBox& box, const TextEdit& change, const std::u16string& text) {
    box.setPlainTextStretch(static_cast<int>(change.position), static_cast<int>(change.removed),
                            QStringView(text).sliced(static_cast<qsizetype>(change.position),
                                                     static_cast<qsizetype>(change.added)));
  };
  rewrite(*Text2, changes.pinyin, result.pinyin);
  rewrite(*Text5, changes.hints, result.hints);
}

void Form1::List1_Click() {
  const QList<QListWidgetItem*> selected = List1->selectedItems();
  if (!selected.isEmpty() && IsShortened(*selected.front())) {
    // A long entry takes a while to convert once it is in Text1. It goes in
    // once the keys already waiting are handled, so that arrow keys held over
    // the list pass it by instead of piling up behind it.
    longEntryChoice_.start();
    return;
  }
  longEntryChoice_.stop();
  ChooseSelectedEntry();
}

void Form1::ChooseSelectedEntry() {
  const QList<QListWidgetItem*> selected = List1->selectedItems();
  if (selected.isEmpty()) {
    return;
  }
  // As a paste over the whole text: one undo brings back what was there.
  Text1->replaceAll(WholeEntry(*selected.front()));
  for (Picture* marker : Image2) {
    marker->hide();
  }
  const auto lit = MarkersToLight(Utf16View(Text5->toPlainText()));
  for (std::size_t i = 0; i < Image2.size(); ++i) {
    if (lit.test(i)) {
      Image2[i]->show();
    }
  }
}

void Form1::Command5_Click() {
  hide();
  if (form2_) {
    form2_->show();
    form2_->raise();
    form2_->activateWindow();
  }
}

void Form1::ShowAndActivate() {
  // Mapped again with no position of its own, the window would be placed
  // anew by the window manager; it comes back where it was.
  QWindow* window = windowHandle();
  if (window && !isVisible() && windowState() == Qt::WindowNoState) {
    window->setPosition(window->position());
  }
  show();
  raise();
  activateWindow();
}

void Form1::OpenHomePage() { ShellOpen(HomePageAddress(programDirectory_)); }

void Form1::Image1_Click() { OpenHomePage(); }
void Form1::Image3_Click() { OpenHomePage(); }
void Form1::Label3_Click() { OpenHomePage(); }

void Form1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void Form1::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) {
    Form_Resize();
  }
}

void Form1::Form_Resize() {
  const TwipsScale scale = TwipsScale::Of(*this);
  const QSize outer = isMinimized() ? QSize(0, 0) : frameGeometry().size();
  LayOutForm1(scale.ToTwips(outer.width()), scale.ToTwips(outer.height()), sizes_);
  ApplySizes();
}

void Form1::ApplySizes() {
  const TwipsScale scale = TwipsScale::Of(*this);
  Text1->resize(scale.ToPixels(sizes_.text1Width), Text1->height());
  Text2->resize(scale.ToPixels(sizes_.text2Width), Text2->height());
  Text5->resize(scale.ToPixels(sizes_.text5Width), Text5->height());
  Text4->resize(scale.ToPixels(sizes_.text4Width), scale.ToPixels(sizes_.text4Height));
  List1->resize(List1->width(), scale.ToPixels(sizes_.list1Height));
}

void Form1::closeEvent(QCloseEvent* event) {
  readAloud_->Stop();
  Form_Unload();
  event->accept();
  // With no window left the program ends. Qt quits by itself only when the
  // last visible window closes, and the main window may be hidden behind the
  // help window when a task bar or a window manager closes it.
  QCoreApplication::quit();
}

void Form1::Form_Unload() { form2_.reset(); }

}  // namespace kelvaro
