// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestPanel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>
#include <string>

#include "AboutVantrel.h"
#include "DialogParts.h"
#include "MainModel.h"
#include "Pictures.h"
#include "Texts.h"
#include "VantrelGlobal.h"

namespace vantrel {

namespace {

constexpr int kAdviceMaxWidth = 600;

}  // namespace

TTestForm::TTestForm(Services& services, QWidget* parent) : QDialog(parent), services_(services) {
  setObjectName(QStringLiteral("TTestForm"));
  setWindowTitle(Latin("Vantrel - Test Hidden Functions & Messages"));

  auto* welcome = new QFrame(this);
  welcome->setObjectName(QStringLiteral("WelcomePanel"));
  welcome->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  auto* welcomeTexts = new QVBoxLayout;
  welcomeTexts->addWidget(
      TextLabel(welcome, "WelcomeLabel",
                Latin("Welcome - Willkommen - Benvenuto - Bienvenue - Bienvenidos"), true));
  welcomeTexts->addWidget(TextLabel(welcome, "TeamLabel", Latin("Vantrel Test Team Member"), true));
  auto* welcomeLayout = new QHBoxLayout(welcome);
  // The banner's words are those of the labels beside it: read once, from the labels.
  welcomeLayout->addWidget(PictureLabel(welcome, "Banner", StillPicture("banner.gif"), QString()));
  welcomeLayout->addSpacing(8);
  welcomeLayout->addLayout(welcomeTexts, 1);

  auto* messages = new QFrame(this);
  messages->setObjectName(QStringLiteral("MessagePanel"));
  messages->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  messages->setToolTip(Latin("Click Buttons to Show Message"));
  auto makeButton = [messages](const char* name, const char* text) {
    return MakeButton(messages, name, Latin(text));
  };
  emailErrorBtn_ = makeButton("EmailErrorBtn", "'Application Error'");
  noDictionaryBtn_ = makeButton("NoDictionaryBtn", "'No Dictionary Open'");
  errorReadingDictionary_ = makeButton("ErrorReadingDictionary", "'Error Reading Dictionary'");
  entryCanNotExceed_ = makeButton("EntryCanNotExceed", "'Entry Can Not Exceed'");
  auto* messageLayout = new QGridLayout(messages);
  messageLayout->addWidget(emailErrorBtn_, 0, 0);
  messageLayout->addWidget(noDictionaryBtn_, 0, 1);
  messageLayout->addWidget(errorReadingDictionary_, 1, 0);
  messageLayout->addWidget(entryCanNotExceed_, 1, 1);

  auto* animation = new QFrame(this);
  animation->setObjectName(QStringLiteral("AnimationPanel"));
  animation->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  animationCheckBox_ = new QCheckBox(animation);
  animationCheckBox_->setObjectName(QStringLiteral("AnimationCheckBox"));
  animationCheckBox_->setText(Latin("Enable Animation"));
  auto* advice = new QPlainTextEdit(animation);
  advice->setObjectName(QStringLiteral("AnimationMemo"));
  advice->setReadOnly(true);
  advice->setAccessibleName(Latin("Animation Advice"));
  advice->setLineWrapMode(QPlainTextEdit::NoWrap);
  // The settings live in a file, not in a registry: the note names the file. The program
  // writes that file when it closes, so it is changed while the program is not running.
  const QString adviceText = Latin("If animation  causes problems, close Vantrel and \n") +
                             Latin("set \"Animation On\" to dword:00000000 in \n") +
                             services_.settings.FilePath() + Latin("\n ");
  advice->setPlainText(adviceText);
  int widest = 0;
  for (const QString& line : adviceText.split(QLatin1Char('\n'))) {
    widest = std::max(widest, advice->fontMetrics().horizontalAdvance(line));
  }
  // Wide enough for the file's name, unless that is very long.
  advice->setMinimumWidth(std::min(widest + 2 * advice->frameWidth() +
                                       2 * static_cast<int>(advice->document()->documentMargin()) +
                                       4,
                                   kAdviceMaxWidth));
  advice->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  advice->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  advice->setFixedHeight(advice->fontMetrics().lineSpacing() * 4 + 2 * advice->frameWidth() +
                         2 * static_cast<int>(advice->document()->documentMargin()) + 2);
  auto* checkRow = new QHBoxLayout;
  // English, as every text of this window for the program's testers.
  checkRow->addWidget(
      PictureLabel(animation, "CautionImage", StillPicture("caution.gif"), Latin("Caution")));
  checkRow->addWidget(animationCheckBox_, 1);
  auto* animationLayout = new QVBoxLayout(animation);
  animationLayout->addLayout(checkRow);
  animationLayout->addWidget(advice);

  okBtn_ = OkButton(this, "OKBtn", Latin("OK"));

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(10, 10, 10, 10);
  outer->addWidget(welcome);
  outer->addWidget(messages);
  outer->addWidget(animation);
  outer->addWidget(okBtn_, 0, Qt::AlignHCenter);
  FixedFrame(*this);

  connect(okBtn_, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  connect(emailErrorBtn_, &QPushButton::clicked, this, [this] { EmailErrorBtnClick(); });
  connect(noDictionaryBtn_, &QPushButton::clicked, this, [this] { NoDictionaryBtnClick(); });
  connect(errorReadingDictionary_, &QPushButton::clicked, this,
          [this] { ErrorReadingDictionaryClick(); });
  connect(entryCanNotExceed_, &QPushButton::clicked, this, [this] { EntryCanNotExceedClick(); });
}

void TTestForm::ShowModeless() {
  // A window that is already open only comes to the front: a tick not yet confirmed with
  // OK stays as the user left it.
  if (!isVisible()) {
    FormShow();
  }
  services_.dialogs.ShowModeless(*this);
}

void TTestForm::FormShow() {
  animationCheckBox_->setChecked(services_.state.AnimationOn);
}

void TTestForm::OKBtnClick() {
  // The button animation follows at the next tick.
  services_.state.AnimationOn = animationCheckBox_->isChecked();
  if (aboutForm_ != nullptr) {
    aboutForm_->FrogFollowsAnimation();
  }
  accept();
}

void TTestForm::EmailErrorBtnClick() {
  // An error of the general kind without a message, as any unexpected error would come:
  // the error report names this line as where it was raised.
  throw std::runtime_error(std::string());
}

void TTestForm::NoDictionaryBtnClick() {
  services_.dialogs.Warning(this, services_.translator.Text("Error Reading Dictionary ") +
                                      services_.translator.Text("No Dictionary Open"));
}

void TTestForm::ErrorReadingDictionaryClick() {
  const QString name = dictionary_ != nullptr ? QString::fromStdString(dictionary_->name)
                                              : services_.translator.Text("No Dictionary Open");
  services_.dialogs.Warning(this, services_.translator.Text("Error Reading Dictionary ") + name);
}

void TTestForm::EntryCanNotExceedClick() {
  services_.dialogs.Warning(this, services_.translator.Text("Entry Can Not Exceed ") +
                                      QString::number(MainModel::kEntryLimit) +
                                      services_.translator.Text(" Characters"));
}

}  // namespace vantrel
