// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TMainForm: the main window. The user types a number, searches it, picks candidates
// into a phrase, adds endings and beginnings, and copies the number with its phrase.
// The word engine (MainModel) does the work; this window turns Qt events into its calls
// and shows its tables through the grids.

#include <QMainWindow>
#include <QRect>
#include <QShortcut>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "AffixLoader.h"
#include "Dictionary.h"
#include "MainModel.h"
#include "Services.h"
#include "WindowEngineHost.h"
#include "WindowPlace.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTimer;
class QWidget;

namespace vantrel {

class ButtonAnimation;
class RandomPick;
class TAboutForm;
class TAffixForm;
class ButtonWorms;
class TLayerGrid;
class TLookupForm;
class TNotifyForm;
class SuggestWindow;
class TTestForm;
class WordClickGuard;

// The bundled dictionary of the window's language (the English one for a language that
// has none): beside the program (share/vantrel/ next to bin/), or where it was installed.
QString BundledDictionaryPath(const Translator& translator);
// The note above the Open dialog at start, in the current language: why it opens (the
// dictionary of the last run, stored, cannot be found or opened; or there is none yet)
// and the dictionaries that come with Vantrel in bundledFolder.
QString StartDictionaryNote(const Translator& translator, const QString& stored,
                            const QString& bundledFolder);

// Where a settings file could not be read, in the current language (" could not be read
// in lines 4, 6 and 9"): a handful of the lines by number, then how many more.
QString BadLinesText(const Translator& translator, const std::vector<std::size_t>& lines);

// The language chosen when none is stored: LANG cut before its '.', else the user's
// locale; it becomes the catalogs' language.
QString AutomaticLanguage();

class TMainForm : public QMainWindow, public KeepsSettings, private WindowEngineHost<MainHost> {
  Q_OBJECT

 public:
  // Runs FormCreate: reads the settings, binds the dictionary and has its affixes read
  // once the window has first painted, asking for a dictionary with the Open dialog when
  // there is none.
  // `opener` opens the dictionary's files; a test may give a slower or failing one.
  explicit TMainForm(Services& services, QWidget* parent = nullptr,
                     SourceOpener opener = OpenFileSource);
  ~TMainForm() override;

  // The windows created after this one, which the menu and buttons show.
  void SetSideWindows(TLookupForm* lookup, TAboutForm* about, TAffixForm* affix,
                      TNotifyForm* notify, TTestForm* test);
  // Or the way to create them, when they are made after the main window first shows: the
  // maker runs once, by MakeSideWindows or at the latest when a command or the closing
  // needs one of them, and gives them to SetSideWindows.
  void SetSideWindowMaker(std::function<void()> maker);
  void MakeSideWindows();
  // The suggestions' window, made when first needed.
  void MakeSuggestWindow();

  MainModel& Model() { return model_; }
  // The values of the main window itself that the settings keep.
  std::optional<SettingValue> Stored(Setting setting) const override;
  DictionaryFile& Dictionary() { return dictionary_; }
  const QString& CurrentLanguage() const { return currentLanguage_; }

  // Handlers of the window's events.
  void EntryEditChange(const QString& text);
  void EntryEditEnter();
  void PossibleGridMouseUp(QPoint point);
  void SelectedGridMouseUp(QPoint point);
  void AffixGridMouseUp(QPoint point);
  // Space or Enter on the current row: the keyboard's click.
  void PossibleGridRowPicked(int row);
  void SelectedGridRowPicked(int row);
  void AffixGridRowPicked(int row);
  void PossibleGridColWidthsChanged();
  void SelectedGridColWidthsChanged();
  void ConvertBtnClick();
  void CopyBtnClick();
  void ClearBtnClick();
  void LookupBtnClick();
  void Open1Click();
  void Exit1Click();
  void Suggest1Click();
  void Contents1Click();
  void About1Click();
  void Notify1Click();
  void Timer1Timer();
  // The Language menu: the language of every window becomes English, German or French.
  void English1Click();
  void German1Click();
  void French1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Sizes of the window's parts; its own design size is that of the settings table. The
  // command buttons keep their design width, which leaves the worms room on both sides.
  static constexpr int kMinWidth = 483;
  static constexpr int kMinHeight = 496;
  static constexpr int kRightColumnWidth = 185;
  static constexpr int kButtonPanelHeight = 263;
  static constexpr int kCommandButtonWidth = 99;
  // The longest path the system opens (PATH_MAX).
  static constexpr qsizetype kLongestPath = 4096;
  // Within the button panel: the command buttons' column and tops (Convert 107, Clear 142,
  // Copy 177, Lookup 212), and the radio group above them, ending above the top worm.
  static constexpr int kCommandLeft = 41;
  static constexpr int kCommandButtonHeight = 25;
  static constexpr int kFirstCommandTop = 107;
  static constexpr int kCommandPitch = 35;
  static constexpr QRect kConvertFromPlace{8, 0, 169, 84};

