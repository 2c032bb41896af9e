#pragma once
// The small windows beside the main window: About, the new-release notification and the
// hidden test window.

#include <QDialog>

#include "Services.h"

class QCheckBox;
class QLabel;
class QRadioButton;

namespace vantrel {

class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(Services& services, QWidget* parent = nullptr);
  int ShowModal();
  QLabel* EmailLabel() const { return emailLabel_; }
  QLabel* HomePageLabel() const { return homePageLabel_; }

 private:
  void EmailLabelClick();
  void HomePageLabelClick();

  Services& services_;
  QLabel* emailLabel_ = nullptr;
  QLabel* homePageLabel_ = nullptr;
};

class TNotifyForm : public QDialog {
  Q_OBJECT

 public:
  explicit TNotifyForm(Services& services, QWidget* parent = nullptr);
  int ShowModal();
  // The countdown run at the main window's close: every fifth close shows the window.
  void ShowNotifyForm();
  QRadioButton* NotifyRadioButton() const { return notify_; }
  QRadioButton* RemindRadioButton() const { return remind_; }
  QRadioButton* DoNotShowRadioButton() const { return doNotShow_; }

 private:
  void OkClick();

  Services& services_;
  QRadioButton* notify_ = nullptr;
  QRadioButton* remind_ = nullptr;
  QRadioButton* doNotShow_ = nullptr;
};

class TTestForm : public QDialog {
  Q_OBJECT

 public:
  explicit TTestForm(Services& services, QWidget* parent = nullptr);
  // Shown without blocking the main window.
  void ShowModeless();
  QCheckBox* AnimationCheckBox() const { return animationCheckBox_; }

 private:
  void OKBtnClick();

  Services& services_;
  QCheckBox* animationCheckBox_ = nullptr;
};

}  // namespace vantrel
