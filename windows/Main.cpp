// SPDX-License-Identifier: GPL-3.0-or-later
#include "Main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
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
#include <algorithm>
#include <stdexcept>
#include <utility>

#include "AboutVantrel.h"
#include "AffixUnit.h"
#include "ButtonAnimation.h"
#include "ButtonWorms.h"
#include "FirstPaint.h"
#include "LayerGrid.h"
#include "LookUp.h"
#include "Notify.h"
#include "ProgramGrids.h"
#include "QtCatalogs.h"
#include "SettingsTable.h"
#include "SuggestWindow.h"
#include "TestPanel.h"
#include "Texts.h"
#include "WindowPlace.h"
#include "WordClickGuard.h"

namespace vantrel {
namespace {

// The latest start of the affix table's reading after the window's creation, for a window
// that is shown but does not paint.
constexpr int kLatestLoadStartMs = 1000;

}  // namespace

QString BundledDictionaryPath(const Translator& translator) {
  return QString::fromStdString(
      vantrel::BundledDictionaryPath(ProgramDir(), translator.Language().toStdString()));
}

QString StartDictionaryNote(const Translator& translator, const QString& stored,
                            const QString& bundledFolder) {
  QString note;
  const QFileInfo file(stored);
  if (stored.isEmpty() || (file.isFile() && file.isReadable())) {
    note = translator.Text(
        "Vantrel needs a dictionary to turn numbers into words. Please choose one.");
  } else {
    note = translator.Text("The dictionary used last time, ") + stored +
           translator.Text(file.exists() ? ", cannot be opened. Please choose one."
                                         : ", cannot be found. Please choose one.");
  }
  const struct {
    const char* file;
    const char* language;
  } bundled[] = {{"Vantrel Dictionary.txt", "English"},
                 {"Vantrel Deutsch.txt", "German"},
                 {"Vantrel Francais.txt", "French"}};
  QStringList names;
  for (const auto& dictionary : bundled) {
    names << QString::fromLatin1(dictionary.file) + QStringLiteral(" (") +
                 translator.Text(dictionary.language) + QLatin1Char(')');
  }
  return note + QLatin1Char('\n') + translator.Text("Dictionaries that come with Vantrel, in ") +
         bundledFolder + translator.Text(":") + QLatin1Char('\n') +
         names.join(QStringLiteral(", "));
}

namespace {

// What the status line says while no dictionary is open, in the current language.
QString NoDictionaryHint(const Translator& translator) {
  return translator.Text("Open a dictionary with File > Open");
}

}  // namespace

QString AutomaticLanguage() {
  return QString::fromStdString(i18n::AutomaticLanguage(i18n::QtLanguageSources()));
}

TMainForm::TMainForm(Services& services, QWidget* parent, SourceOpener opener)
    : QMainWindow(parent),
      WindowEngineHost(*this, services),
      services_(services),
      dictionary_(std::move(opener)),
      model_(dictionary_, *this) {
  setObjectName(QStringLiteral("TMainForm"));
  BuildWindow();
  BuildMenu();
  creating_ = true;
  FormCreate();
  creating_ = false;
  // Ticks once a second for the whole run.
  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(1000);
  connect(timer1_, &QTimer::timeout, this, &TMainForm::Timer1Timer);
  timer1_->start();
}

TMainForm::~TMainForm() {
  StopAffixLoad();
  // The grids show the model's tables; let go of them before the model goes.
  for (TLayerGrid* grid : {possibleGrid_, selectedGrid_, affixGrid_}) {
    grid->SetTable(nullptr);
  }
}

void TMainForm::SetSideWindows(TLookupForm* lookup, TAboutForm* about, TAffixForm* affix,
                               TNotifyForm* notify, TTestForm* test) {
  lookupForm_ = lookup;
  aboutForm_ = about;
  affixForm_ = affix;
  notifyForm_ = notify;
  testForm_ = test;
}

void TMainForm::SetSideWindowMaker(std::function<void()> maker) {
  sideWindowMaker_ = std::move(maker);
}

void TMainForm::MakeSideWindows() {
  if (sideWindowMaker_) {
    std::exchange(sideWindowMaker_, {})();
  }
}

// ----- creation and closing -----

void TMainForm::FormCreate() {
  // First in the language chosen automatically, so that even a window whose settings
  // cannot be read speaks the user's language.
  currentLanguage_ = services_.translator.Language();
  services_.translator.KeepTranslated(*this, [this] { FollowLanguage(); });
  UpdateLanguageMenu();
  dictionary_.SetNoneInUse(Translate("No Dictionary Open"));

  const RestoreResult restored = RestoreWindowSettings();
  if (restored.keyExists && restored.failure) {
    model_.OpenDictionary();  // the user is asked for a dictionary; the answer is not needed here
  }

  random_ = std::make_unique<ClockSeededRandom>(ClockReading());
  animation_ = std::make_unique<ButtonAnimation>(*worms_, *random_, services_.state);
  UpdateCaption();
  dictionary_.Bind(dictionary_.InUse());
  WriteColumnTitles();
  entryEdit_->setMaxLength(MainModel::kEntryLimit);
  services_.state.StartupDone = true;
  StartAffixLoad(LoadStart::kAfterFirstPaint);
  UpdateCaption();
  if (dictionary_.InUse().empty()) {
    // The Open dialog was cancelled: the window is empty, and says where a dictionary is
    // opened.
    statusBar()->showMessage(NoDictionaryHint(services_.translator));
  }
}

void TMainForm::StartAffixLoad(LoadStart when) {
  StopAffixLoad();
  std::unique_ptr<ByteSource> source = model_.OpenForAffixes();
  if (source == nullptr) {
    return;
  }
  loader_.Prepare(std::move(source),
                  QFileInfo(QString::fromStdString(dictionary_.BoundPath())).size());
  model_.SetAffixesLoading(true);
  if (loadTimer_ == nullptr) {
    loadTimer_ = new QTimer(this);
    loadTimer_->setInterval(100);
    connect(loadTimer_, &QTimer::timeout, this, &TMainForm::AffixLoadTick);
  }
  loadTimer_->start();
  if (when == LoadStart::kNow) {
    loader_.Begin();
  } else {
    // Begin does nothing once the load has begun or was stopped.
    AfterFirstPaint(*this, [this] { loader_.Begin(); });
    QTimer::singleShot(0, this, [this] {
      if (!isVisible()) {
        loader_.Begin();
      }
    });
    // A window shown but never painted (one that starts minimized) still gets its table.
    QTimer::singleShot(kLatestLoadStartMs, this, [this] { loader_.Begin(); });
  }
  AffixLoadTick();
}

void TMainForm::StopAffixLoad() {
  if (loadTimer_ != nullptr) {
    loadTimer_->stop();
  }
  loader_.Stop();
  model_.SetAffixesLoading(false);
}

void TMainForm::AffixLoadTick() {
  if (!loader_.Done()) {
    const long long read = loader_.BytesRead();
    const long long size = loader_.Size();
    const QString progress =
        size > 0
            ? services_.translator.Text("Loading the dictionary: ") +
                  QString::number(std::min<long long>(read * 100 / size, 99)) + QStringLiteral(" %")
            : services_.translator.Text("Loading the dictionary: ") +
                  QString::number(read / (1024 * 1024)) + QStringLiteral(" MB");
    const QString waiting = services_.translator.Message(model_.StatusMessage());
    statusBar()->showMessage(waiting.isEmpty() ? progress
                                               : waiting + QStringLiteral("  ") + progress);
    return;
  }
  loadTimer_->stop();
  MainModel::ReadAffixTable read = loader_.Take();
  statusBar()->clearMessage();
  model_.TakeAffixes(std::move(read));
  StateChanged();
  if (model_.ReloadWanted()) {
    // A chosen dictionary was refused in favour of one whose table had not been read.
    StartAffixLoad();
  }
}

void TMainForm::SearchStarted() {
  if (searchTimer_ == nullptr) {
    searchTimer_ = new QTimer(this);
    // Often enough that a search of a second or two does not seem to wait for the timer.
    searchTimer_->setInterval(40);
    connect(searchTimer_, &QTimer::timeout, this, &TMainForm::SearchTick);
    stopSearch_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(stopSearch_, &QShortcut::activated, this, [this] {
      NoteUserActivity();
      model_.StopSearch();
    });
  }
  // The model's change that follows enables Esc for the search.
  searchTimer_->start();
}

void TMainForm::SearchTick() {
  if (!model_.PollSearch()) {
    searchTimer_->stop();
  }
}

void TMainForm::WriteColumnTitles() {
  const MainModel::GridTables tables = model_.TablesForGrids();
  const Translator& translator = services_.translator;
  tables.candidates.SetCell(0, 0, translator.Cp1252("Candidate Word"));
  tables.candidates.SetCell(1, 0, translator.Cp1252("Represents"));
  tables.phrase.SetCell(0, 0, translator.Cp1252("Selected Word"));
  tables.phrase.SetCell(1, 0, translator.Cp1252("Represents"));
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  // Closing the main window ends the run, also while the test window stands open, and
  // also when a value or the countdown cannot be stored: the user is warned, and settings
  // that cannot be written never keep the program from closing. Any other error goes on
  // to the error report; the run is not ended while it is on its way: the report shows it
  // in an event loop of its own, which an ended run would close at once. The window
  // closes after the report, and as the last window of the program its closing ends the
  // run.
  closing_ = true;
  event->accept();
  StopAffixLoad();
  FormClose();
  QCoreApplication::quit();
}

// ----- the host of the word engine -----

void TMainForm::NoteUserActivity() {
  services_.state.NoteUserActivity();
}

void TMainForm::EntryWritten() {
  // setText is the program's own write: it resets the modified state and raises no
  // textEdited, so the change handler stays out of it.
  entryEdit_->setText(FromCp1252(model_.EntryText()));
}

void TMainForm::StateChanged() {
  if (stopSearch_ != nullptr) {
    // Esc is the search's only while one runs; then it is the field's and the grids'.
    stopSearch_->setEnabled(model_.Searching());
  }
  convertBtn_->setEnabled(model_.ConvertEnabled());
  copyBtn_->setEnabled(model_.CopyEnabled());
  const QString status = services_.translator.Message(model_.StatusMessage());
  statusBar()->showMessage(status.isEmpty() && !creating_ && dictionary_.InUse().empty()
                               ? NoDictionaryHint(services_.translator)
                               : status);
  selectedWordLabel_->setText(FromCp1252(model_.SelectedWordLabel()));
  // Empty, it would be a control with nothing to read for a screen reader; its place stays.
  selectedWordLabel_->setVisible(!selectedWordLabel_->text().isEmpty());
  // A chosen dictionary that yields no words gives way to the one in use before.
  UpdateCaption();
}

std::optional<std::string> TMainForm::ChooseDictionaryFile() {
  const QString proposed =
      lastChosenFile_.isEmpty() ? BundledDictionaryPath(services_.translator) : lastChosenFile_;
  // At start the dialog comes before any window: it says why it is there.
  const QString note =
      creating_ ? StartDictionaryNote(
                      services_.translator, QString::fromStdString(model_.KeptDictionary()),
                      QFileInfo(BundledDictionaryPath(services_.translator)).absolutePath())
                : QString();
  const std::optional<QString> chosen = services_.dialogs.OpenFileName(
      this, services_.translator.Text("Open Dictionary"),
      services_.translator.Text("Text Documents") + QStringLiteral(" (*.txt)"), proposed, note);
  if (!chosen) {
    return std::nullopt;
  }
  lastChosenFile_ = *chosen;
  return chosen->toStdString();
}

void TMainForm::ShowAffixWindow() {
  MakeSideWindows();
  if (affixForm_ != nullptr) {
    affixForm_->ShowModal();
  }
}

// ----- the entry field -----

void TMainForm::EntryEditChange(const QString& text) {
  NoteUserActivity();
  if (!entryEdit_->isModified()) {
    return;
  }
  model_.TypeNumber(ToCp1252(text));
}

void TMainForm::EntryEditEnter() {
  NoteUserActivity();
  model_.ResumeNumber();
}

bool TMainForm::event(QEvent* event) {
  // The status line is the search's: the empty status tips that a menu sends while the
  // pointer moves over it would wipe the result of the last search.
  if (event->type() == QEvent::StatusTip) {
    return true;
  }
  return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == entryEdit_ && event->type() == QEvent::FocusIn) {
    // Only the user's own entering of the field starts over: a click, Tab, Shift+Tab or a
    // shortcut. The focus coming back when a menu, a popup or a dialog closes, or when the
    // window becomes active again, leaves the search and the phrase as they are. The first
    // focus of all, when the window first shows, counts: it gives the phrase its empty
    // slots.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    const bool byUser = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                        reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    if (byUser || !entryEntered_) {
      entryEntered_ = true;
      EntryEditEnter();
    }
  } else if (watched == entryEdit_ && event->type() == QEvent::KeyPress) {
    // Esc, or Undo while the field has nothing of its own to undo, brings back the phrase
    // that entering the field put aside.
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool undo = key->matches(QKeySequence::Undo) && !entryEdit_->isUndoAvailable();
    if ((key->key() == Qt::Key_Escape || undo) && model_.PhraseSetAside()) {
      NoteUserActivity();
      model_.TakeBackPhrase();
      return true;
    }
  } else if (watched == possibleGrid_ && event->type() == QEvent::Resize) {
    PossibleGridColWidthsChanged();
  }
  return QMainWindow::eventFilter(watched, event);
}

