#include "app/print_sheet.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSpinBox>
#include <QToolBar>
#include <memory>

#include "textbox/long_text_box.h"

namespace kelvaro {
namespace {

const QString kPrintText = QStringLiteral("打印注音…");
const QKeySequence kPrintKey(Qt::CTRL | Qt::Key_P);
constexpr int kMostCopies = 11;

// A4, or Letter where the locale measures in inches.
QPageSize DefaultPageSize() {
  return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                    : QPageSize(QPageSize::A4);
}

}  // namespace

PrintSheet::PrintSheet(const PinyinConverter& converter, LongTextBox& sourceBox,
                       LongTextBox& pinyinBox, QWidget& window)
    : QObject(&window), converter_(converter), sourceBox_(sourceBox), window_(window) {
  auto* action = new QAction(kPrintText, this);
  action->setObjectName(QStringLiteral("printSheet"));
  action->setShortcut(kPrintKey);
  window.addAction(action);
  sourceBox.addAction(action);
  pinyinBox.addAction(action);
  connect(action, &QAction::triggered, this, &PrintSheet::OpenPreview);
}

void PrintSheet::OpenPreview() {
  auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
  printer->setPageSize(DefaultPageSize());
  printer->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  printer->setDocName(QStringLiteral("注音"));
  auto* dialog = new QPrintPreviewDialog(printer.get(), &window_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QObject::destroyed, this, [printer] {});  // the printer outlives the dialog
  const QString source = sourceBox_.toPlainText();
  connect(dialog, &QPrintPreviewDialog::paintRequested, this, [this, source](QPrinter* device) {
    PaintReadingSheet(*device, converter_, source, choice_);
  });

  // The layout and the grid's empty squares, at the end of the tool bar.
  auto* preview = dialog->findChild<QPrintPreviewWidget*>();
  auto* toolBar = dialog->findChild<QToolBar*>();
  auto* layout = new QComboBox(dialog);
  layout->setObjectName(QStringLiteral("sheetLayout"));
  layout->addItem(QStringLiteral("注音"),
                  QVariant::fromValue(static_cast<int>(SheetLayout::kRuby)));
  layout->addItem(QStringLiteral("田字格"),
                  QVariant::fromValue(static_cast<int>(SheetLayout::kGrid)));
  layout->setCurrentIndex(choice_.layout == SheetLayout::kGrid ? 1 : 0);
  auto* copies = new QSpinBox(dialog);
  copies->setObjectName(QStringLiteral("sheetCopies"));
  copies->setRange(0, kMostCopies);
  copies->setValue(choice_.copies);
  copies->setSuffix(QStringLiteral(" 个空格"));
  copies->setEnabled(choice_.layout == SheetLayout::kGrid);
  if (toolBar) {
    toolBar->addSeparator();
    toolBar->addWidget(layout);
    toolBar->addWidget(copies);
  }
  connect(layout, &QComboBox::currentIndexChanged, this, [this, layout, copies, preview] {
    choice_.layout = static_cast<SheetLayout>(layout->currentData().toInt());
    copies->setEnabled(choice_.layout == SheetLayout::kGrid);
    if (preview) preview->updatePreview();
  });
  connect(copies, &QSpinBox::valueChanged, this, [this, preview](int value) {
    choice_.copies = value;
    if (preview && choice_.layout == SheetLayout::kGrid) preview->updatePreview();
  });
  dialog->open();
}

}  // namespace kelvaro