  // The first step of every handler of a user action: the animation counts the user's
  // idle time from it.
  void NoteUserActivity();
  // MainHost, beyond what every window gives its engine
  void EntryWritten() override;
  void StateChanged() override;
  std::optional<std::string> ChooseDictionaryFile() override;
  void ShowAffixWindow() override;

  void BuildWindow();
  QWidget* BuildEntryPanel(QWidget* parent);
  QWidget* BuildWordGrids(QWidget* parent);
  QWidget* BuildRightColumn(QWidget* parent);
  QWidget* BuildButtonPanel(QWidget* parent);
  void ConnectGrids();
  void ConnectButtons();
  void BuildMenu();
  void FormCreate();
  // Reads the window's own settings and tells the user of a settings file that could not
  // be used.
  RestoreResult RestoreWindowSettings();
  // Writes every persisted value and runs the countdown; when a value cannot be written,
  // the later ones and the countdown are left out and a warning names the file and why.
  void FormClose();
  void SelectLanguage(const QString& code, QAction* item);
  // Enables the other languages' items, rebuilds the caption and clears the status line.
  void UpdateLanguageMenu();
  // After a change of language and the window's own texts: what the window writes by hand
  // in the new language, the menu and the grids' column titles.
  void FollowLanguage();
  void UpdateCaption();
  void WriteColumnTitles();
  // Only rows shown wholly can become the current row, so a click never scrolls.
  static bool FullyVisibleRow(const TLayerGrid& grid, int row);
  void SyncColumns(TLayerGrid& from, TLayerGrid& to);

  Services& services_;
  DictionaryFile dictionary_;
  MainModel model_;
  QString currentLanguage_;
  QString lastChosenFile_;
  // Whether the entry field has had the focus yet.
  bool entryEntered_ = false;
  bool closing_ = false;
  // While the window is being created: an Open dialog then asks for the dictionary that
  // the program needs before it can show anything.
  bool creating_ = false;

  TLookupForm* lookupForm_ = nullptr;
  TAboutForm* aboutForm_ = nullptr;
  TAffixForm* affixForm_ = nullptr;
  TNotifyForm* notifyForm_ = nullptr;
  TTestForm* testForm_ = nullptr;

  QLineEdit* entryEdit_ = nullptr;
  QSplitter* panel4_ = nullptr;
  QWidget* selectedPanel_ = nullptr;
  TLayerGrid* possibleGrid_ = nullptr;
  TLayerGrid* selectedGrid_ = nullptr;
  TLayerGrid* affixGrid_ = nullptr;
  WordClickGuard* candidateClicks_ = nullptr;
  WordClickGuard* phraseClicks_ = nullptr;
  QLabel* additionsText_ = nullptr;
  QLabel* selectedWordLabel_ = nullptr;
  QRadioButton* leftBtn_ = nullptr;
  QRadioButton* rightBtn_ = nullptr;
  QRadioButton* anyPointBtn_ = nullptr;
  QPushButton* convertBtn_ = nullptr;
  QPushButton* clearBtn_ = nullptr;
  QPushButton* copyBtn_ = nullptr;
  QPushButton* lookupBtn_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QMenu* languageMenu_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QAction* open1_ = nullptr;
  QAction* exit1_ = nullptr;
  QAction* suggest1_ = nullptr;
  SuggestWindow* suggestForm_ = nullptr;
  std::function<void()> sideWindowMaker_;
  QAction* english1_ = nullptr;
  QAction* german1_ = nullptr;
  QAction* french1_ = nullptr;
  QAction* contents1_ = nullptr;
  QAction* about1_ = nullptr;
  QAction* notify1_ = nullptr;

  QTimer* timer1_ = nullptr;

  // The affix table is read on a thread of its own, so that the window shows at once and
  // answers while a large dictionary loads; the status line shows how far it is. When the
  // window is being created, the reading starts once it has first painted: nothing needs
  // the table before the user has seen the window, and the reading would slow its
  // showing. A window that is not shown when events are first handled starts it then.
  enum class LoadStart { kNow, kAfterFirstPaint };
  void StartAffixLoad(LoadStart when = LoadStart::kNow);
  // Ends a load that is under way without using its table; returns at once, as the
  // reading stops at its next read.
  void StopAffixLoad();
  // Shows the progress, and hands the table to the model once it is read.
  void AffixLoadTick();
  AffixLoader loader_;
  QTimer* loadTimer_ = nullptr;
  // A large dictionary is searched away from the window (MainModel::PollSearch): the
  // timer shows its progress and lists what it found; Esc, like Convert, stops it.
  void SearchStarted() override;
  void SearchTick();
  QTimer* searchTimer_ = nullptr;
  QShortcut* stopSearch_ = nullptr;
  ButtonWorms* worms_ = nullptr;
  std::unique_ptr<RandomPick> random_;
  std::unique_ptr<ButtonAnimation> animation_;
};

}  // namespace vantrel