// ----- the grids -----

bool TMainForm::FullyVisibleRow(const TLayerGrid& grid, int row) {
  return row < grid.TopRow() + grid.VisibleRowCount();
}

void TMainForm::PossibleGridMouseUp(QPoint point) {
  NoteUserActivity();
  if (const int row = candidateClicks_->PickedRow(point); row > 0) {
    model_.ChooseCandidate(row);
  }
}

void TMainForm::SelectedGridMouseUp(QPoint point) {
  NoteUserActivity();
  if (const int row = phraseClicks_->PickedRow(point); row > 0) {
    model_.RemovePhraseWord(row);
  }
}

void TMainForm::AffixGridMouseUp(QPoint point) {
  NoteUserActivity();
  const CellCoord cell = affixGrid_->CellAt(point);
  model_.ChooseAffix(cell.Valid() ? cell.row : -1);
}

// The keyboard picks the current row, which it has brought into view itself: the scroll
// guard of the mouse has nothing to guard here.
void TMainForm::PossibleGridRowPicked(int row) {
  NoteUserActivity();
  if (row < 1) {
    return;
  }
  model_.ChooseCandidate(row);
}

void TMainForm::SelectedGridRowPicked(int row) {
  NoteUserActivity();
  if (row < 1) {
    return;
  }
  model_.RemovePhraseWord(row);
}

