// The four text boxes of the main window as a user and a screen reader meet
// them: the same edit menu, in Chinese, and the pinyin box read as text.
#include <QAccessible>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

#include "app/form1.h"
#include "app/qt_translations.h"
#include "gui_test_support.h"
#include "textbox/long_text_box.h"

using namespace kelvaro;

namespace {

// A menu's entries as they read, without accelerator marks and shortcuts.
QStringList Entries(QMenu* menu) {
  QStringList entries;
  for (const QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    QString text = action->text().section(u'\t', 0, 0);
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
    entries << text;
  }
  return entries;
}

QMenu* MenuOf(QWidget* box) {
  if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) return plain->createStandardContextMenu();
  return qobject_cast<LongTextBox*>(box)->createStandardContextMenu();
}

}  // namespace

class TextBoxesTest : public MainWindowTest {
  Q_OBJECT

 private slots:
  void initTestCase() { InstallQtTranslations(*QCoreApplication::instance()); }

  void init() { QVERIFY(OpenMainWindow()); }
  void cleanup() { CloseMainWindow(); }

  void everyBoxHasTheSameChineseMenu_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"Text1", "Text2", "Text4", "Text5"}) QTest::newRow(name) << name;
  }
  void everyBoxHasTheSameChineseMenu() {
    QFETCH(QString, name);
    // As Qt's own Chinese translation words them.
    const QStringList chinese{QStringLiteral("撤消"), QStringLiteral("重做"),
                              QStringLiteral("剪切"), QStringLiteral("复制"),
                              QStringLiteral("粘贴"), QStringLiteral("删除"),
                              QStringLiteral("全选")};
    QWidget* box = Child<QWidget>(form1(), name);
    QVERIFY(box);
    std::unique_ptr<QMenu> menu(MenuOf(box));
    QCOMPARE(Entries(menu.get()), chinese);
  }

  void thePinyinBoxReadsAsEditableText() {
    auto* text2 = Child<LongTextBox>(form1(), QStringLiteral("Text2"));
    QVERIFY(!text2->toPlainText().isEmpty());
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(text2);
    QVERIFY(access);
    QCOMPARE(access->role(), QAccessible::EditableText);
    QVERIFY(access->state().editable);
    QCOMPARE(access->text(QAccessible::Value), text2->toPlainText());
    QAccessibleTextInterface* text = access->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), text2->toPlainText().size());
    QCOMPARE(text->text(0, text->characterCount()), text2->toPlainText());
    text2->setCursorPosition(3);
    QCOMPARE(text->cursorPosition(), 3);
    text->setSelection(0, 1, 4);
    QCOMPARE(text2->selectedText(), text2->toPlainText().mid(1, 3));
    // A screen reader's edits reach the box.
    QAccessibleEditableTextInterface* editable = access->editableTextInterface();
    QVERIFY(editable);
    const QString before = text2->toPlainText();
    editable->insertText(0, QStringLiteral("nǐ "));
    QCOMPARE(text2->toPlainText(), QStringLiteral("nǐ ") + before);
  }
};

QTEST_MAIN(TextBoxesTest)
#include "text_boxes_test.moc"
