// SPDX-License-Identifier: GPL-3.0-or-later
#include "Notify.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>
#include <limits>
#include <string_view>

#include "AboutVantrel.h"
#include "DialogParts.h"
#include "SettingsTable.h"
#include "Texts.h"

namespace vantrel {

namespace {

constexpr qint32 kNoMoreNotices = std::numeric_limits<qint32>::max();
constexpr qint32 kRemindAfter = 5;

}  // namespace

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
  QLabel* firstLine = TextLabel(note, "NoteLine1", SourceText("Your address will be "), true);
  QLabel* secondLine = TextLabel(note, "NoteLine2", SourceText("kept private"), true);
  noteLayout->addWidget(firstLine, 0, Qt::AlignHCenter);
  noteLayout->addWidget(secondLine, 0, Qt::AlignHCenter);
  SpeakLinesAsOne({firstLine, secondLine}, SourceText("Your address will be kept private."));

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
  services_.translator.KeepTranslated(*this);
}

int TNotifyForm::ShowModal() {
  return services_.dialogs.Exec(*this);
}

void TNotifyForm::ShowNotifyForm() {
  const QString name = NameOf(Setting::kNotifyCount);
  qint32 count = RowOf(Setting::kNotifyCount).design;
  if (const std::optional<SettingsKey> key =
          services_.settings.OpenKey(SettingsStore::OpenMode::kExisting)) {
    // A missing or mistyped count starts the countdown again.
    if (const Result<qint32> stored = key->ReadInteger(name); stored.status.IsOk()) {
      // Counted in 64 bits: the lowest value a hand-edited file may hold has no
      // predecessor in 32.
      const qint64 next = qint64{stored.value} - 1;
      if (next <= 0) {
        ShowModal();
        return;
      }
      count = static_cast<qint32>(next);
    }
  }
  WriteNotifyCount(count);
}

void TNotifyForm::WriteNotifyCount(qint32 count) {
  const QString name = NameOf(Setting::kNotifyCount);
  std::optional<SettingsKey> key;
  try {
    key = services_.settings.OpenKey(SettingsStore::OpenMode::kCreate);
  } catch (const SettingsWriteError& error) {
    // A key that cannot be created fails the count, which is what the user is told of.
    throw SettingsWriteError(name, error.FilePath(), error.Failure());
  }
  key->WriteInteger(name, count);
}

void TNotifyForm::OkClick() {
  qint32 value = kNoMoreNotices;
  if (notify_->isChecked()) {
    // Joined as it is: the blanks of the subject stay blanks.
    OpenAddress(services_, this,
                QUrl(Latin("mailto:") + Latin(kSupportEmail) + Latin("?subject=") +
                     services_.translator.Text("Please notify me about updates to Vantrel 2.0")));
  } else if (remind_->isChecked()) {
    value = kRemindAfter;
  }
  try {
    WriteNotifyCount(value);
  } catch (const SettingsWriteError& error) {
    // The choice cannot be kept for the next run: the user is told which file and why,
    // and the window closes as it would have.
    services_.dialogs.Warning(this, SettingsWriteWarning(services_.translator, error));
  }
  accept();
}

}  // namespace vantrel
