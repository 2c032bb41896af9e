#include "AffixUnit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

#include "CellProperties.h"
#include "LayerGrid.h"
#include "LookUp.h"
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

// A stored window width, at least the minimum and at most the width of the desktop: a
// window millions of pixels wide would take seconds to draw.
int WindowWidth(qint32 stored) {
  int widest = QWIDGETSIZE_MAX;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    widest = std::max(screen->availableVirtualGeometry().width(), kMinimumWidth);
  }
  return std::clamp(stored, kMinimumWidth, widest);
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
  setWindowTitle(TranslateText("Vantrel - Correct Root Word Spelling"));
  setMinimumWidth(kMinimumWidth);
  setFixedHeight(kFixedHeight);

  gridPanel_ = new QWidget(this);
  gridPanel_->setObjectName(QStringLiteral("GridPanel"));
  selectedAffixGrid_ = MakeSelectedAffixGrid(gridPanel_).release();
  selectedAffixGrid_->setObjectName(QStringLiteral("SelectedAffixGrid"));
  selectedAffixGrid_->SetTable(&model_.SelectedAffixGrid);
  // The proposed word may be corrected in place; its digits may not, because the
  // bullets that OK writes into the number follow them.
  selectedAffixGrid_->CellProperties(0, 1).SetEditable(kEditable);
  auto* panelLayout = new QVBoxLayout(gridPanel_);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->addWidget(selectedAffixGrid_);
  gridPanel_->setFixedHeight(
      selectedAffixGrid_->RowCount() *
          (selectedAffixGrid_->DefaultRowHeight() + selectedAffixGrid_->GridLineWidth()) +
      2 * selectedAffixGrid_->frameWidth());

  wordEditor_ = new QLineEdit(selectedAffixGrid_->viewport());
  wordEditor_->setObjectName(QStringLiteral("WordEditor"));
  wordEditor_->setFrame(false);
  wordEditor_->setMaxLength(static_cast<int>(kShortText));
  wordEditor_->setValidator(NewCp1252Validator(wordEditor_));
  wordEditor_->hide();
  wordEditor_->installEventFilter(this);
  selectedAffixGrid_->installEventFilter(this);
  selectedAffixGrid_->viewport()->installEventFilter(this);

  auto* caution = new QLabel(this);
  caution->setObjectName(QStringLiteral("CautionImage"));
  caution->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(kCautionSize));
  caution->setFixedSize(kCautionSize, kCautionSize);

  auto* warning = new QVBoxLayout;
  warning->setSpacing(0);
  int line = 0;
  for (std::string_view text : {"If you correct spelling,  make", "sure it remains consistant with",
                                "the numeric translation."}) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("WarningLine%1").arg(++line));
    label->setTextFormat(Qt::PlainText);
    label->setText(TranslateText(text));
    warning->addWidget(label);
  }
  warning->addStretch(1);

  affixOkBtn_ = new QPushButton(this);
  affixOkBtn_->setObjectName(QStringLiteral("AffixOkBtn"));
  affixOkBtn_->setText(TranslateText("OK"));
  affixOkBtn_->setDefault(true);
  affixCancelBtn_ = new QPushButton(this);
  affixCancelBtn_->setObjectName(QStringLiteral("AffixCancelBtn"));
  affixCancelBtn_->setText(TranslateText("Cancel"));

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

  connect(affixOkBtn_, &QPushButton::clicked, this, [this] { AffixOkBtnClick(); });
  connect(affixCancelBtn_, &QPushButton::clicked, this, &TAffixForm::reject);
  connect(selectedAffixGrid_, &TLayerGrid::ColWidthsChanged, this, [this] {
    SelectedAffixGridColWidthsChanged();
    PlaceWordEditor();
  });

  FormCreate();
}

TAffixForm::~TAffixForm() {
  // The model may go before the grid, which is deleted with the window's children.
  selectedAffixGrid_->SetTable(nullptr);
}

int TAffixForm::ShowModal() {
  CancelWordEdit();
  // The word cell is current and the grid has the focus, so typing corrects the word at
  // once, while Enter still presses OK.
  selectedAffixGrid_->FocusCell(0, 1);
  selectedAffixGrid_->setFocus(Qt::OtherFocusReason);
  return services_.dialogs.Exec(*this);
}

int TAffixForm::WordWidth() const {
  return selectedAffixGrid_->ColWidth(0);
}

int TAffixForm::NumberWidth() const {
  return selectedAffixGrid_->ColWidth(1);
}

