// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls, menus and their connections: what the window is made of.
#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "ButtonWorms.h"
#include "DialogParts.h"
#include "LayerGrid.h"
#include "Main.h"
#include "ProgramGrids.h"
#include "Texts.h"
#include "WordClickGuard.h"

namespace vantrel {

// ----- building the window -----

namespace {

// A control with its object name, by which the translation and a screen reader find it.
template <class Control>
Control* Named(Control* control, const char* name) {
  control->setObjectName(QLatin1String(name));
  return control;
}

// A box laid out without margins or spacing of its own.
template <class Layout>
Layout* TightLayout(QWidget* parent) {
  auto* layout = new Layout(parent);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  return layout;
}

QRadioButton* ModeButton(QWidget* parent, const char* name, std::string_view text,
                         std::string_view hint) {
  auto* button = Named(new QRadioButton(parent), name);
  button->setText(SourceText(text));
  button->setToolTip(SourceText(hint));
  return button;
}

// A program grid alone in a panel of the splitter, which gives the panel its height.
TLayerGrid* GridInPanel(QSplitter* splitter, const char* panelName, int minHeight,
                        ProgramGrid which, std::string_view readerName, std::string_view hint) {
  auto* panel = Named(new QWidget(splitter), panelName);
  panel->setMinimumHeight(minHeight);
  auto* grid = MakeProgramGrid(which, panel).release();
  grid->setAccessibleName(SourceText(readerName));
  grid->SetHint(SourceText(hint));
  TightLayout<QVBoxLayout>(panel)->addWidget(grid);
  splitter->addWidget(panel);
  return grid;
}

}  // namespace

void TMainForm::BuildWindow() {
  resize(RowOf(Setting::kFormWidth).design, RowOf(Setting::kFormHeight).design);
  setMinimumSize(kMinWidth, kMinHeight);
  setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
  // The design place, kept where nothing is stored or the reading stops before it.
  move(DesignPlace(Setting::kFormLeft, Setting::kFormTop));

  auto* central = new QWidget(this);
  auto* outer = TightLayout<QVBoxLayout>(central);
  outer->addWidget(BuildEntryPanel(central));
  // The work area: the two word grids on the left, the affixes and buttons on the right.
  auto* work = new QWidget(central);
  auto* workLayout = TightLayout<QHBoxLayout>(work);
  workLayout->setSpacing(2);
  workLayout->addWidget(BuildWordGrids(work), 1);
  workLayout->addWidget(BuildRightColumn(work));
  outer->addWidget(work, 1);
  setCentralWidget(central);

  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->setSizeGripEnabled(false);
  statusBar()->setFixedHeight(25);

  ConnectGrids();
  ConnectButtons();
}

// The entry panel: the number, across the whole width.
QWidget* TMainForm::BuildEntryPanel(QWidget* parent) {
  auto* panel = new QWidget(parent);
  panel->setFixedHeight(32);
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(4, 3, 4, 3);
  entryEdit_ = Named(new QLineEdit(panel), "EntryEdit");
  QFont entryFont = entryEdit_->font();
  entryFont.setPixelSize(16);
  entryEdit_->setFont(entryFont);
  entryEdit_->setToolTip(SourceText("Enter Number to Convert"));
  entryEdit_->setPlaceholderText(SourceText("Enter Number to Convert"));
  entryEdit_->setAccessibleName(SourceText("Enter Number to Convert"));
  entryEdit_->installEventFilter(this);
  // The number lives in the dictionary's code page; what it cannot hold is refused at
  // the keyboard instead of turning into '?' behind the user's back.
  entryEdit_->setValidator(NewCp1252Validator(entryEdit_));
  layout->addWidget(entryEdit_);
  return panel;
}

// The candidates above the phrase, the border between them dragged by the user.
QWidget* TMainForm::BuildWordGrids(QWidget* parent) {
  panel4_ = Named(new QSplitter(Qt::Vertical, parent), "Panel4");
  panel4_->setHandleWidth(2);
  panel4_->setChildrenCollapsible(false);
  possibleGrid_ = GridInPanel(panel4_, "PossiblePanel", 54, ProgramGrid::kPossible,
                              "Candidate Word", "Click to select");
  selectedGrid_ = GridInPanel(panel4_, "SelectedPanel", 56, ProgramGrid::kSelected, "Selected Word",
                              "Click to remove");
  selectedPanel_ = selectedGrid_->parentWidget();
  // A resize of the grids' panel reaches the candidate grid once the layout has given
  // it its new size; that is when its columns can be measured against it.
  possibleGrid_->installEventFilter(this);
  panel4_->setStretchFactor(0, 1);
  panel4_->setStretchFactor(1, 0);
  panel4_->setSizes({300, RowOf(Setting::kSelectedPanelHeight).design});
  return panel4_;
}

// The affix offers for the chosen word above the mode and command buttons.
QWidget* TMainForm::BuildRightColumn(QWidget* parent) {
  auto* right = new QWidget(parent);
  right->setFixedWidth(kRightColumnWidth);
  auto* layout = new QVBoxLayout(right);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  additionsText_ = Named(new QLabel(right), "AdditionsText");
  QFont bold = additionsText_->font();
  bold.setBold(true);
  additionsText_->setFont(bold);
  additionsText_->setAlignment(Qt::AlignCenter);
  additionsText_->setText(SourceText("Add To Word"));
  layout->addWidget(additionsText_);
  selectedWordLabel_ = Named(new QLabel(right), "SelectedWordLabel");
  selectedWordLabel_->setAlignment(Qt::AlignCenter);
  selectedWordLabel_->setToolTip(SourceText("Selected Word"));
  QSizePolicy keepsPlace = selectedWordLabel_->sizePolicy();
  keepsPlace.setRetainSizeWhenHidden(true);
  selectedWordLabel_->setSizePolicy(keepsPlace);
  layout->addWidget(selectedWordLabel_);
  affixGrid_ = MakeProgramGrid(ProgramGrid::kAffix, right).release();
  affixGrid_->setAccessibleName(SourceText("Add To Word"));
  // The list has no title row; a screen reader names its columns by these.
  affixGrid_->SetColumnNames({SourceText("Candidate Word"), SourceText("Represents")});
  affixGrid_->SetHint(SourceText("Click to select"));
  layout->addWidget(affixGrid_, 1);
  layout->addWidget(BuildButtonPanel(right));
  return right;
}

QWidget* TMainForm::BuildButtonPanel(QWidget* parent) {
  // The panel places its parts where the design has them, not by a layout: the worms lie
  // at fixed distances from the buttons, and the top one shows whole only when the radio
  // group ends above it.
  auto* panel = new QWidget(parent);
  panel->setFixedSize(kRightColumnWidth, kButtonPanelHeight);

  auto* convertFrom = Named(new QGroupBox(panel), "ConvertFrom");
  convertFrom->setTitle(SourceText("Convert From"));
  convertFrom->setGeometry(kConvertFromPlace);
  auto* modeLayout = new QVBoxLayout(convertFrom);
  modeLayout->setContentsMargins(8, 0, 8, 2);
  modeLayout->setSpacing(0);
  leftBtn_ = ModeButton(convertFrom, "LeftBtn", "Left", "Include leftmost digit in conversion");
  rightBtn_ = ModeButton(convertFrom, "RightBtn", "Right", "Include rightmost digit in conversion");
  anyPointBtn_ =
      ModeButton(convertFrom, "AnyPointBtn", "Any Point ", "Convert longest string of digits");
  anyPointBtn_->setChecked(true);
  for (QRadioButton* button : {leftBtn_, rightBtn_, anyPointBtn_}) {
    modeLayout->addWidget(button);
  }

  const auto command = [panel](const char* name, std::string_view text, std::string_view hint) {
    return MakeButton(panel, name, SourceText(text), SourceText(hint));
  };
  convertBtn_ = command("ConvertBtn", "Convert", "Convert to alpha equivalents");
  convertBtn_->setEnabled(false);
  clearBtn_ = command("ClearBtn", "Clear", "Clear form");
  copyBtn_ = command("CopyBtn", "Copy", "Copy number and phrase to clipboard");
  copyBtn_->setEnabled(false);
  lookupBtn_ = command("LookupBtn", "Lookup", "Lookup numeric equivalent of a word");
  int top = kFirstCommandTop;
  for (QPushButton* button : {convertBtn_, clearBtn_, copyBtn_, lookupBtn_}) {
    button->setGeometry(kCommandLeft, top, kCommandButtonWidth, kCommandButtonHeight);
    top += kCommandPitch;
  }
  worms_ = Named(new ButtonWorms(convertBtn_, clearBtn_, copyBtn_, lookupBtn_), "ButtonWorms");
  return panel;
}

// The grids show the engine's tables; a click or the keyboard's pick on a row calls the
// row's handler, and the two word grids keep their column widths alike.
void TMainForm::ConnectGrids() {
  const MainModel::GridTables tables = model_.TablesForGrids();
  possibleGrid_->SetTable(&tables.candidates);
  selectedGrid_->SetTable(&tables.phrase);
  affixGrid_->SetTable(&tables.affixOffers);
  for (TLayerGrid* grid : {possibleGrid_, selectedGrid_, affixGrid_}) {
    grid->SetOnSelectCell([grid](int, int row) { return FullyVisibleRow(*grid, row); });
    grid->SetPickKeys(true);
  }
  candidateClicks_ = new WordClickGuard(*possibleGrid_);
  phraseClicks_ = new WordClickGuard(*selectedGrid_);

  const auto onRelease = [this](TLayerGrid* grid, void (TMainForm::*handler)(QPoint)) {
    connect(grid, &TLayerGrid::MouseUp, this,
            [this, handler](Qt::MouseButton, Qt::KeyboardModifiers, QPoint point) {
              (this->*handler)(point);
            });
  };
  onRelease(possibleGrid_, &TMainForm::PossibleGridMouseUp);
  onRelease(selectedGrid_, &TMainForm::SelectedGridMouseUp);
  onRelease(affixGrid_, &TMainForm::AffixGridMouseUp);
  connect(possibleGrid_, &TLayerGrid::RowPicked, this, &TMainForm::PossibleGridRowPicked);
  connect(selectedGrid_, &TLayerGrid::RowPicked, this, &TMainForm::SelectedGridRowPicked);
  connect(affixGrid_, &TLayerGrid::RowPicked, this, &TMainForm::AffixGridRowPicked);
  connect(possibleGrid_, &TLayerGrid::ColWidthsChanged, this,
          &TMainForm::PossibleGridColWidthsChanged);
  connect(selectedGrid_, &TLayerGrid::ColWidthsChanged, this,
          &TMainForm::SelectedGridColWidthsChanged);
}

void TMainForm::ConnectButtons() {
  connect(entryEdit_, &QLineEdit::textEdited, this, &TMainForm::EntryEditChange);
  connect(convertBtn_, &QPushButton::clicked, this, &TMainForm::ConvertBtnClick);
  connect(copyBtn_, &QPushButton::clicked, this, &TMainForm::CopyBtnClick);
  connect(clearBtn_, &QPushButton::clicked, this, &TMainForm::ClearBtnClick);
  connect(lookupBtn_, &QPushButton::clicked, this, &TMainForm::LookupBtnClick);
  for (QRadioButton* button : {leftBtn_, rightBtn_, anyPointBtn_}) {
    // The engine reads the mode at every search, also when a pick searches again.
    connect(button, &QRadioButton::toggled, this, [this] {
      model_.SetMode(leftBtn_->isChecked()    ? SearchMode::kLeft
                     : rightBtn_->isChecked() ? SearchMode::kRight
                                              : SearchMode::kAnyPoint);
    });
    // A click on a mode button searches at once, also on the one already selected.
    connect(button, &QRadioButton::clicked, this, &TMainForm::ConvertBtnClick);
  }
  // Convert is the window's default button: Enter presses it while it is enabled.
  for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    connect(shortcut, &QShortcut::activated, this, [this] {
      if (convertBtn_->isEnabled()) {
        convertBtn_->click();
      }
    });
  }
}

