#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>

#include "app/form_layout.h"
#include "convert/conversion.h"
#include "convert/incremental_conversion.h"
#include "keyboard/key_markers.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kelvaro {

class ClickableLabel;
class Form2;
class LongTextBox;
class Picture;
class ReadAloud;
class TwipsScale;
class WordListBox;

// The main window: the word list, the source box with its pinyin and hint
// boxes, the keyboard picture with its key markers, and the practice box.
class Form1 : public QWidget {
  Q_OBJECT

 public:
  // The word list is the parent's own (OwnWordListFolder) or else the one in
  // programDirectory; the voice program lies in programDirectory.
  explicit Form1(std::filesystem::path programDirectory);
  ~Form1() override;

  // The controls that only carry code or data: never shown.
  std::array<QWidget*, 3> NeverShownControls() const;

 private slots:
  void Command1_Click();
  void Text1_Change();
  void List1_Click();
  void Command5_Click();
  void Image1_Click();
  void Image3_Click();
  void Label3_Click();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void CreateTopRow(const TwipsScale& scale);
  void CreateWordList(const TwipsScale& scale);
  void CreateTextColumn(const TwipsScale& scale);
  void CreateHiddenControls(const TwipsScale& scale);
  void CreateKeyMarkers(const TwipsScale& scale);
  void LabelControls();
  void CreateReadingAloud();
  void Form_Load();
  void Form_Resize();
  void Form_Unload();
  void LoadWordList();
  void ChooseSelectedEntry();
  void ShowAndActivate();
  void OpenHomePage();
  void ApplySizes();
  DisplayMode DisplayModeChosen() const;

  std::filesystem::path programDirectory_;
  PinyinConverter converter_;  // holds what it needs of the character table
  // The conversion of Text1's text that Text2 and Text5 show.
  IncrementalConversion conversion_{converter_};
  Form1Sizes sizes_ = DesignSizes();
  std::unique_ptr<Form2> form2_;
  ReadAloud* readAloud_ = nullptr;
  QTimer longEntryChoice_;  // puts a long entry of List1 into Text1

  Picture* Image1 = nullptr;
  QLabel* Label6 = nullptr;
  QPushButton* Command5 = nullptr;
  QLabel* Label1 = nullptr;
  WordListBox* List1 = nullptr;
  LongTextBox* Text1 = nullptr;
  QLabel* Label2 = nullptr;
  LongTextBox* Text2 = nullptr;
  QLabel* Label5 = nullptr;
  ClickableLabel* Label3 = nullptr;
  LongTextBox* Text5 = nullptr;
  Picture* Image3 = nullptr;
  QLabel* Label4 = nullptr;
  QPlainTextEdit* Text4 = nullptr;
  QPushButton* Command1 = nullptr;
  QRadioButton* Option3 = nullptr;
  QRadioButton* Option1 = nullptr;
  std::array<Picture*, kLetterKeyCount> Image2{};
};

}  // namespace kelvaro
