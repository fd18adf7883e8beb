#include "app/form2.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "app/clickable_label.h"
#include "app/control_style.h"
#include "app/form2_design.h"
#include "app/picture.h"
#include "app/program_texts.h"
#include "app/skip_taskbar.h"
#include "app/twips.h"

namespace kelvaro {
namespace {

const QString kDescription = QStringLiteral(
    "    本软件可以给出任意汉字的拼音，即使是多音字，也可以根据上下文给出正确的拼音。"
    "而且把拼音再变成和键盘对应的大写英文字母，小孩子可以轻松的用拼音输入法打出这些字。"
    "而且可以朗读这些文字。这个软件不仅适合儿童学习打字，也适合老年人和普通话不标准的人学习拼音打字"
    "。");

const QColor kBackground(255, 255, 192);

}  // namespace

Form2::Form2() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Form2"));
  const TwipsScale scale = TwipsScale::Of(*this);
  const Form2Design& design = kForm2Design;
  setFixedSize(scale.ToPixelSize(design.clientWidth, design.clientHeight));
  setFont(SongTiFont(9));
  SetBackground(*this, kBackground);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(8000);
  Timer1->setTimerType(Qt::PreciseTimer);  // a coarse timer may tick up to 5 % early
  connect(Timer1, &QTimer::timeout, this, &Form2::Timer1_Timer);

  Image1 = new Picture(QStringLiteral(":/pictures/finger-chart.png"), scale.ToPixels(design.image1),
                       this);
  Image1->setObjectName(QStringLiteral("Image1"));
  connect(Image1, &ClickableLabel::clicked, this, &Form2::Image1_Click);

  MakeLabel(this, QStringLiteral("lblVersion"), kMakerName, scale.ToPixels(design.lblVersion));

  lblDescription = new ClickableLabel(kDescription, this);
  lblDescription->setObjectName(QStringLiteral("lblDescription"));
  lblDescription->setGeometry(scale.ToPixels(design.lblDescription));
  lblDescription->setWordWrap(true);
  lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblDescription->setFont(SongTiFont(10.5));
  SetTextColour(*lblDescription, QColor(0, 0, 255));
  connect(lblDescription, &ClickableLabel::clicked, this, &Form2::lblDescription_Click);

  MakeLabel(this, QStringLiteral("Label2"), kWhereHelpIs, scale.ToPixels(design.label2));
  QLabel* label3 =
      MakeLabel(this, QStringLiteral("Label3"), kLicence, scale.ToPixels(design.label3));
  SetTextColour(*label3, kCaptionRed);

  lblTitle = new ClickableLabel(kProgramCaption, this);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  lblTitle->setGeometry(scale.ToPixels(design.lblTitle));
  lblTitle->setAlignment(Qt::AlignCenter);
  lblTitle->setFont(HeiTiFont(24));
  SetTextColour(*lblTitle, kCaptionRed);
  connect(lblTitle, &ClickableLabel::clicked, this, &Form2::lblTitle_Click);

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void Form2::setVisible(bool visible) {
  if (visible && !isVisible()) {
    RequestSkipTaskbar(*this);
  }
  QWidget::setVisible(visible);
}

void Form2::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Only the first display starts the timer that brings the main window back;
  // showing the window again does not.
  if (!displayedBefore_) {
    displayedBefore_ = true;
    Form_Resize();
  }
}

void Form2::closeEvent(QCloseEvent* event) {
  // The window has no close button, but a window manager can still close it.
  QWidget::closeEvent(event);
  emit closedByWindowManager();
}

void Form2::Form_Resize() { Timer1->start(); }

void Form2::ReturnToMainWindow() {
  Timer1->stop();
  emit mainWindowWanted();
}

void Form2::Timer1_Timer() { ReturnToMainWindow(); }
void Form2::Image1_Click() { ReturnToMainWindow(); }
void Form2::lblTitle_Click() { ReturnToMainWindow(); }
void Form2::lblDescription_Click() { ReturnToMainWindow(); }

}  // namespace kelvaro
