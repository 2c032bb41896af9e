// SPDX-License-Identifier: GPL-3.0-or-later
#include "LookUp.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "DialogParts.h"
#include "HelpViewer.h"
#include "LayerGrid.h"
#include "ProgramGrids.h"
#include "SettingsTable.h"
#include "Texts.h"
#include "WindowPlace.h"

namespace vantrel {
namespace {

constexpr PlaceSettings kLookupPlace{Setting::kLookupTop, Setting::kLookupLeft, {}, {}};

// The size of the window's client area.
constexpr int kClientWidth = 387;
constexpr int kClientHeight = 251;

}  // namespace

TLookupForm::TLookupForm(DictionaryFile& dictionary, Services& services, QWidget* parent)
    : QDialog(parent),
      WindowEngineHost(*this, services),
      services_(services),
      model_(dictionary, *this) {
  setObjectName(QStringLiteral("TLookupForm"));
  // A fixed dialog frame whose only button is the system menu's close.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setWindowTitle(SourceText("Vantrel - Lookup Individual Word"));
  setFixedSize(kClientWidth, kClientHeight);

  wordToConvert_ = new QLineEdit(this);
  wordToConvert_->setObjectName(QStringLiteral("WordToConvert"));
  wordToConvert_->setToolTip(SourceText("Enter word to convert to numbers"));
  wordToConvert_->setAccessibleName(SourceText("Enter word to convert to numbers"));
  QFont entryFont = wordToConvert_->font();
  entryFont.setPixelSize(16);
  wordToConvert_->setFont(entryFont);
  wordToConvert_->setValidator(NewCp1252Validator(wordToConvert_));
  wordToConvert_->installEventFilter(this);

  equalsLabel_ = new QLabel(this);
  equalsLabel_->setObjectName(QStringLiteral("EqualsLabel"));
  equalsLabel_->setText(SourceText("="));
  equalsLabel_->setFont(entryFont);

  convertedGrid_ = MakeProgramGrid(ProgramGrid::kConverted, this).release();
  convertedGrid_->SetTable(&model_.ResultsForGrid());
  convertedGrid_->SetHint(SourceText("Numeric equivalent"));
  // The list has no title row; a screen reader names its column by this.
  convertedGrid_->SetColumnNames({SourceText("Numeric equivalent")});
  convertedGrid_->setAccessibleName(SourceText("Numeric equivalent"));

  auto makeButton = [this](const char* name, std::string_view text, std::string_view hint) {
    return MakeButton(this, name, SourceText(text), SourceText(hint));
  };
  convertBtn_ = makeButton("ConvertBtn", "Convert", "Convert word to numeric equivalents");
  clearBtn_ = makeButton("ClearBtn", "Clear", "Clear word");
  copyBtn_ = makeButton("CopyBtn", "Copy", "Copies selected number and word to clipboard");
  cancelLookUpBtn_ = makeButton("CancelLookUpBtn", "Cancel", "Cancel & Close Window");
  convertBtn_->setDefault(true);
  convertBtn_->setEnabled(false);
  copyBtn_->setEnabled(false);

  statusBar1_ = new QStatusBar(this);
  statusBar1_->setObjectName(QStringLiteral("StatusBar1"));
  statusBar1_->setSizeGripEnabled(false);

  auto* left = new QVBoxLayout;
  left->setSpacing(8);
  left->addWidget(wordToConvert_);
  left->addSpacing(12);
  for (QPushButton* button : {convertBtn_, clearBtn_, copyBtn_, cancelLookUpBtn_}) {
    left->addWidget(button);
  }
  left->addStretch(1);

  auto* work = new QHBoxLayout;
  work->setContentsMargins(8, 8, 8, 4);
  work->setSpacing(6);
  work->addLayout(left, 1);
  work->addWidget(equalsLabel_, 0, Qt::AlignTop);
  work->addWidget(convertedGrid_, 0);
  convertedGrid_->setFixedWidth(232);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  outer->addLayout(work, 1);
  outer->addWidget(statusBar1_);

  connect(wordToConvert_, &QLineEdit::textEdited, this, [this] { WordToConvertChange(); });
  connect(convertBtn_, &QPushButton::clicked, this, [this] { ConvertBtnClick(); });
  connect(clearBtn_, &QPushButton::clicked, this, [this] { ClearBtnClick(); });
  connect(copyBtn_, &QPushButton::clicked, this, [this] { CopyBtnClick(); });
  connect(cancelLookUpBtn_, &QPushButton::clicked, this, [this] { CancelLookUpBtnClick(); });
  connect(convertedGrid_, &TLayerGrid::Click, this, [this] { ConvertedGridClick(); });

  InstallHelpKey(this, services_.help, kHelpLookupWindow);
  FormCreate();
}

TLookupForm::~TLookupForm() {
  SetBusy(false);
  // The grid is deleted with the window's children, after the model and its table.
  convertedGrid_->SetTable(nullptr);
}

std::optional<SettingValue> TLookupForm::Stored(Setting setting) const {
  return StoredPlace(*this, kLookupPlace, setting);
}

int TLookupForm::ShowModal() {
  return services_.dialogs.Exec(*this);
}

void TLookupForm::FormCreate() {
  // The place the window has when nothing is stored, or when reading stops early.
  move(RowOf(Setting::kLookupLeft).design, RowOf(Setting::kLookupTop).design);
  RestoreSettings(services_.settings, kLookupWindowReadOrder,
                  [this](Setting setting, const SettingValue& value) {
                    ApplyPlace(*this, kLookupPlace, setting, value);
                  });
  move(PlaceOnScreen(pos(), WindowSize(*this),
                     DesignPlace(Setting::kLookupLeft, Setting::kLookupTop)));
  services_.translator.KeepTranslated(*this);
}

bool TLookupForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == wordToConvert_ && event->type() == QEvent::FocusIn) {
    // Entering the field runs the change handler, so that clicking back into a typed word
    // clears the last results. Showing the window again is no entering, nor is the window
    // coming back to the front or a menu closing: the contents stay between showings.
    // (A dialog being shown sends its focus widget a focus event before it is active.)
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (isActiveWindow() && reason != Qt::ActiveWindowFocusReason &&
        reason != Qt::PopupFocusReason) {
      WordToConvertChange();
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TLookupForm::showEvent(QShowEvent* event) {
  // The language may have changed while the window was hidden (it is modal, so it cannot
  // change while it is shown): the status line is built again in the language of now.
  StateChanged();
  QDialog::showEvent(event);
}

void TLookupForm::WordToConvertChange() {
  // Only the user's own edits count; the program's writes (setText) reset the flag.
  NoteUserActivity();
  model_.TypeWord(ToCp1252(wordToConvert_->text()), wordToConvert_->isModified());
}

void TLookupForm::ConvertBtnClick() {
  model_.LookUp();
}

void TLookupForm::ConvertedGridClick() {
  NoteUserActivity();
  model_.ChooseResult();
}

void TLookupForm::CopyBtnClick() {
  NoteUserActivity();
  services_.dialogs.SetClipboardText(FromCp1252(model_.CopyText()));
}

void TLookupForm::ClearBtnClick() {
  NoteUserActivity();
  wordToConvert_->setText(QString());
  model_.Clear();
}

void TLookupForm::CancelLookUpBtnClick() {
  NoteUserActivity();
  reject();
}

void TLookupForm::NoteUserActivity() {
  services_.state.NoteUserActivity();
}

void TLookupForm::StateChanged() {
  convertBtn_->setEnabled(model_.ConvertEnabled());
  copyBtn_->setEnabled(model_.CopyEnabled());
  statusBar1_->showMessage(services_.translator.Message(model_.StatusMessage()));
}

}  // namespace vantrel
