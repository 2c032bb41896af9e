// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutVantrel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "DialogParts.h"
#include "Pictures.h"
#include "Texts.h"

namespace vantrel {

void OpenAddress(Services& services, QWidget* parent, const QUrl& address) {
  if (services.launcher.Open(address)) {
    return;
  }
  const bool mail = address.scheme() == QLatin1String("mailto");
  services.dialogs.Warning(
      parent, mail
                  ? services.translator.Text("No mail program could be started. Please write to ") +
                        Latin(kSupportEmail)
                  : services.translator.Text("No web browser could be started. Please visit ") +
                        address.toString());
}

TAboutForm::TAboutForm(Services& services, QWidget* parent) : QDialog(parent), services_(services) {
  setObjectName(QStringLiteral("TAboutForm"));
  setWindowTitle(SourceText("About Vantrel"));

  QLabel* picture =
      PictureLabel(this, "ProgramIcon", StillPicture("about.gif"), SourceText("Vantrel logo"));
  frog_ = NewAnimatedPicture(this, "Frog", "frog.gif", QSize(48, 40));

  QLabel* name = TextLabel(this, "ProductName", SourceText("Vantrel"), true);
  QFont nameFont = name->font();
  nameFont.setPixelSize(28);
  name->setFont(nameFont);
  QLabel* version = TextLabel(this, "Version", SourceText("Beta Version 2.0"), false);
  QLabel* copyright =
      TextLabel(this, "Copyright", SourceText("Copyright (C) The Vantrel developers"), false);
  emailLabel_ = AddressLabel(this, "EmailLabel", SourceText(kSupportEmail));
  homePageLabel_ = AddressLabel(this, "HomePageLabel", SourceText(kHomePage));
  okBtn_ = OkButton(this, "OKButton", SourceText("OK"));

  auto* pictures = new QVBoxLayout;
  pictures->addWidget(picture, 0, Qt::AlignHCenter);
  pictures->addSpacing(8);
  pictures->addWidget(frog_, 0, Qt::AlignHCenter);
  pictures->addStretch(1);

  auto* texts = new QVBoxLayout;
  texts->setSpacing(4);
  texts->addWidget(name);
  texts->addWidget(version);
  texts->addWidget(copyright);
  texts->addSpacing(8);
  texts->addWidget(emailLabel_);
  texts->addWidget(homePageLabel_);

  auto* top = new QHBoxLayout;
  top->setSpacing(16);
  top->addLayout(pictures);
  top->addLayout(texts);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(16, 16, 16, 12);
  outer->addLayout(top);
  outer->addSpacing(8);
  outer->addWidget(okBtn_, 0, Qt::AlignHCenter);
  FixedFrame(*this);

  connect(okBtn_, &QPushButton::clicked, this, &QDialog::accept);
  services_.translator.KeepTranslated(*this);
}

int TAboutForm::ShowModal() {
  FormShow();
  return services_.dialogs.Exec(*this);
}

void TAboutForm::FormShow() {
  FrogFollowsAnimation();
}

void TAboutForm::FrogFollowsAnimation() {
  if (services_.state.AnimationOn) {
    frog_->show();
    frog_->Restart();
  } else {
    frog_->hide();
    frog_->Stop();
  }
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == emailLabel_ || watched == homePageLabel_)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool opens = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
                       (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return ||
                        key->key() == Qt::Key_Enter);
    if (opens) {
      if (watched == emailLabel_) {
        EmailLabelClick();
      } else {
        HomePageLabelClick();
      }
      return true;
    }
  }
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      (watched == emailLabel_ || watched == homePageLabel_)) {
    auto* label = static_cast<QLabel*>(watched);
    // A press that is dragged off the address and let go elsewhere is no click.
    if (label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
      if (label == emailLabel_) {
        EmailLabelClick();
      } else {
        HomePageLabelClick();
      }
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TAboutForm::showEvent(QShowEvent* event) {
  // The window opens with OK ready for Enter; the addresses are reached with Tab.
  okBtn_->setFocus(Qt::OtherFocusReason);
  QDialog::showEvent(event);
}

void TAboutForm::EmailLabelClick() {
  services_.state.NoteUserActivity();
  OpenAddress(services_, this,
              QUrl(Latin("mailto:") + Latin(kSupportEmail) + Latin("?subject=Vantrel")));
}

void TAboutForm::HomePageLabelClick() {
  services_.state.NoteUserActivity();
  OpenAddress(services_, this, QUrl(homePageLabel_->text()));
}

}  // namespace vantrel