void TAffixForm::FormCreate() {
  model_.SelectedAffixGrid.SetCell(0, 0, ToCp1252(TranslateText("Candidate Word")));
  model_.SelectedAffixGrid.SetCell(1, 0, ToCp1252(TranslateText("Represents")));

  // The created size and place, kept where nothing is stored or the reading stops.
  move(SpecOf(Setting::AffixLeft).design, SpecOf(Setting::AffixTop).design);
  resize(SpecOf(Setting::AffixWidth).design, kFixedHeight);
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
                      case Setting::AffixTop:
                        move(x(), value.integer);
                        break;
                      case Setting::AffixLeft:
                        move(value.integer, y());
                        break;
                      case Setting::AffixWidth:
                        resize(WindowWidth(value.integer), kFixedHeight);
                        layOut();
                        break;
                      case Setting::AffixWordWidth:
                        selectedAffixGrid_->SetColWidth(0, ColumnWidth(setting, value.integer));
                        break;
                      case Setting::AffixNumberWidth:
                        selectedAffixGrid_->SetColWidth(1, ColumnWidth(setting, value.integer));
                        break;
                      default:
                        break;
                    }
                  });
  move(PlaceOnScreen(pos(), WindowSize(*this), DesignPlace(Setting::AffixLeft, Setting::AffixTop)));
}

void TAffixForm::AffixOkBtnClick() {
  CommitWordEdit();
  if (model_.AffixOkBtnClick()) {
    accept();
  } else {
    reject();
  }
}

void TAffixForm::reject() {
  CancelWordEdit();
  QDialog::reject();
}

void TAffixForm::SelectedAffixGridColWidthsChanged() {
  const int limit = selectedAffixGrid_->width() - kDigitsRoom;
  if (selectedAffixGrid_->ColWidth(0) > limit) {
    selectedAffixGrid_->SetColWidth(0, limit);
  }
}

bool TAffixForm::Editing() const {
  return editCol_ >= 0;
}

void TAffixForm::BeginWordEdit() {
  BeginEdit(0, 1, nullptr);
}

void TAffixForm::BeginEdit(int col, int row, const QString* typed) {
  if (!selectedAffixGrid_->CanEditCell(col, row)) {
    return;
  }
  editCol_ = col;
  editRow_ = row;
  // The editor looks like the cell it lies over.
  wordEditor_->setFont(selectedAffixGrid_->DisplayFont(col, row));
  switch (selectedAffixGrid_->Layers().ResolvedAlign(col, row)) {
    case alRight:
      wordEditor_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      break;
    case alCenter:
      wordEditor_->setAlignment(Qt::AlignCenter);
      break;
    default:
      wordEditor_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      break;
  }
  PlaceWordEditor();
  if (typed != nullptr) {
    // Typing replaces the word, as in any grid.
    wordEditor_->setText(*typed);
    wordEditor_->end(false);
  } else {
    wordEditor_->setText(selectedAffixGrid_->CellText(col, row));
    wordEditor_->selectAll();
  }
  wordEditor_->show();
  wordEditor_->setFocus(Qt::OtherFocusReason);
}

void TAffixForm::CommitWordEdit() {
  if (!Editing()) {
    return;
  }
  const QString text = wordEditor_->text();
  const int col = editCol_;
  const int row = editRow_;
  CancelWordEdit();
  // A blank word would leave a phrase row that shows nothing over its bullets.
  if (!Trim(ToCp1252(text)).empty()) {
    selectedAffixGrid_->SetCellText(col, row, text);
  }
}

void TAffixForm::CancelWordEdit() {
  if (!Editing()) {
    return;
  }
  editCol_ = editRow_ = -1;
  const bool hadFocus = wordEditor_->hasFocus();
  wordEditor_->hide();
  if (hadFocus) {
    selectedAffixGrid_->setFocus(Qt::OtherFocusReason);
  }
}

void TAffixForm::PlaceWordEditor() {
  if (!Editing()) {
    return;
  }
  const QRect cell = selectedAffixGrid_->CellRect(editCol_, editRow_);
  if (cell.isEmpty()) {
    CancelWordEdit();
    return;
  }
  wordEditor_->setGeometry(cell);
}

bool TAffixForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == wordEditor_) {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        CommitWordEdit();
        return true;
      }
      if (key == Qt::Key_Escape) {
        CancelWordEdit();
        return true;
      }
    } else if (event->type() == QEvent::FocusOut) {
      // Leaving the editor for another control keeps the text; a context menu or the
      // window losing the focus does not end the edit.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
        CommitWordEdit();
      }
    }
  } else if (watched == selectedAffixGrid_) {
    if (event->type() == QEvent::KeyPress && !Editing()) {
      auto* key = static_cast<QKeyEvent*>(event);
      const int col = selectedAffixGrid_->Col();
      const int row = selectedAffixGrid_->Row();
      if (key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier) {
        BeginEdit(col, row, nullptr);
        return Editing();
      }
      const bool command =
          (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
      const QString text = key->text();
      if (!command && !text.isEmpty() && text.at(0).isPrint()) {
        BeginEdit(col, row, &text);
        return Editing();
      }
    } else if (event->type() == QEvent::Resize) {
      // The grid fills GridPanel, so it is resized exactly when the panel is; measured
      // here, the grid already has its new width.
      SelectedAffixGridColWidthsChanged();
      PlaceWordEditor();
    }
  } else if (watched == selectedAffixGrid_->viewport() &&
             event->type() == QEvent::MouseButtonDblClick) {
    const TGridCoord cell =
        selectedAffixGrid_->MouseToCell(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (cell.Valid() && selectedAffixGrid_->CanEditCell(cell.col, cell.row)) {
      BeginEdit(cell.col, cell.row, nullptr);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vantrel