void TMainForm::AffixGridRowPicked(int row) {
  NoteUserActivity();
  model_.ChooseAffix(row);
}

void TMainForm::SyncColumns(TLayerGrid& from, TLayerGrid& to) {
  NoteUserActivity();
  if (!services_.state.StartupDone) {
    return;
  }
  // A grid not yet on screen has not been laid out: its width says nothing yet.
  if (!from.isVisible()) {
    return;
  }
  const int limit = from.width() - 40;
  if (from.ColWidth(0) > limit) {
    from.SetColWidth(0, limit);
  }
  to.SetColWidth(0, from.ColWidth(0));
  to.SetColWidth(1, from.ColWidth(1));
}

void TMainForm::PossibleGridColWidthsChanged() {
  SyncColumns(*possibleGrid_, *selectedGrid_);
}

void TMainForm::SelectedGridColWidthsChanged() {
  SyncColumns(*selectedGrid_, *possibleGrid_);
}

// ----- the buttons -----

void TMainForm::ConvertBtnClick() {
  NoteUserActivity();
  if (model_.Searching()) {
    model_.StopSearch();
    return;
  }
  model_.Search();
}

void TMainForm::CopyBtnClick() {
  NoteUserActivity();
  services_.dialogs.SetClipboardText(FromCp1252(model_.PhraseText()));
}