void TMainForm::BuildMenu() {
  fileMenu_ = menuBar()->addMenu(SourceText("&File"));
  fileMenu_->setObjectName(QStringLiteral("File1"));
  open1_ = fileMenu_->addAction(SourceText("&Open"), this, &TMainForm::Open1Click);
  open1_->setObjectName(QStringLiteral("Open1"));
  open1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  suggest1_ = fileMenu_->addAction(SourceText("&Suggest"), this, &TMainForm::Suggest1Click);
  suggest1_->setObjectName(QStringLiteral("Suggest1"));
  suggest1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  exit1_ = fileMenu_->addAction(SourceText("E&xit"), this, &TMainForm::Exit1Click);
  exit1_->setObjectName(QStringLiteral("Exit1"));

  languageMenu_ = menuBar()->addMenu(SourceText("&Language"));
  languageMenu_->setObjectName(QStringLiteral("Language1"));
  english1_ = languageMenu_->addAction(SourceText("&English"), this, &TMainForm::English1Click);
  english1_->setObjectName(QStringLiteral("English1"));
  // The languages' own names: no catalog has them, so they read the same in every language.
  german1_ = languageMenu_->addAction(SourceText("&Deutsch"), this, &TMainForm::German1Click);
  german1_->setObjectName(QStringLiteral("German1"));
  french1_ = languageMenu_->addAction(SourceText("&Francais"), this, &TMainForm::French1Click);
  french1_->setObjectName(QStringLiteral("French1"));

  helpMenu_ = menuBar()->addMenu(SourceText("&Help"));
  helpMenu_->setObjectName(QStringLiteral("Help1"));
  contents1_ = helpMenu_->addAction(SourceText("&Contents"), this, &TMainForm::Contents1Click);
  contents1_->setObjectName(QStringLiteral("Contents1"));
  about1_ = helpMenu_->addAction(SourceText("&About"), this, &TMainForm::About1Click);
  about1_->setObjectName(QStringLiteral("About1"));
  notify1_ = helpMenu_->addAction(SourceText("&Notify"), this, &TMainForm::Notify1Click);
  notify1_->setObjectName(QStringLiteral("Notify1"));

  InstallHelpKey(this, services_.help, kHelpMainWindow);
  InstallHelpKey(fileMenu_, services_.help, kHelpFileMenu);
  InstallHelpKey(helpMenu_, services_.help, kHelpHelpMenu);
}

}  // namespace vantrel
