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
  void Command1_Click();  // converts all of Text1 into Text2 and Text5
  void Text1_Change();    // rewrites the stretch of Text2 and Text5 an edit changes
  void List1_Click();     // puts the chosen entry into Text1 and lights its keys
  void Command5_Click();  // hides this window and shows the help window
  void Image1_Click();    // the three below open the home page
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

  Picture* Image1 = nullptr;                       // the banner
  QLabel* Label6 = nullptr;                        // the word list's caption
  QPushButton* Command5 = nullptr;                 // the help button
  QLabel* Label1 = nullptr;                        // the source box's caption
  WordListBox* List1 = nullptr;                    // the word list
  LongTextBox* Text1 = nullptr;                    // the source box: the text to practise
  QLabel* Label2 = nullptr;                        // the pinyin box's caption
  LongTextBox* Text2 = nullptr;                    // the pinyin box: Text1's tone-marked pinyin
  QLabel* Label5 = nullptr;                        // the hint box's caption
  ClickableLabel* Label3 = nullptr;                // the home-page link
  LongTextBox* Text5 = nullptr;                    // the hint box: the keys that type Text1
  Picture* Image3 = nullptr;                       // the keyboard picture
  QLabel* Label4 = nullptr;                        // the practice box's caption
  QPlainTextEdit* Text4 = nullptr;                 // the practice box, where the child types
  QPushButton* Command1 = nullptr;                 // never shown: its click converts Text1
  QRadioButton* Option3 = nullptr;                 // never shown: pinyin alone (chosen)
  QRadioButton* Option1 = nullptr;                 // never shown: each character with its pinyin
  std::array<Picture*, kLetterKeyCount> Image2{};  // the key markers, in kKeyOrder
};

}  // namespace kelvaro
