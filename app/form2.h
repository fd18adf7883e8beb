#pragma once

#include <QTimer>
#include <QWidget>

namespace kelvaro {

class ClickableLabel;
class Picture;

// The help window: title, a short description and the finger chart. It has
// no frame and no task-bar entry; showing it the first time starts an
// 8-second timer that brings the main window back once.
class Form2 : public QWidget {
  Q_OBJECT

 public:
  Form2();

 signals:
  // The main window should be shown and activated.
  void mainWindowWanted();
  // The window manager closed this window.
  void closedByWindowManager();

 private slots:
  void Timer1_Timer();
  void Image1_Click();
  void lblTitle_Click();
  void lblDescription_Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void setVisible(bool visible) override;

 private:
  void Form_Resize();
  void ReturnToMainWindow();

  QTimer* Timer1;
  Picture* Image1;
  ClickableLabel* lblTitle;
  ClickableLabel* lblDescription;
  bool displayedBefore_ = false;
};

}  // namespace kelvaro
