// SPDX-License-Identifier: GPL-3.0-or-later
#include "AffixUnit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

#include "CellProperties.h"
#include "DialogParts.h"
#include "HelpViewer.h"
#include "LayerGrid.h"
#include "Pictures.h"
#include "ProgramGrids.h"
#include "SettingsTable.h"
#include "Texts.h"
#include "VantrelGlobal.h"
#include "WindowPlace.h"

namespace vantrel {
namespace {

constexpr int kFixedHeight = 150;
constexpr int kMinimumWidth = 435;
// The word column always leaves this much of the grid to the digits.
constexpr int kDigitsRoom = 40;
constexpr int kCautionSize = 32;

// A stored window width, at least the minimum; one wider than the screen takes the
// design width: a window millions of pixels wide would take seconds to draw.
int WindowWidth(qint32 stored) {
  const int design = RowOf(Setting::kAffixWidth).design;
  return std::max(SizeOnScreen({stored, kFixedHeight}, {design, kFixedHeight}).width(),
                  kMinimumWidth);
}

// A stored column width, no wider than any widget can be: the grid adds widths up in
// plain integers. One too narrow to see takes the design width.
int ColumnWidth(Setting setting, qint32 stored) {
  return std::min(StoredColumnWidth(stored, setting), QWIDGETSIZE_MAX);
}

}  // namespace

TAffixForm::TAffixForm(MainModel& model, Services& services, QWidget* parent)
    : QDialog(parent), model_(model), services_(services) {
  setObjectName(QStringLiteral("TAffixForm"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(SourceText("Vantrel - Correct Root Word Spelling"));
  setMinimumWidth(kMinimumWidth);
  setFixedHeight(kFixedHeight);

  gridPanel_ = new QWidget(this);
  gridPanel_->setObjectName(QStringLiteral("GridPanel"));
  selectedAffixGrid_ = MakeProgramGrid(ProgramGrid::kSelectedAffix, gridPanel_).release();
  selectedAffixGrid_->setAccessibleName(SourceText("Candidate Word"));
  selectedAffixGrid_->SetTable(&model_.Correction());
  auto* panelLayout = new QVBoxLayout(gridPanel_);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->addWidget(selectedAffixGrid_);
  gridPanel_->setFixedHeight(
      selectedAffixGrid_->RowCount() *
          (selectedAffixGrid_->DefaultRowHeight() + selectedAffixGrid_->GridLineWidth()) +
      2 * selectedAffixGrid_->frameWidth());

  QLineEdit* editor = selectedAffixGrid_->Editor();
  editor->setObjectName(QStringLiteral("WordEditor"));
  editor->setMaxLength(static_cast<int>(kShortText));
  editor->setValidator(NewCp1252Validator(editor));
  selectedAffixGrid_->SetOnAcceptEdit(
      [this](int, int, const QString& text) { return AcceptWord(text); });
  selectedAffixGrid_->installEventFilter(this);

  auto* caution = new QLabel(this);
  caution->setObjectName(QStringLiteral("CautionImage"));
  caution->setPixmap(StillPicture("caution.gif"));
  // A screen reader says what the picture stands for: the lines beside it are a warning.
  caution->setAccessibleName(SourceText("Caution"));
  caution->setFixedSize(kCautionSize, kCautionSize);

  auto* warning = new QVBoxLayout;
  warning->setSpacing(0);
  QList<QLabel*> lines;
  for (std::string_view text : {"If you correct spelling,  make", "sure it remains consistant with",
                                "the numeric translation."}) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("WarningLine%1").arg(lines.size() + 1));
    label->setTextFormat(Qt::PlainText);
    label->setText(SourceText(text));
    warning->addWidget(label);
    lines.append(label);
  }
  // The lines break where the window's width does, not where a listener would pause.
  SpeakLinesAsOne(lines, SourceText("If you correct spelling, make sure it remains consistent "
                                    "with the numeric translation."));
  warning->addStretch(1);

  affixOkBtn_ = OkButton(this, "AffixOkBtn", SourceText("OK"));
  affixCancelBtn_ = MakeButton(this, "AffixCancelBtn", SourceText("Cancel"));

  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(8);
  bottom->addWidget(caution, 0, Qt::AlignTop);
  bottom->addLayout(warning);
  bottom->addStretch(1);
  bottom->addWidget(affixOkBtn_, 0, Qt::AlignBottom);
  bottom->addWidget(affixCancelBtn_, 0, Qt::AlignBottom);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(8, 8, 8, 8);
  outer->setSpacing(8);
  outer->addWidget(gridPanel_);
  outer->addLayout(bottom, 1);

  InstallHelpKey(this, services_.help, kHelpAffixWindow);
  connect(affixOkBtn_, &QPushButton::clicked, this, [this] { AffixOkBtnClick(); });
  connect(affixCancelBtn_, &QPushButton::clicked, this, &TAffixForm::reject);
  connect(selectedAffixGrid_, &TLayerGrid::ColWidthsChanged, this,
          [this] { SelectedAffixGridColWidthsChanged(); });

  FormCreate();
}

TAffixForm::~TAffixForm() {
  // The model may go before the grid, which is deleted with the window's children.
  selectedAffixGrid_->SetTable(nullptr);
}

int TAffixForm::ShowModal() {
  selectedAffixGrid_->CancelEdit();
  // The word cell is current and the grid has the focus, so typing corrects the word at
  // once, while Enter still presses OK.
  selectedAffixGrid_->FocusCell(0, 1);
  selectedAffixGrid_->setFocus(Qt::OtherFocusReason);
  return services_.dialogs.Exec(*this);
}

std::optional<SettingValue> TAffixForm::Stored(Setting setting) const {
  if (setting == Setting::kAffixWordWidth) {
    return SettingValue::Integer(WordWidth());
  }
  if (setting == Setting::kAffixNumberWidth) {
    return SettingValue::Integer(NumberWidth());
  }
  // The height is the window's own, never stored.
  return StoredPlace(*this, {Setting::kAffixTop, Setting::kAffixLeft, Setting::kAffixWidth, {}},
                     setting);
}

int TAffixForm::WordWidth() const {
  return selectedAffixGrid_->ColWidth(0);
}

int TAffixForm::NumberWidth() const {
  return selectedAffixGrid_->ColWidth(1);
}

void TAffixForm::WriteColumnTitles() {
  // The correction table is the engine's; this window is the one that shows it.
  model_.Correction().SetCell(0, 0, services_.translator.Cp1252("Candidate Word"));
  model_.Correction().SetCell(1, 0, services_.translator.Cp1252("Represents"));
}

void TAffixForm::FormCreate() {
  services_.translator.KeepTranslated(*this, [this] { WriteColumnTitles(); });
  WriteColumnTitles();

  // The created size and place, kept where nothing is stored or the reading stops.
  move(RowOf(Setting::kAffixLeft).design, RowOf(Setting::kAffixTop).design);
  resize(RowOf(Setting::kAffixWidth).design, kFixedHeight);
  // A hidden window gets no resize events: lay the grid out now, so that the column rule
  // measures the grid at the window's width.
  auto layOut = [this] {
    for (QLayout* l : {layout(), gridPanel_->layout()}) {
      l->invalidate();
      l->activate();
    }
    SelectedAffixGridColWidthsChanged();
  };
  layOut();
  RestoreSettings(services_.settings, kAffixWindowReadOrder,
                  [this, &layOut](Setting setting, const SettingValue& value) {
                    switch (setting) {
                      case Setting::kAffixTop:
                        move(x(), value.integer);
                        break;
                      case Setting::kAffixLeft:
                        move(value.integer, y());
                        break;
                      case Setting::kAffixWidth:
                        resize(WindowWidth(value.integer), kFixedHeight);
                        layOut();
                        break;
                      case Setting::kAffixWordWidth:
                        selectedAffixGrid_->SetColWidth(0, ColumnWidth(setting, value.integer));
                        break;
                      case Setting::kAffixNumberWidth:
                        selectedAffixGrid_->SetColWidth(1, ColumnWidth(setting, value.integer));
                        break;
                      default:
                        break;
                    }
                  });
  move(PlaceOnScreen(pos(), WindowSize(*this),
                     DesignPlace(Setting::kAffixLeft, Setting::kAffixTop)));
}

void TAffixForm::AffixOkBtnClick() {
  // OK searches the number again, as Convert does, and a search is the user's doing.
  services_.state.NoteUserActivity();
  selectedAffixGrid_->CommitEdit();
  if (model_.JoinAffix()) {
    accept();
  } else {
    reject();
  }
}

void TAffixForm::reject() {
  selectedAffixGrid_->CancelEdit();
  QDialog::reject();
}

void TAffixForm::SelectedAffixGridColWidthsChanged() {
  const int limit = selectedAffixGrid_->width() - kDigitsRoom;
  if (selectedAffixGrid_->ColWidth(0) > limit) {
    selectedAffixGrid_->SetColWidth(0, limit);
  }
}

bool TAffixForm::AcceptWord(const QString& text) const {
  // A blank word would leave a phrase row that shows nothing over its bullets.
  return !Trim(ToCp1252(text)).empty();
}

bool TAffixForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == selectedAffixGrid_ && event->type() == QEvent::Resize) {
    // The grid fills GridPanel, so it is resized exactly when the panel is; measured
    // here, the grid already has its new width.
    SelectedAffixGridColWidthsChanged();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vantrel
