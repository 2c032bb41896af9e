// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TAboutForm: the About window, with the program's picture, its makers' e-mail address
// and home page, and Frog, who plays while the animation is on.

#include <QDialog>
#include <QUrl>

#include "AnimatedPicture.h"
#include "Services.h"

class QLabel;
class QPushButton;

namespace vantrel {

// The makers' addresses, shown by the About window and used in the e-mails composed.
inline constexpr const char* kSupportEmail = "support@vantrel.example";
inline constexpr const char* kHomePage = "https://vantrel.example/";

// Hands an address to the desktop ("mailto:" to the mail program, a web address to the
// browser). When no program takes it the user is told so, with the address to use by hand,
// in a warning over parent.
void OpenAddress(Services& services, QWidget* parent, const QUrl& address);

class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(Services& services, QWidget* parent = nullptr);
  // Shows the window modally; Frog follows the animation switch at every showing.
  int ShowModal();
  // Frog is shown and plays while the animation is on, and is hidden while it is off.
  void FrogFollowsAnimation();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void EmailLabelClick();
  void HomePageLabelClick();

  Services& services_;
  QLabel* emailLabel_ = nullptr;
  QLabel* homePageLabel_ = nullptr;
  AnimatedPicture* frog_ = nullptr;
  QPushButton* okBtn_ = nullptr;
};

}  // namespace vantrel