void TMainForm::ClearBtnClick() {
  NoteUserActivity();
  model_.ClearNumber();
}

void TMainForm::LookupBtnClick() {
  NoteUserActivity();
  MakeSideWindows();
  const std::string typed = LowerAZ(model_.EntryText());
  if (Trim(typed) == "test") {
    if (testForm_ != nullptr) {
      testForm_->ShowModeless();
    }
  } else if (lookupForm_ != nullptr) {
    lookupForm_->ShowModal();
  }
}

// ----- the menu -----

void TMainForm::Open1Click() {
  NoteUserActivity();
  if (!model_.OpenDictionary()) {
    return;
  }
  StartAffixLoad();
  UpdateCaption();
  model_.Search();  // made once the table is read
}

void TMainForm::Exit1Click() {
  close();
}

void TMainForm::Contents1Click() {
  services_.help.ShowContents();
}

void TMainForm::About1Click() {
  NoteUserActivity();
  MakeSideWindows();
  if (aboutForm_ != nullptr) {
    aboutForm_->ShowModal();
  }
}

void TMainForm::Notify1Click() {
  MakeSideWindows();
  if (notifyForm_ != nullptr) {
    notifyForm_->ShowModal();
  }
}

void TMainForm::Suggest1Click() {
  NoteUserActivity();
  MakeSuggestWindow();
  suggestForm_->ShowSuggestions();
}

