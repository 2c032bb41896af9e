#include "SideWindows.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

#include "AnimatedPicture.h"
#include "HelpViewer.h"
#include "MainModel.h"
#include "Pictures.h"
#include "SettingsTable.h"
#include "Texts.h"
#include "VantrelGlobal.h"

namespace vantrel {
namespace {

constexpr qint32 kNoMoreNotices = std::numeric_limits<qint32>::max();
constexpr qint32 kRemindAfter = 5;
constexpr int kAdviceMaxWidth = 600;

QString Latin(const char* text) {
  return QString::fromLatin1(text);
}

QLabel* PictureLabel(QWidget* parent, const char* name, const QPixmap& pixmap) {
  auto* label = new QLabel(parent);
  label->setObjectName(Latin(name));
  label->setPixmap(pixmap);
  label->setFixedSize(pixmap.size());
  return label;
}

QLabel* TextLabel(QWidget* parent, const char* name, const QString& text, bool bold) {
  auto* label = new QLabel(parent);
  label->setObjectName(Latin(name));
  label->setTextFormat(Qt::PlainText);
  label->setText(text);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  return label;
}

// Blue and underlined, as addresses are shown; the window takes its clicks.
QLabel* AddressLabel(QWidget* parent, const char* name, const QString& text) {
  QLabel* label = TextLabel(parent, name, text, false);
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::blue);
  label->setPalette(palette);
  label->setCursor(Qt::PointingHandCursor);
  // Reached with Tab and opened with Space or Enter, like a link.
  label->setFocusPolicy(Qt::StrongFocus);
  label->installEventFilter(parent);
  return label;
}

QPushButton* OkButton(QWidget* parent, const char* name, const QString& text) {
  auto* button = new QPushButton(parent);
  button->setObjectName(Latin(name));
  button->setText(text);
  button->setDefault(true);
  return button;
}

// A fixed dialog frame with only a close box; the window is as large as its contents.
void FixedFrame(QDialog& dialog) {
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  dialog.layout()->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace

void OpenAddress(Services& services, QWidget* parent, const QUrl& address) {
  if (services.launcher.Open(address)) {
    return;
  }
  const bool mail = address.scheme() == QLatin1String("mailto");
  services.dialogs.Warning(
      parent,
      mail ? TranslateText("No mail program could be started. Please write to ") +
                 Latin(kSupportEmail)
           : TranslateText("No web browser could be started. Please visit ") + address.toString());
}

// ----- About -----

TAboutForm::TAboutForm(Services& services, QWidget* parent) : QDialog(parent), services_(services) {
  setObjectName(QStringLiteral("TAboutForm"));
  setWindowTitle(SourceText("About Vantrel"));

  QLabel* picture = PictureLabel(this, "ProgramIcon", StillPicture("about.gif"));
  frog_ = NewAnimatedPicture(this, "Frog", "frog.gif");

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
  TranslateWindow(*this);
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

// ----- New-release notification -----

TNotifyForm::TNotifyForm(Services& services, QWidget* parent)
    : QDialog(parent), services_(services) {
  setObjectName(QStringLiteral("TNotifyForm"));
  setWindowTitle(SourceText("New Release Notification"));

  auto* choices = new QGroupBox(this);
  choices->setObjectName(QStringLiteral("ChoiceBox"));
  auto makeRadio = [choices](const char* name, std::string_view text) {
    auto* radio = new QRadioButton(choices);
    radio->setObjectName(Latin(name));
    radio->setText(SourceText(text));
    return radio;
  };
  notify_ = makeRadio("NotifyRadioButton", "Please notify me of new releases");
  remind_ = makeRadio("RemindRadioButton", "Remind me later");
  doNotShow_ = makeRadio("DoNotShowRadioButton", "Do not show this message again");
  notify_->setChecked(true);
  auto* choiceLayout = new QVBoxLayout(choices);
  for (QRadioButton* radio : {notify_, remind_, doNotShow_}) {
    choiceLayout->addWidget(radio);
  }

  auto* note = new QFrame(this);
  note->setObjectName(QStringLiteral("NoteFrame"));
  note->setFrameStyle(QFrame::Box | QFrame::Sunken);
  auto* noteLayout = new QVBoxLayout(note);
  noteLayout->setSpacing(0);
  noteLayout->addWidget(TextLabel(note, "NoteLine1", SourceText("Your address will be "), true), 0,
                        Qt::AlignHCenter);
  noteLayout->addWidget(TextLabel(note, "NoteLine2", SourceText("kept private"), true), 0,
                        Qt::AlignHCenter);

  ok_ = OkButton(this, "Ok", SourceText("OK"));

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(12, 12, 12, 12);
  outer->setSpacing(10);
  outer->addWidget(choices);
  outer->addWidget(note);
  outer->addWidget(ok_, 0, Qt::AlignHCenter);
  FixedFrame(*this);

  InstallHelpKey(this, services_.help, kHelpNotifyWindow);
  connect(ok_, &QPushButton::clicked, this, [this] { OkClick(); });
  TranslateWindow(*this);
}

int TNotifyForm::ShowModal() {
  return services_.dialogs.Exec(*this);
}

void TNotifyForm::ShowNotifyForm() {
  const QString name = NameOf(Setting::NotifyCount);
  qint32 count = RowOf(Setting::NotifyCount).design;
  if (const std::optional<SettingsKey> key =
          services_.settings.OpenKey(SettingsStore::OpenMode::kExisting)) {
    try {
      // Counted in 64 bits: the lowest value a hand-edited file may hold has no
      // predecessor in 32.
      const qint64 next = qint64{key->ReadInteger(name)} - 1;
      if (next <= 0) {
        ShowModal();
        return;
      }
      count = static_cast<qint32>(next);
    } catch (const SettingsReadError&) {
      // A missing or mistyped count starts the countdown again.
    }
  }
  WriteNotifyCount(count);
}

void TNotifyForm::WriteNotifyCount(qint32 count) {
  const QString name = NameOf(Setting::NotifyCount);
  std::optional<SettingsKey> key;
  try {
    key = services_.settings.OpenKey(SettingsStore::OpenMode::kCreate);
  } catch (const SettingsWriteError& error) {
    // A key that cannot be created fails the count, which is what the user is told of.
    throw SettingsWriteError(name, error.FilePath(), error.Reason());
  }
  key->WriteInteger(name, count);
}

void TNotifyForm::OkClick() {
  qint32 value = kNoMoreNotices;
  if (notify_->isChecked()) {
    // Joined as it is: the blanks of the subject stay blanks.
    OpenAddress(services_, this,
                QUrl(Latin("mailto:") + Latin(kSupportEmail) + Latin("?subject=") +
                     TranslateText("Please notify me about updates to Vantrel 2.0")));
  } else if (remind_->isChecked()) {
    value = kRemindAfter;
  }
  WriteNotifyCount(value);
  accept();
}

// ----- Test window -----

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
  welcomeLayout->addWidget(PictureLabel(welcome, "Banner", StillPicture("banner.gif")));
  welcomeLayout->addSpacing(8);
  welcomeLayout->addLayout(welcomeTexts, 1);

  auto* messages = new QFrame(this);
  messages->setObjectName(QStringLiteral("MessagePanel"));
  messages->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  messages->setToolTip(Latin("Click Buttons to Show Message"));
  auto makeButton = [messages](const char* name, const char* text) {
    auto* button = new QPushButton(messages);
    button->setObjectName(Latin(name));
    button->setText(Latin(text));
    return button;
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
  checkRow->addWidget(PictureLabel(animation, "CautionImage", StillPicture("caution.gif")));
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
  services_.dialogs.Warning(
      this, TranslateText("Error Reading Dictionary ") + TranslateText("No Dictionary Open"));
}

void TTestForm::ErrorReadingDictionaryClick() {
  const QString name = dictionary_ != nullptr ? QString::fromStdString(dictionary_->name)
                                              : TranslateText("No Dictionary Open");
  services_.dialogs.Warning(this, TranslateText("Error Reading Dictionary ") + name);
}

void TTestForm::EntryCanNotExceedClick() {
  services_.dialogs.Warning(this, TranslateText("Entry Can Not Exceed ") +
                                      QString::number(MainModel::kEntryLimit) +
                                      TranslateText(" Characters"));
}

}  // namespace vantrel