void TMainForm::MakeSuggestWindow() {
  if (suggestForm_ == nullptr) {
    suggestForm_ = new SuggestWindow(model_, services_, this);
  }
}

void TMainForm::Timer1Timer() {
  animation_->Tick();
}

void TMainForm::English1Click() {
  SelectLanguage(QStringLiteral("en_US"), english1_);
}

void TMainForm::German1Click() {
  SelectLanguage(QStringLiteral("de_DE"), german1_);
}

void TMainForm::French1Click() {
  SelectLanguage(QStringLiteral("fr_FR"), french1_);
}

void TMainForm::SelectLanguage(const QString& code, QAction* item) {
  // Every open window follows by itself, this one included (FollowLanguage).
  services_.translator.SelectLanguage(code);
  item->setEnabled(false);
}

void TMainForm::FollowLanguage() {
  currentLanguage_ = services_.translator.Language();
  UpdateLanguageMenu();
  WriteColumnTitles();
}

void TMainForm::UpdateLanguageMenu() {
  english1_->setEnabled(true);
  german1_->setEnabled(true);
  french1_->setEnabled(true);
  const QString language = currentLanguage_.left(2);
  if (language == QLatin1String("en")) {
    english1_->setEnabled(false);
  } else if (language == QLatin1String("de")) {
    german1_->setEnabled(false);
  } else if (language == QLatin1String("fr")) {
    french1_->setEnabled(false);
  }
  // The caption shows the dictionary's name as it was set: "No Dictionary Open" stays in
  // the language it was written in.
  UpdateCaption();
  // A status line written in the old language is not translated; it goes. Only the hint
  // of a window without a dictionary is written again, in the new language.
  statusBar()->clearMessage();
  if (!creating_ && dictionary_.InUse().empty()) {
    statusBar()->showMessage(NoDictionaryHint(services_.translator));
  }
}

void TMainForm::UpdateCaption() {
  setWindowTitle(QStringLiteral("Vantrel ") + QString::fromStdString(dictionary_.name));
}

}  // namespace vantrel
