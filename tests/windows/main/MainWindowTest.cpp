// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a person would: typing, searching, picking and removing
// words, copying, clearing, and the settings read at creation and written at close.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include <QStatusBar>
#include "AboutVantrel.h"
#include "AffixUnit.h"
#include "Catalogs.h"
#include "FindControl.h"
#include "LayerGrid.h"
#include "LookUp.h"
#include "Main.h"
#include "Notify.h"
#include "ProgramWindows.h"
#include "QtCatalogs.h"
#include "QtWait.h"
#include "RecordingHelp.h"
#include "RecordingLauncher.h"
#include "ScriptedDialogs.h"
#include "SettingsTable.h"
#include "Suggest.h"
#include "TestPanel.h"
#include "Texts.h"

namespace vantrel {
namespace {

using testing::ScriptedDialogs;

const QString kBullet = QString(QChar(0x2022));

// The columns of a widget's picture that hold dark ink, as far as it goes to either side.
QRect InkColumns(QWidget& widget) {
  const QImage image = widget.grab().toImage();
  int left = image.width();
  int right = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  return QRect(left, 0, right - left + 1, image.height());
}

// Every write to a regular file past the limit fails with EFBIG, as on a full disk; this
// binds root too, whom folder permissions do not stop.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

class MainWindowTest : public testing::ProgramWindowsTest {
 protected:
  void SetUp() override {
    WriteDictionary(
        "3569377,flowers,B\r\n4357,help,A\r\n228,bat,B\r\n46,go,B\r\n2255,ball,B\r\n"
        "464,-ing,B\r\n663,+one,B\r\n9377,wees,B\r\n77,ss,B\r\n7,s,B\r\n"
        "0,0,D\r\n1,1,D\r\n2,2,D\r\n8,8,D\r\n\r\n");
  }

  // Starts the program's windows in their order; the first run asks for a dictionary.
  void Start() {
    CreateWindows();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }

  // Makes the main window the active one, as a click on its frame would.
  bool ActivateMainWindow() {
    form->activateWindow();
    return QTest::qWaitForWindowActive(form.get());
  }

  void StartWithDictionary() {
    dialogs.fileChoices.push_back(dictionaryPath);
    Start();
  }

  // Opens the File menu with a click on its title, as a user would; null when it does not.
  QMenu* OpenFileMenu() {
    QMenuBar* bar = form->menuBar();
    auto* fileMenu = form->findChild<QMenu*>(QStringLiteral("File1"));
    if (fileMenu == nullptr) {
      ADD_FAILURE() << "the window has no File menu";
      return nullptr;
    }
    QTest::mouseClick(bar, Qt::LeftButton, {},
                      bar->actionGeometry(fileMenu->menuAction()).center());
    if (!QTest::qWaitFor([fileMenu] { return fileMenu->isVisible(); })) {
      ADD_FAILURE() << "the File menu did not open";
      return nullptr;
    }
    return fileMenu;
  }

  // Leaves a settings file as a user or another program might have written it.
  void WriteSettingsFile(const QByteArray& bytes) {
    QDir().mkpath(settings->Folder());
    QFile file(settings->FilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  // The same, as the key of this program with the given value lines.
  void WriteSettingsValues(const QString& lines) {
    WriteSettingsFile((QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                                      "[HKEY_CURRENT_USER\\Software\\Vantrel]\n") +
                       lines)
                          .toUtf8());
  }

  void TypeNumber(const QString& number) {
    testing::Find<QLineEdit>(*form, "EntryEdit")->setFocus();
    QTest::keyClicks(testing::Find<QLineEdit>(*form, "EntryEdit"), number);
  }

  int CandidateRow(const std::string& word) {
    const CellTable& table = form->Model().Candidates();
    for (int row = 1; row < table.RowCount(); ++row) {
      if (table.Cell(0, row) == word) {
        return row;
      }
    }
    return -1;
  }

  // Clicks a row of a grid where a person would: in the middle of its first cell.
  void ClickRow(TLayerGrid* grid, int row) {
    grid->SetTopRow(std::max(grid->FixedRows(), row - 2));
    const QPoint point = grid->CellRect(0, row).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, point);
  }

  void Pick(const std::string& word) {
    const int row = CandidateRow(word);
    ASSERT_GT(row, 0) << word << " is no candidate";
    ClickRow(testing::Find<TLayerGrid>(*form, "PossibleGrid"), row);
  }
};

TEST_F(MainWindowTest, TheFirstRunAsksForADictionaryAndComesUpAtTheDesignPlace) {
  StartWithDictionary();
  ASSERT_EQ(dialogs.openDialogs.size(), 1u);
  EXPECT_EQ(dialogs.openDialogs[0].title, QStringLiteral("Open Dictionary"));
  EXPECT_EQ(dialogs.openDialogs[0].filter, QStringLiteral("Text Documents (*.txt)"));
  EXPECT_EQ(dialogs.openDialogs[0].proposed, BundledDictionaryPath(translator));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + dictionaryPath);
  EXPECT_EQ(form->pos(), QPoint(474, 189));
  EXPECT_EQ(form->size(), QSize(485, 498));
  for (TLayerGrid* grid : {testing::Find<TLayerGrid>(*form, "PossibleGrid"),
                           testing::Find<TLayerGrid>(*form, "SelectedGrid")}) {
    EXPECT_EQ(grid->ColWidth(0), 151);
  }
  EXPECT_FALSE(state.AnimationOn);
  EXPECT_TRUE(state.StartupDone);
  EXPECT_FALSE(testing::Find<QPushButton>(*form, "ConvertBtn")->isEnabled());
  EXPECT_FALSE(testing::Find<QPushButton>(*form, "CopyBtn")->isEnabled());
  EXPECT_TRUE(testing::Find<QRadioButton>(*form, "AnyPointBtn")->isChecked());
  EXPECT_EQ(testing::Find<TLayerGrid>(*form, "PossibleGrid")->CellText(0, 0),
            QStringLiteral("Candidate Word"));
  EXPECT_EQ(testing::Find<TLayerGrid>(*form, "SelectedGrid")->CellText(0, 0),
            QStringLiteral("Selected Word"));
}

TEST_F(MainWindowTest, ACancelledFirstRunLeavesNoDictionaryOpen) {
  Start();  // no choice queued: the user cancels
  EXPECT_EQ(dialogs.openDialogs.size(), 1u);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel No Dictionary Open"));
  TypeNumber(QStringLiteral("228"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  EXPECT_EQ(dialogs.warnings.value(0),
            QStringLiteral("Can Not Open No Dictionary Open in ConvertBtnClick"));
}

// The shown text "No Dictionary Open" is no file name: a file of that name in the working
// folder is never opened, whether the settings were written by this version at a close
// without a dictionary or hold the shown text from an earlier one.
TEST_F(MainWindowTest, NoDictionaryIsStoredAsEmptyAndTheShownTextIsNeverOpened) {
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  ASSERT_TRUE(QFile::copy(dictionaryPath, dir.filePath(QStringLiteral("No Dictionary Open"))));
  struct Case {
    const char* name;
    bool earlierFile;
  };
  for (const Case& c :
       {Case{"closed without a dictionary", false}, Case{"file of an earlier version", true}}) {
    SCOPED_TRACE(c.name);
    QFile::remove(settings->FilePath());
    if (c.earlierFile) {
      QDir().mkpath(settings->Folder());
      QFile file(settings->FilePath());
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(
          "Windows Registry Editor Version 5.00\n\n"
          "[HKEY_CURRENT_USER\\Software\\Vantrel]\n"
          "\"Dictionary\"=\"No Dictionary Open\"\n");
    } else {
      Start();  // the user cancels the Open dialog
      ASSERT_TRUE(form->close());
      std::optional<SettingsKey> key = settings->OpenKey(SettingsStore::OpenMode::kExisting);
      ASSERT_TRUE(key);
      EXPECT_EQ(key->ReadText(QStringLiteral("Dictionary")).value, QString());
      CloseWindows();
    }
    dialogs.openDialogs.clear();
    dialogs.warnings.clear();
    Start();                                    // cancelled again
    EXPECT_FALSE(dialogs.openDialogs.empty());  // nothing opened silently
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel No Dictionary Open"));
    TypeNumber(QStringLiteral("228"));
    testing::Find<QPushButton>(*form, "ConvertBtn")->click();
    EXPECT_EQ(dialogs.warnings.value(0),
              QStringLiteral("Can Not Open No Dictionary Open in ConvertBtnClick"));
    EXPECT_EQ(CandidateRow("bat"), -1);
    CloseWindows();
  }
  QDir::setCurrent(before);
}

// The English "No Dictionary Open" that an earlier version stored is no file name in any
// language. A German or French window shows its own text while no dictionary is open, so
// the stored English text differs from what is shown; it is still never opened, whether
// or not a file of that name lies in the working folder, never named to the user as a
// dictionary and never kept, and the caption shows the text of the window's language.
TEST_F(MainWindowTest, TheStoredNoDictionaryOpenIsNoFileInAnyLanguage) {
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = i18n::EnvironmentLanguageSources();
  i18n::ProgramTranslation translation(setup);
  const QString stored = QStringLiteral("No Dictionary Open");
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  struct Case {
    const char* language;
    bool translated;  // the catalog has a text of its own for the placeholder
    bool fileThere;   // a dictionary of that name would open without a word
  };
  const Case cases[] = {
      {"de_DE", true, true},  {"de_DE", true, false}, {"fr_FR", true, true},
      {"fr_FR", true, false}, {"en_US", false, true}, {"en_US", false, false},
  };
  QStringList opened;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.language) + (c.fileThere ? ", a file of that name" : ", no file"));
    QFile::remove(dir.filePath(stored));
    if (c.fileThere) {
      ASSERT_TRUE(QFile::copy(dictionaryPath, dir.filePath(stored)));
    }
    QFile::remove(settings->FilePath());
    WriteSettingsValues(QStringLiteral("\"Language\"=\"%1\"\n\"Dictionary\"=\"%2\"\n")
                            .arg(QLatin1String(c.language), stored));
    dialogs.openDialogs.clear();
    dialogs.warnings.clear();
    opened.clear();
    services =
        std::make_unique<Services>(Services{dialogs, launcher, help, *settings, state, translator});
    form = std::make_unique<TMainForm>(*services, nullptr, [&opened](const std::string& path) {
      opened << QString::fromStdString(path);
      return OpenFileSource(path);
    });
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    WaitForAffixes();
    ASSERT_EQ(form->CurrentLanguage(), QLatin1String(c.language));
    const QString shown = TranslateText("No Dictionary Open");
    EXPECT_EQ(shown != stored, c.translated) << shown.toStdString();

    // The settings lack the window's place, so the user is asked for a dictionary and
    // cancels. Nothing was opened instead, and the dialog speaks of no earlier dictionary.
    // It proposes the bundled dictionary of the window's language.
    ASSERT_FALSE(dialogs.openDialogs.empty());
    const QString proposed = QFileInfo(dialogs.openDialogs[0].proposed).fileName();
    EXPECT_EQ(proposed, c.language[0] == 'd'   ? QStringLiteral("Vantrel Deutsch.txt")
                        : c.language[0] == 'f' ? QStringLiteral("Vantrel Francais.txt")
                                               : QStringLiteral("Vantrel Dictionary.txt"));
    for (const auto& asked : dialogs.openDialogs) {
      EXPECT_FALSE(asked.note.contains(stored)) << asked.note.toStdString();
    }
    EXPECT_TRUE(dialogs.warnings.isEmpty())
        << dialogs.warnings.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(opened.contains(stored)) << opened.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(form->windowTitle().toStdString(),
              (QStringLiteral("Vantrel ") + shown).toStdString());

    // A search finds no dictionary and says so in the window's language.
    TypeNumber(QStringLiteral("228"));
    testing::Find<QPushButton>(*form, "ConvertBtn")->click();
    EXPECT_EQ(CandidateRow("bat"), -1);
    EXPECT_EQ(dialogs.warnings.size(), 1);
    const QString warning = dialogs.warnings.value(0);
    EXPECT_TRUE(warning.contains(shown)) << warning.toStdString();
    if (c.translated) {
      EXPECT_FALSE(warning.contains(stored)) << warning.toStdString();
    }
    EXPECT_FALSE(opened.contains(stored)) << opened.join(QLatin1Char('\n')).toStdString();

    // Closing keeps no dictionary, not the text shown for none.
    ASSERT_TRUE(form->close());
    std::optional<SettingsKey> key = settings->OpenKey(SettingsStore::OpenMode::kExisting);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ReadText(QStringLiteral("Dictionary")).value.toStdString(), "");
    CloseWindows();
  }
  QDir::setCurrent(before);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// The animation counts idle ticks in the shell state; what the user does here, in the
// window or through the engine's handlers, sets the count back.
TEST_F(MainWindowTest, TheUsersActionsResetTheIdleCount) {
  StartWithDictionary();
  struct Step {
    const char* name;
    std::function<void()> act;
  };
  const Step steps[] = {
      {"typing", [this] { TypeNumber(QStringLiteral("228")); }},
      {"Convert", [this] { testing::Find<QPushButton>(*form, "ConvertBtn")->click(); }},
      {"Clear", [this] { testing::Find<QPushButton>(*form, "ClearBtn")->click(); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    state.IdleTicks = 7;
    step.act();
    EXPECT_EQ(state.IdleTicks, 0);
  }
}

// The engine's own steps are not the user's: a placed word rebuilds the phrase and
// searches again, a suggestion places several words, and none of that sets the idle count
// back, whatever the window does when the engine tells it what changed. The user's
// handlers around the same steps do.
TEST_F(MainWindowTest, ProgramStepsAreNoUserActivity) {
  StartWithDictionary();
  TypeNumber(QStringLiteral("228-4357"));
  MainModel& model = form->Model();
  Suggestion suggestion;
  suggestion.placed = {{"bat", "228", 1}, {"help", "4357", 5}};
  struct Step {
    const char* name;
    std::function<void()> act;
    bool byUser;
  };
  const Step steps[] = {
      {"the search", [&] { model.Search(); }, false},
      {"a placed word",
       [&] {
         EXPECT_TRUE(model.PlaceWord({"bat", "228", 1}));
       },
       false},
      {"a word taken out", [&] { model.RemovePhraseWord(1); }, false},
      {"a suggestion applied", [&] { EXPECT_TRUE(model.ApplySuggestion(suggestion)); }, false},
      {"Clear", [this] { testing::Find<QPushButton>(*form, "ClearBtn")->click(); }, true},
      {"typing", [this] { TypeNumber(QStringLiteral("228")); }, true},
      {"Convert", [this] { testing::Find<QPushButton>(*form, "ConvertBtn")->click(); }, true},
      {"a click on a candidate", [this] { Pick("bat"); }, true},
      {"a click on the phrase",
       [this] { ClickRow(testing::Find<TLayerGrid>(*form, "SelectedGrid"), 1); }, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    state.IdleTicks = 7;
    step.act();
    if (step.byUser) {
      EXPECT_EQ(state.IdleTicks, 0);
    } else {
      EXPECT_GE(state.IdleTicks, 7);  // the animation's timer only ever adds to it
    }
  }
  EXPECT_EQ(testing::Find<QLineEdit>(*form, "EntryEdit")->text(), QStringLiteral("228"));
}

TEST_F(MainWindowTest, TypingEnablesConvertAndEachModeSearches) {
  StartWithDictionary();
  // Nothing to convert yet: Convert waits for a number.
  EXPECT_FALSE(testing::Find<QPushButton>(*form, "ConvertBtn")->isEnabled());
  EXPECT_FALSE(testing::Find<QPushButton>(*form, "CopyBtn")->isEnabled());
  TypeNumber(QStringLiteral("18003569377"));
  EXPECT_TRUE(testing::Find<QPushButton>(*form, "ConvertBtn")->isEnabled());
  EXPECT_EQ(form->Model().Candidates().RowCount(), 5000);  // cleared for the search to come
  QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"),
                  Qt::Key_Return);  // Enter presses Convert
  EXPECT_GT(CandidateRow("flowers"), 0);
  EXPECT_TRUE(testing::Find<QStatusBar>(*form, "StatusBar1")
                  ->currentMessage()
                  .startsWith(QStringLiteral(" 7 Matches out of 13 words in ")))
      << testing::Find<QStatusBar>(*form, "StatusBar1")->currentMessage().toStdString();

  testing::Find<QRadioButton>(*form, "LeftBtn")->click();
  EXPECT_EQ(CandidateRow("flowers"), -1);
  EXPECT_EQ(CandidateRow("1"), 1);
  testing::Find<QRadioButton>(*form, "RightBtn")->click();
  EXPECT_EQ(CandidateRow("flowers"), 1);
  EXPECT_EQ(CandidateRow("1"), -1);
}

TEST_F(MainWindowTest, PickingAndRemovingWordsWithTheMouse) {
  StartWithDictionary();
  TypeNumber(QStringLiteral("228-4357"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  Pick("help");
  EXPECT_EQ(testing::Find<QLineEdit>(*form, "EntryEdit")->text(),
            QStringLiteral("228-") + kBullet.repeated(4));
  EXPECT_EQ(PhraseWords(), QStringList{QStringLiteral("help")});
  EXPECT_EQ(testing::Find<QLabel>(*form, "SelectedWordLabel")->text(), QStringLiteral("help"));
  EXPECT_TRUE(testing::Find<QLabel>(*form, "SelectedWordLabel")->isVisible());
  const QRect gridPlace = testing::Find<TLayerGrid>(*form, "AffixGrid")->geometry();
  Pick("bat");
  EXPECT_EQ(PhraseWords(), (QStringList{QStringLiteral("bat"), QStringLiteral("help")}));
  EXPECT_FALSE(testing::Find<QPushButton>(*form, "ConvertBtn")->isEnabled());
  EXPECT_TRUE(testing::Find<QPushButton>(*form, "CopyBtn")->isEnabled());

  ClickRow(testing::Find<TLayerGrid>(*form, "SelectedGrid"), 1);  // bat goes, its digits come back
  EXPECT_EQ(testing::Find<QLineEdit>(*form, "EntryEdit")->text(),
            QStringLiteral("228-") + kBullet.repeated(4));
  EXPECT_EQ(PhraseWords(), QStringList{QStringLiteral("help")});
  EXPECT_TRUE(testing::Find<QPushButton>(*form, "ConvertBtn")->isEnabled());
  EXPECT_FALSE(testing::Find<QPushButton>(*form, "CopyBtn")->isEnabled());
  EXPECT_TRUE(testing::Find<QLabel>(*form, "SelectedWordLabel")->text().isEmpty());
  // Nothing to say, nothing for a screen reader to meet; the controls around stay put.
  EXPECT_FALSE(testing::Find<QLabel>(*form, "SelectedWordLabel")->isVisible());
  QCoreApplication::processEvents();
  EXPECT_EQ(testing::Find<TLayerGrid>(*form, "AffixGrid")->geometry(), gridPlace);
}

// The title over the affixes and the word they are for stand centred over the list; the
// word says what it is when the pointer rests on it.
TEST_F(MainWindowTest, TheWordOverTheAffixesStandsCentredUnderItsTitle) {
  StartWithDictionary();
  TypeNumber(QStringLiteral("228-4357"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  Pick("help");
  QCoreApplication::processEvents();
  const struct {
    const char* label;
    const char* text;
    const char* hint;
  } rows[] = {
      {"AdditionsText", "Add To Word", ""},
      {"SelectedWordLabel", "help", "Selected Word"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    auto* label = testing::Find<QLabel>(*form, row.label);
    ASSERT_TRUE(label->isVisible());
    EXPECT_EQ(label->text().toStdString(), row.text);
    EXPECT_EQ(label->toolTip().toStdString(), row.hint);
    const QRect ink = InkColumns(*label);
    ASSERT_TRUE(ink.isValid());
    EXPECT_NEAR(ink.left(), label->width() - 1 - ink.right(), 2);
  }
}

// The phrase list can be made small, never dragged shut: it would hide the phrase.
TEST_F(MainWindowTest, ThePhraseListCannotBeDraggedShut) {
  StartWithDictionary();
  auto* splitter = testing::Find<QSplitter>(*form, "Panel4");
  QSplitterHandle* handle = splitter->handle(1);
  ASSERT_NE(handle, nullptr);
  const QPoint start = handle->rect().center();
  for (const int to : {splitter->height() + 50, -splitter->height() - 50}) {
    SCOPED_TRACE(to);
    QTest::mousePress(handle, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start.x(), to),
                     handle->mapToGlobal(QPointF(start.x(), to)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &move);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(start.x(), to));
    const QList<int> sizes = splitter->sizes();
    ASSERT_EQ(sizes.size(), 2);
    const char* panels[] = {"PossiblePanel", "SelectedPanel"};
    for (int i = 0; i < 2; ++i) {
      SCOPED_TRACE(panels[i]);
      auto* widget = testing::Find<QWidget>(*form, panels[i]);
      EXPECT_GE(sizes[i], widget->minimumHeight());
      EXPECT_GT(sizes[i], 0);
    }
  }
}

TEST_F(MainWindowTest, ClicksOnTheHeaderOrAfterAScrollPickNothing) {
  StartWithDictionary();
  TypeNumber(QStringLiteral("18003569377"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  TLayerGrid* grid = testing::Find<TLayerGrid>(*form, "PossibleGrid");
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(0, 0).center());
  EXPECT_TRUE(PhraseWords().isEmpty());

  // Pressed on a candidate, the list scrolled before the button came up.
  const int row = CandidateRow("flowers");
  const QPoint point = grid->CellRect(0, row).center();
  QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, point);
  grid->SetTopRow(grid->TopRow() + 1);
  QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, point);
  EXPECT_TRUE(PhraseWords().isEmpty());

  grid->SetTopRow(1);
  ClickRow(grid, CandidateRow("flowers"));  // the next click picks normally
  EXPECT_EQ(PhraseWords(), QStringList{QStringLiteral("flowers")});
}

TEST_F(MainWindowTest, AHalfVisibleRowPicksWithoutMovingOrScrolling) {
  QFile file(dictionaryPath);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  for (int i = 0; i < 60; ++i) {
    file.write(QStringLiteral("8,w%1,B\r\n").arg(i).toLatin1());
  }
  file.write("\r\n");
  file.close();
  StartWithDictionary();
  TypeNumber(QStringLiteral("888"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  TLayerGrid* grid = testing::Find<TLayerGrid>(*form, "PossibleGrid");
  // Make the last row on screen show only partly.
  const int rowHeight = grid->DefaultRowHeight() + grid->GridLineWidth();
  if (grid->viewport()->height() % rowHeight < rowHeight / 3) {
    form->resize(form->width(), form->height() + rowHeight / 2);
    QApplication::processEvents();
  }
  const int partial = grid->TopRow() + grid->VisibleRowCount();
  const QRect rect = grid->CellRect(0, partial);
  ASSERT_GT(rect.bottom(), grid->viewport()->height()) << "no partly shown row";
  const int top = grid->TopRow();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    QPoint(rect.center().x(), rect.top() + 3));
  EXPECT_EQ(grid->TopRow(), top);
  EXPECT_NE(grid->Row(), partial);
  EXPECT_EQ(PhraseWords(), QStringList{QStringLiteral("w%1").arg(partial - 1)});
}

TEST_F(MainWindowTest, ThePhraseGridHasItsOwnScrollGuard) {
  StartWithDictionary();
  TypeNumber(QStringLiteral("228-4357"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  Pick("bat");
  TLayerGrid* grid = testing::Find<TLayerGrid>(*form, "SelectedGrid");
  const QPoint point = grid->CellRect(0, 1).center();
  QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, point);
  grid->SetTopRow(grid->TopRow() + 1);
  QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, point);
  EXPECT_EQ(PhraseWords(), QStringList{QStringLiteral("bat")});
  grid->SetTopRow(1);
  ClickRow(grid, 1);
  EXPECT_TRUE(PhraseWords().isEmpty());
}

TEST_F(MainWindowTest, ADoubleClickPlacesOneWordAndTakesOneOut) {
  StartWithDictionary();
  TypeNumber(QStringLiteral("228-4357"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  TLayerGrid* candidates = testing::Find<TLayerGrid>(*form, "PossibleGrid");
  const int row = CandidateRow("help");
  ASSERT_GT(row, 0);
  const QPoint point = candidates->CellRect(0, row).center();
  QTest::mouseClick(candidates->viewport(), Qt::LeftButton, {}, point);
  ASSERT_EQ(PhraseWords(), QStringList{QStringLiteral("help")});
  // The search ran again: another word now stands under the pointer.
  ASSERT_FALSE(form->Model().Candidates().Cell(0, row).empty());
  QTest::mouseDClick(candidates->viewport(), Qt::LeftButton, {}, point);
  QTest::mouseRelease(candidates->viewport(), Qt::LeftButton, {}, point);
  EXPECT_EQ(PhraseWords(), QStringList{QStringLiteral("help")});
  ClickRow(candidates, CandidateRow("bat"));  // the next single click picks again
  EXPECT_EQ(PhraseWords(), (QStringList{QStringLiteral("bat"), QStringLiteral("help")}));

  TLayerGrid* phrase = testing::Find<TLayerGrid>(*form, "SelectedGrid");
  const QPoint first = phrase->CellRect(0, 1).center();
  QTest::mouseClick(phrase->viewport(), Qt::LeftButton, {}, first);
  ASSERT_EQ(PhraseWords(), QStringList{QStringLiteral("help")});  // help moved up to row 1
  QTest::mouseDClick(phrase->viewport(), Qt::LeftButton, {}, first);
  QTest::mouseRelease(phrase->viewport(), Qt::LeftButton, {}, first);
  EXPECT_EQ(PhraseWords(), QStringList{QStringLiteral("help")});
}

TEST_F(MainWindowTest, ClassAAffixesShowInItalicsAndAPlainOneAfterThemDoesNot) {
  QFile file(dictionaryPath);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("2255,ball,B\r\n464,-ing,A\r\n4,-s,B\r\n\r\n");
  file.close();
  StartWithDictionary();
  TypeNumber(QStringLiteral("2255464"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  Pick("ball");
  TLayerGrid* affixes = testing::Find<TLayerGrid>(*form, "AffixGrid");
  ASSERT_EQ(affixes->CellText(0, 0), QStringLiteral("-ing"));
  EXPECT_TRUE(affixes->Layers().Resolve(0, 0).font->Font().italic());
  EXPECT_FALSE(affixes->Layers().Resolve(0, 1).font->Font().italic());  // -s is class B

  // The field entered again and another number: -s now stands in row 0, in plain type.
  QTest::mouseClick(testing::Find<QLineEdit>(*form, "EntryEdit"), Qt::LeftButton);
  testing::Find<QLineEdit>(*form, "EntryEdit")->selectAll();
  QTest::keyClicks(testing::Find<QLineEdit>(*form, "EntryEdit"), QStringLiteral("22554"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  Pick("ball");
  ASSERT_EQ(affixes->CellText(0, 0), QStringLiteral("-s"));
  EXPECT_FALSE(affixes->Layers().Resolve(0, 0).font->Font().italic());
}

TEST_F(MainWindowTest, ACoveredNumberIsCopiedWithItsPhrase) {
  StartWithDictionary();
  TypeNumber(QStringLiteral("18003569377"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  for (const char* word : {"flowers", "1", "8", "0", "0"}) {
    Pick(word);
  }
  EXPECT_FALSE(testing::Find<QPushButton>(*form, "ConvertBtn")->isEnabled());
  ASSERT_TRUE(testing::Find<QPushButton>(*form, "CopyBtn")->isEnabled());
  testing::Find<QPushButton>(*form, "CopyBtn")->click();
  EXPECT_EQ(dialogs.clipboard, QStringLiteral("18003569377, 1 8 0 0 flowers"));
}

TEST_F(MainWindowTest, EnteringTheFieldAgainStartsOverWithTheTypedNumber) {
  struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
  };
  struct Way {
    const char* name;
    std::function<void(TMainForm&)> enter;
    Key takeBack;
  };
  const Way ways[] = {
      {"a click into the field",
       [](TMainForm& window) {
         QTest::mouseClick(testing::Find<QLineEdit>(window, "EntryEdit"), Qt::LeftButton);
       },
       {Qt::Key_Escape, Qt::NoModifier}},
      // The candidate grid follows the field in the tab order.
      {"Shift+Tab from the candidates",
       [](TMainForm& window) {
         QTest::keyClick(testing::Find<TLayerGrid>(window, "PossibleGrid"), Qt::Key_Backtab);
       },
       {Qt::Key_Z, Qt::ControlModifier}},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    StartWithDictionary();
    ASSERT_TRUE(ActivateMainWindow());
    TypeNumber(QStringLiteral("228-4357"));
    testing::Find<QPushButton>(*form, "ConvertBtn")->click();
    Pick("bat");  // the click leaves the focus in the candidate grid
    ASSERT_TRUE(testing::Find<TLayerGrid>(*form, "PossibleGrid")->hasFocus());
    way.enter(*form);
    ASSERT_TRUE(testing::Find<QLineEdit>(*form, "EntryEdit")->hasFocus());
    EXPECT_EQ(testing::Find<QLineEdit>(*form, "EntryEdit")->text(), QStringLiteral("228-4357"));
    EXPECT_TRUE(PhraseWords().isEmpty());
    EXPECT_EQ(CandidateRow("help"), -1);
    EXPECT_TRUE(testing::Find<QPushButton>(*form, "ConvertBtn")->isEnabled());
    // The phrase was put aside, not lost: the status line says how to bring it back, and
    // Esc or Undo in the field does.
    EXPECT_EQ(testing::Find<QStatusBar>(*form, "StatusBar1")->currentMessage(),
              QStringLiteral("The phrase was put aside: Esc brings it back"));
    QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"), way.takeBack.key,
                    way.takeBack.modifiers);
    EXPECT_EQ(PhraseWords(), QStringList{QStringLiteral("bat")});
    EXPECT_EQ(testing::Find<QLineEdit>(*form, "EntryEdit")->text(),
              QStringLiteral("\u2022\u2022\u2022-4357"));
    EXPECT_GT(CandidateRow("help"), 0);
    // The phrase back in place, a pick goes on from where it was.
    Pick("help");
    EXPECT_EQ(PhraseWords(), (QStringList{QStringLiteral("bat"), QStringLiteral("help")}));
    CloseWindows();
  }
}

TEST_F(MainWindowTest, AMenuOrAnotherWindowLeavesTheSearchAsItWas) {
  StartWithDictionary();
  ASSERT_TRUE(ActivateMainWindow());
  TypeNumber(QStringLiteral("2284357"));
  QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"), Qt::Key_Return);
  const QString status = testing::Find<QStatusBar>(*form, "StatusBar1")->currentMessage();
  ASSERT_FALSE(status.isEmpty());
  ASSERT_GT(CandidateRow("help"), 0);
  auto expectSearchKept = [&] {
    EXPECT_EQ(testing::Find<QStatusBar>(*form, "StatusBar1")->currentMessage().toStdString(),
              status.toStdString());
    EXPECT_GT(CandidateRow("help"), 0);
    EXPECT_GT(CandidateRow("bat"), 0);
    EXPECT_EQ(testing::Find<QLineEdit>(*form, "EntryEdit")->text(), QStringLiteral("2284357"));
  };

  {
    SCOPED_TRACE("the File menu opened and closed");
    QMenu* fileMenu = OpenFileMenu();
    ASSERT_NE(fileMenu, nullptr);
    QTest::keyClick(fileMenu, Qt::Key_Escape);
    ASSERT_SOON(!fileMenu->isVisible());
    if (!testing::Find<QLineEdit>(*form, "EntryEdit")->hasFocus()) {
      QTest::keyClick(form->menuBar(), Qt::Key_Escape);  // the bar lets go of the keyboard
    }
    ASSERT_SOON(testing::Find<QLineEdit>(*form, "EntryEdit")->hasFocus());
    expectSearchKept();
  }
  {
    SCOPED_TRACE("another window activated, then this one again");
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_FALSE(testing::Find<QLineEdit>(*form, "EntryEdit")->hasFocus());
    ASSERT_TRUE(ActivateMainWindow());
    ASSERT_SOON(testing::Find<QLineEdit>(*form, "EntryEdit")->hasFocus());
    expectSearchKept();
  }
  {
    SCOPED_TRACE("a dialog shown and closed");
    dialogs.onExec.push_back([](QDialog& dialog) {
      dialog.show();
      dialog.activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
      dialog.reject();
    });
    testing::Find<QAction>(*form, "About1")->trigger();
    ASSERT_TRUE(ActivateMainWindow());
    ASSERT_SOON(testing::Find<QLineEdit>(*form, "EntryEdit")->hasFocus());
    expectSearchKept();
  }
}

TEST_F(MainWindowTest, ClearEmptiesTheWindow) {
  StartWithDictionary();
  TypeNumber(QStringLiteral("228"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  Pick("bat");
  testing::Find<QPushButton>(*form, "ClearBtn")->click();
  EXPECT_TRUE(testing::Find<QLineEdit>(*form, "EntryEdit")->text().isEmpty());
  EXPECT_TRUE(PhraseWords().isEmpty());
  EXPECT_EQ(CandidateRow("bat"), -1);
  EXPECT_FALSE(testing::Find<QPushButton>(*form, "ConvertBtn")->isEnabled());
  EXPECT_FALSE(testing::Find<QPushButton>(*form, "CopyBtn")->isEnabled());
  EXPECT_EQ(form->Model().CurrentNumber(), "228");
}

TEST_F(MainWindowTest, TheEntryFieldTakesOnlyWhatTheDictionaryCanHold) {
  StartWithDictionary();
  TypeNumber(QStringLiteral("228"));
  auto typeText = [&](const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(testing::Find<QLineEdit>(*form, "EntryEdit"), &press);
  };
  typeText(QString::fromUtf8("\xE4\xB8\xAD"));  // a CJK character
  EXPECT_EQ(testing::Find<QLineEdit>(*form, "EntryEdit")->text(), QStringLiteral("228"));
  typeText(QString::fromUtf8("\xC3\xA9"));  // é is in the code page
  EXPECT_EQ(form->Model().EntryText(), "228\xE9");
}

TEST_F(MainWindowTest, AFullEntryFieldWarns) {
  StartWithDictionary();
  TypeNumber(QString(99, QLatin1Char('2')));
  EXPECT_TRUE(dialogs.warnings.isEmpty());
  QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"), Qt::Key_3);
  EXPECT_EQ(dialogs.warnings, QStringList{QStringLiteral("Entry Can Not Exceed 100 Characters")});
  QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"),
                  Qt::Key_4);  // refused by the field: no change, no warning
  EXPECT_EQ(testing::Find<QLineEdit>(*form, "EntryEdit")->text().size(), 100);
  EXPECT_EQ(dialogs.warnings.size(), 1);
}

TEST_F(MainWindowTest, TheTwoWordGridsKeepTheirColumnsEqual) {
  StartWithDictionary();
  testing::Find<TLayerGrid>(*form, "PossibleGrid")->SetColWidth(0, 120);
  EXPECT_EQ(testing::Find<TLayerGrid>(*form, "SelectedGrid")->ColWidth(0), 120);
  testing::Find<TLayerGrid>(*form, "SelectedGrid")->SetColWidth(1, 90);
  EXPECT_EQ(testing::Find<TLayerGrid>(*form, "PossibleGrid")->ColWidth(1), 90);
  // The first column never takes more than the grid's width less 40 pixels.
  testing::Find<TLayerGrid>(*form, "PossibleGrid")->SetColWidth(0, 5000);
  EXPECT_EQ(testing::Find<TLayerGrid>(*form, "PossibleGrid")->ColWidth(0),
            testing::Find<TLayerGrid>(*form, "PossibleGrid")->width() - 40);
  EXPECT_EQ(testing::Find<TLayerGrid>(*form, "SelectedGrid")->ColWidth(0),
            testing::Find<TLayerGrid>(*form, "PossibleGrid")->ColWidth(0));
}

TEST_F(MainWindowTest, LookupOpensTheLookupWindowOrTheHiddenTestWindow) {
  StartWithDictionary();
  TypeNumber(QStringLiteral(" TeSt "));
  testing::Find<QPushButton>(*form, "LookupBtn")->click();
  EXPECT_EQ(dialogs.modeless, QStringList{QStringLiteral("TTestForm")});
  EXPECT_EQ(dialogs.execs, 0);
  testing::Find<QLineEdit>(*form, "EntryEdit")->clear();
  TypeNumber(QStringLiteral("tests"));
  testing::Find<QPushButton>(*form, "LookupBtn")->click();
  EXPECT_EQ(dialogs.shownDialogs, QStringList{QStringLiteral("TLookupForm")});
}

TEST_F(MainWindowTest, TheTestWindowOpenedAgainWhileOpenKeepsAnUnsavedTick) {
  StartWithDictionary();
  TypeNumber(QStringLiteral("test"));
  QTest::mouseClick(testing::Find<QPushButton>(*form, "LookupBtn"), Qt::LeftButton);
  ASSERT_EQ(dialogs.modeless, QStringList{QStringLiteral("TTestForm")});
  test->show();  // as the desktop shows a window without blocking the others
  test->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(test.get()));
  QCheckBox* box = testing::Find<QCheckBox>(*test, "AnimationCheckBox");
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  ASSERT_TRUE(box->isChecked());

  ASSERT_TRUE(ActivateMainWindow());
  QTest::mouseClick(testing::Find<QPushButton>(*form, "LookupBtn"), Qt::LeftButton);
  EXPECT_EQ(dialogs.modeless.size(), 2);
  EXPECT_TRUE(box->isChecked());
  EXPECT_FALSE(state.AnimationOn);  // not stored before OK

  // Shown anew after it was closed, it shows the switch again.
  test->close();
  QTest::mouseClick(testing::Find<QPushButton>(*form, "LookupBtn"), Qt::LeftButton);
  EXPECT_FALSE(box->isChecked());
}

TEST_F(MainWindowTest, MenuCommandsReachHelpAboutAndNotify) {
  StartWithDictionary();
  testing::Find<QAction>(*form, "Contents1")->trigger();
  QTest::keyClick(form.get(), Qt::Key_F1);
  EXPECT_EQ(help.Asked(), (std::vector<int>{0, 10}));
  testing::Find<QAction>(*form, "About1")->trigger();
  testing::Find<QAction>(*form, "Notify1")->trigger();
  EXPECT_EQ(dialogs.shownDialogs,
            (QStringList{QStringLiteral("TAboutForm"), QStringLiteral("TNotifyForm")}));
  EXPECT_FALSE(testing::Find<QAction>(*form, "English1")->isEnabled());
  testing::Find<QAction>(*form, "German1")->trigger();
  EXPECT_EQ(form->CurrentLanguage(), QStringLiteral("de_DE"));
  EXPECT_TRUE(testing::Find<QAction>(*form, "English1")->isEnabled());
  EXPECT_FALSE(testing::Find<QAction>(*form, "German1")->isEnabled());
}

// Ctrl+O, as the File menu shows it, asks for another dictionary from the number field.
TEST_F(MainWindowTest, CtrlOAsksForAnotherDictionary) {
  StartWithDictionary();
  EXPECT_EQ(testing::Find<QAction>(*form, "Open1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
  const std::size_t asked = dialogs.openDialogs.size();
  testing::Find<QLineEdit>(*form, "EntryEdit")->setFocus();
  QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(dialogs.openDialogs.size(), asked + 1);
}

TEST_F(MainWindowTest, OpeningAnotherDictionarySearchesItAndCancellingKeepsTheOld) {
  StartWithDictionary();
  const QString other = dir.filePath(QStringLiteral("other.txt"));
  QFile file(other);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("228,act,B\r\n\r\n");
  file.close();
  TypeNumber(QStringLiteral("228"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  ASSERT_GT(CandidateRow("bat"), 0);

  dialogs.fileChoices.push_back(other);
  testing::Find<QAction>(*form, "Open1")->trigger();
  WaitForAffixes();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + other);
  EXPECT_EQ(CandidateRow("act"), 1);
  EXPECT_EQ(dialogs.openDialogs.back().proposed, dictionaryPath);  // the last file chosen

  // File > Open chosen with the mouse, as a user would.
  auto openThroughTheMenu = [&] {
    QMenu* fileMenu = OpenFileMenu();
    ASSERT_NE(fileMenu, nullptr);
    QTest::mouseClick(fileMenu, Qt::LeftButton, {},
                      fileMenu->actionGeometry(testing::Find<QAction>(*form, "Open1")).center());
    ASSERT_SOON(!fileMenu->isVisible());
  };
  const int asked = static_cast<int>(dialogs.openDialogs.size());
  openThroughTheMenu();  // cancelled
  ASSERT_EQ(static_cast<int>(dialogs.openDialogs.size()), asked + 1);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + other);
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  EXPECT_EQ(CandidateRow("act"), 1);  // the previous file is still read

  // A file that cannot be opened does not take the place of the one in use: the caption
  // and the next search agree on it.
  const QString gone = dir.filePath(QStringLiteral("gone.txt"));
  dialogs.fileChoices.push_back(gone);
  openThroughTheMenu();
  EXPECT_EQ(dialogs.warnings,
            QStringList{QStringLiteral("Can Not Open ") + gone + QStringLiteral(" in Open1Click")});
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + other);
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  EXPECT_EQ(dialogs.warnings.size(), 1);
  EXPECT_EQ(CandidateRow("act"), 1);

  // The dictionary in use is the one stored: the next start does not ask for one.
  ASSERT_TRUE(form->close());
  CloseWindows();
  Start();
  EXPECT_EQ(static_cast<int>(dialogs.openDialogs.size()), asked + 2);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + other);
}

// A chosen file without a word (a picture, an empty file) is named with the reason and
// never becomes the dictionary: the caption, the affixes, the searches and the stored
// dictionary stay those of the one in use.
TEST_F(MainWindowTest, AFileWithoutAWordNeverTakesThePlaceOfTheDictionaryInUse) {
  StartWithDictionary();
  const int affixLast = form->Model().Affixes().AffixLast;
  ASSERT_GE(affixLast, 0);
  const struct {
    const char* file;
    QByteArray bytes;
    const char* why;
  } cases[] = {
      {"picture.png", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x10", 20),
       " is not a text file (it may be a picture or a program), so no words can be found in "
       "it."},
      {"empty.txt", QByteArray(), " is empty, so no words can be found in it."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const QString path = dir.filePath(QLatin1String(c.file));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.bytes);
    file.close();
    TypeNumber(QStringLiteral("228"));
    dialogs.warnings.clear();
    dialogs.fileChoices.push_back(path);
    testing::Find<QAction>(*form, "Open1")->trigger();
    WaitForAffixes();
    EXPECT_EQ(dialogs.warnings,
              QStringList{QStringLiteral("The dictionary ") + path + QLatin1String(c.why)});
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + dictionaryPath);
    EXPECT_EQ(form->Model().Affixes().AffixLast, affixLast);
    // The search that follows the Open reads the dictionary in use.
    EXPECT_GT(CandidateRow("bat"), 0);
    const QString status = testing::Find<QStatusBar>(*form, "StatusBar1")->currentMessage();
    EXPECT_TRUE(status.contains(QStringLiteral(" Matches out of ")) &&
                !status.contains(QStringLiteral("-1 words")))
        << status.toStdString();
    testing::Find<QPushButton>(*form, "ClearBtn")->click();
  }

  ASSERT_TRUE(form->close());
  std::optional<SettingsKey> key = settings->OpenKey(SettingsStore::OpenMode::kExisting);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadText(QStringLiteral("Dictionary")).value, dictionaryPath);
  CloseWindows();
  const auto asked = dialogs.openDialogs.size();
  Start();
  EXPECT_EQ(dialogs.openDialogs.size(), asked);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + dictionaryPath);
}

// Without a dictionary the window is empty; its status line says where one is opened, in
// the window's language, until one is.
// A damaged settings file whose dictionary is a value of 900 KB names no file: the
// caption and the Open dialog stay short, and nothing of it is stored again.
TEST_F(MainWindowTest, AnOverLongStoredDictionaryNamesNoFile) {
  const QString huge(900 * 1024, QLatin1Char('x'));
  WriteSettingsValues(QStringLiteral("\"Dictionary\"=\"/tmp/") + huge + QStringLiteral("\"\n"));
  dialogs.fileChoices.push_back(dictionaryPath);
  Start();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + dictionaryPath);
  ASSERT_FALSE(dialogs.openDialogs.empty());
  EXPECT_LT(dialogs.openDialogs.front().note.size(), 1000);
  ASSERT_TRUE(form->close());
  std::optional<SettingsKey> key = settings->OpenKey(SettingsStore::OpenMode::kExisting);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadText(QStringLiteral("Dictionary")).value, dictionaryPath);
  CloseWindows();
}

// A stored name is tried as long as a path can be; one character longer names no file,
// and the first start's question comes instead.
TEST_F(MainWindowTest, AStoredDictionaryNameIsTriedUpToTheLongestPath) {
  const QString tried = QStringLiteral("The dictionary used last time, ");
  for (const int length : {4095, 4096}) {
    SCOPED_TRACE(length);
    const QString name = QStringLiteral("/tmp/") + QString(length - 5, QLatin1Char('x'));
    WriteSettingsValues(QStringLiteral("\"Dictionary\"=\"") + name + QStringLiteral("\"\n"));
    dialogs.openDialogs.clear();
    Start();  // cancelled
    ASSERT_FALSE(dialogs.openDialogs.empty());
    EXPECT_EQ(dialogs.openDialogs[0].note.startsWith(tried + name), length < 4096);
    EXPECT_EQ(dialogs.openDialogs[0].note.contains(tried), length < 4096);
    CloseWindows();
  }
}

// The status line keeps the design's height along the window's bottom edge, whatever the
// window's size.
TEST_F(MainWindowTest, TheStatusLineKeepsItsHeightAtTheBottom) {
  StartWithDictionary();
  auto* status = testing::Find<QStatusBar>(*form, "StatusBar1");
  for (const QSize size : {QSize(485, 498), form->minimumSize(), QSize(900, 800)}) {
    SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
    form->resize(size);
    QCoreApplication::processEvents();
    ASSERT_TRUE(status->isVisible());
    EXPECT_EQ(status->height(), 25);
    EXPECT_EQ(status->geometry().bottom(), form->rect().bottom());
  }
}

TEST_F(MainWindowTest, WithoutADictionaryTheStatusLineSaysHowToOpenOne) {
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = i18n::EnvironmentLanguageSources();
  i18n::ProgramTranslation translation(setup);
  WriteSettingsValues(QStringLiteral("\"Language\"=\"en_US\"\n"));
  Start();  // the settings lack the window's place: asked twice, cancelled twice
  const auto statusLine = [this] {
    return testing::Find<QStatusBar>(*form, "StatusBar1")->currentMessage().toStdString();
  };
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel No Dictionary Open"));
  EXPECT_EQ(statusLine(), "Open a dictionary with File > Open");

  // A search without a dictionary says that it cannot open one, and the hint stays.
  TypeNumber(QStringLiteral("228"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  EXPECT_EQ(dialogs.warnings.size(), 1);
  EXPECT_EQ(statusLine(), "Open a dictionary with File > Open");

  // A switch of language writes it again in the new language.
  const struct {
    const char* item;
    const char* hint;
  } switches[] = {
      {"German1", "Öffnen Sie ein Wörterbuch mit Datei > Öffnen"},
      {"French1", "Ouvrez un dictionnaire avec Fichier > Ouvrir"},
      {"English1", "Open a dictionary with File > Open"},
  };
  for (const auto& s : switches) {
    SCOPED_TRACE(s.item);
    testing::Find<QAction>(*form, s.item)->trigger();
    EXPECT_EQ(statusLine(), s.hint);
  }

  // A file without a word leaves none open, and the hint with it.
  const QString empty = dir.filePath(QStringLiteral("empty.txt"));
  ASSERT_TRUE(QFile(empty).open(QIODevice::WriteOnly));
  dialogs.fileChoices.push_back(empty);
  testing::Find<QAction>(*form, "Open1")->trigger();
  WaitForAffixes();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel No Dictionary Open"));
  EXPECT_EQ(statusLine(), "Open a dictionary with File > Open");

  // An opened dictionary takes its place, also after a switch of language.
  dialogs.fileChoices.push_back(dictionaryPath);
  testing::Find<QAction>(*form, "Open1")->trigger();
  WaitForAffixes();
  EXPECT_GT(CandidateRow("bat"), 0);
  EXPECT_NE(statusLine().find(" Matches out of "), std::string::npos) << statusLine();
  testing::Find<QAction>(*form, "German1")->trigger();
  EXPECT_EQ(statusLine(), "");
  testing::Find<QPushButton>(*form, "ClearBtn")->click();
  EXPECT_EQ(statusLine(), "");
}

// The stored dictionary cannot be opened at start (a FIFO, a file gone with an unmounted
// folder, one without read permission) and the user cancels the Open dialog: nothing is
// opened then, but the settings keep the stored path, and the next start tries it again.
TEST_F(MainWindowTest, AStoredDictionaryThatCannotBeOpenedIsKeptWhenTheUserCancels) {
  const QString fifo = dir.filePath(QStringLiteral("fifo.txt"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString locked = dir.filePath(QStringLiteral("locked.txt"));
  ASSERT_TRUE(QFile::copy(dictionaryPath, locked));
  ASSERT_TRUE(QFile::setPermissions(locked, {}));
  struct Case {
    const char* name;
    QString path;
    const char* why;
  };
  std::vector<Case> cases = {
      {"a FIFO", fifo, ", cannot be opened. Please choose one."},
      {"a missing file", dir.filePath(QStringLiteral("unmounted/words.txt")),
       ", cannot be found. Please choose one."},
  };
  if (::geteuid() != 0) {  // root reads it all the same
    cases.push_back({"no read permission", locked, ", cannot be opened. Please choose one."});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A whole set of settings, as a run with the dictionary leaves it.
    QFile::remove(settings->FilePath());
    StartWithDictionary();
    ASSERT_TRUE(form->close());
    CloseWindows();
    QFile file(settings->FilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString stored = QString::fromUtf8(file.readAll());
    file.close();
    ASSERT_TRUE(stored.contains(dictionaryPath));
    stored.replace(dictionaryPath, c.path);
    ASSERT_NO_FATAL_FAILURE(WriteSettingsFile(stored.toUtf8()));

    for (int start = 1; start <= 2; ++start) {
      SCOPED_TRACE(start);
      dialogs.openDialogs.clear();
      Start();  // cancelled
      ASSERT_EQ(dialogs.openDialogs.size(), 1u);
      EXPECT_EQ(dialogs.openDialogs[0].note.section(QLatin1Char('\n'), 0, 0),
                QStringLiteral("The dictionary used last time, ") + c.path + QLatin1String(c.why));
      EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel No Dictionary Open"));
      EXPECT_EQ(testing::Find<QStatusBar>(*form, "StatusBar1")->currentMessage(),
                QStringLiteral("Open a dictionary with File > Open"));
      ASSERT_TRUE(form->close());
      std::optional<SettingsKey> key = settings->OpenKey(SettingsStore::OpenMode::kExisting);
      ASSERT_TRUE(key);
      EXPECT_EQ(key->ReadText(QStringLiteral("Dictionary")).value, c.path);
      CloseWindows();
    }
  }
}

// A dictionary that reads slowly until the test lets it go: until then each read gives
// one empty line and waits a little. Left alone it runs out after about twenty seconds.
struct SlowDictionary {
  class Source final : public ByteSource {
   public:
    Source(SlowDictionary& owner, std::unique_ptr<ByteSource> file)
        : owner_(owner), file_(std::move(file)) {}
    long Read(char* buffer, std::size_t size) override {
      if (!owner_.released && stalls_ < 4000) {
        ++stalls_;
        owner_.ranOut = stalls_ == 4000;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const std::size_t n = std::min<std::size_t>(size, 2);
        std::memcpy(buffer, "\r\n", n);
        return static_cast<long>(n);
      }
      return file_->Read(buffer, size);
    }

   private:
    SlowDictionary& owner_;
    std::unique_ptr<ByteSource> file_;
    int stalls_ = 0;
  };
  SourceOpener Opener() {
    return [this](const std::string& path) -> std::unique_ptr<ByteSource> {
      std::unique_ptr<ByteSource> file = OpenFileSource(path);
      if (file == nullptr) {
        return nullptr;
      }
      return std::make_unique<Source>(*this, std::move(file));
    };
  }
  std::atomic<bool> released{false};
  std::atomic<bool> ranOut{false};
};

// The main window alone, shown while its dictionary still reads slowly.
class MainWindowSlowDictionaryTest : public MainWindowTest {
 protected:
  void ShowWhileTheDictionaryLoads() {
    dialogs.fileChoices.push_back(dictionaryPath);
    services =
        std::make_unique<Services>(Services{dialogs, launcher, help, *settings, state, translator});
    form = std::make_unique<TMainForm>(*services, nullptr, slow.Opener());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_TRUE(form->Model().AffixesLoading());
  }

  SlowDictionary slow;
};

TEST_F(MainWindowSlowDictionaryTest, TheWindowShowsWhileTheDictionaryLoadsAndASearchWaitsForIt) {
  ASSERT_NO_FATAL_FAILURE(ShowWhileTheDictionaryLoads());
  ASSERT_SOON(testing::Find<QStatusBar>(*form, "StatusBar1")
                  ->currentMessage()
                  .startsWith(QStringLiteral("Loading the dictionary: ")));

  TypeNumber(QStringLiteral("228"));
  QTest::mouseClick(testing::Find<QPushButton>(*form, "ConvertBtn"), Qt::LeftButton);
  EXPECT_TRUE(testing::Find<QStatusBar>(*form, "StatusBar1")
                  ->currentMessage()
                  .startsWith(QStringLiteral(
                      "The dictionary is still loading; the search follows as soon as it is "
                      "ready.")));
  EXPECT_EQ(CandidateRow("bat"), -1);

  slow.released = true;
  ASSERT_SOON_WITHIN(!form->Model().AffixesLoading(), 10000);
  EXPECT_GT(CandidateRow("bat"), 0);  // the search waited for the table
  EXPECT_TRUE(testing::Find<QStatusBar>(*form, "StatusBar1")
                  ->currentMessage()
                  .contains(QStringLiteral(" Matches out of ")));
  EXPECT_FALSE(slow.ranOut);
  EXPECT_TRUE(dialogs.warnings.isEmpty());
}

TEST_F(MainWindowSlowDictionaryTest, ClosingWhileTheDictionaryLoadsEndsTheLoad) {
  ASSERT_NO_FATAL_FAILURE(ShowWhileTheDictionaryLoads());
  ASSERT_TRUE(form->close());
  form.reset();
  // The reading stopped at once instead of running on to the end of the slow file.
  EXPECT_FALSE(slow.ranOut);
  EXPECT_TRUE(dialogs.warnings.isEmpty());
}

// A large dictionary read from its file, held still once a part of it is read until the
// test goes on, so that the test stops the load while it surely runs. From then on each
// read passes at most 64 KB and takes a millisecond, as from a slow disk: a load that is
// not stopped reads the rest in a second or two, one that is stopped has no time to run on.
struct HeldDictionary {
  static constexpr long long kHoldAt = 8LL << 20;

  class Source final : public ByteSource {
   public:
    Source(HeldDictionary& owner, std::unique_ptr<ByteSource> file)
        : owner_(owner), file_(std::move(file)) {}
    long long Size() const override { return file_->Size(); }
    long Read(char* buffer, std::size_t size) override {
      const long long before = owner_.bytesRead.load();
      if (before < kHoldAt) {
        size = std::min<std::size_t>(size, static_cast<std::size_t>(kHoldAt - before));
      } else {
        owner_.held = true;
        // Waits for the test, or gives up after a while so that a test that failed
        // before its stop does not hang.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!owner_.goOn && std::chrono::steady_clock::now() < deadline) {
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (owner_.slow) {
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
          size = std::min<std::size_t>(size, 64 * 1024);
        }
      }
      const long got = file_->Read(buffer, size);
      if (got > 0) {
        owner_.bytesRead += got;
      } else if (got == 0) {
        owner_.reachedEnd = true;
      }
      return got;
    }

   private:
    HeldDictionary& owner_;
    std::unique_ptr<ByteSource> file_;
  };

  // Holds only the reading of `path`; every other file opens as it is.
  SourceOpener Opener(const QString& path) {
    return [this,
            held = path.toStdString()](const std::string& opened) -> std::unique_ptr<ByteSource> {
      std::unique_ptr<ByteSource> file = OpenFileSource(opened);
      if (file == nullptr || opened != held) {
        return file;
      }
      return std::make_unique<Source>(*this, std::move(file));
    };
  }

  std::atomic<long long> bytesRead{0};
  std::atomic<bool> held{false};
  std::atomic<bool> goOn{false};
  std::atomic<bool> reachedEnd{false};
  // Once gone on, whether the reading is as slow as from a slow disk.
  std::atomic<bool> slow{true};
};

class MainWindowLargeDictionaryTest : public MainWindowTest {
 protected:
  void TearDown() override {
    if (held) {
      held->goOn = true;
    }
    MainWindowTest::TearDown();
  }

  // Some 64 MB of affix lines, written a megabyte at a time; the word bat at the end.
  void WriteLargeDictionary() {
    largePath = dir.filePath(QStringLiteral("large.txt"));
    QFile file(largePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray block = QByteArray("464,-ing,B\r\n663,+one,B\r\n").repeated(43690);
    for (int i = 0; i < 64; ++i) {
      ASSERT_EQ(file.write(block), block.size());
    }
    ASSERT_EQ(file.write("228,bat,B\r\n\r\n"), 13);
    file.close();
    largeSize = QFileInfo(largePath).size();
  }

  // The main window alone, its first dictionary the large one, with the load held in the
  // middle of the file.
  void ShowWhileTheLargeDictionaryLoads() {
    held = std::make_unique<HeldDictionary>();
    dialogs.fileChoices.push_back(largePath);
    services =
        std::make_unique<Services>(Services{dialogs, launcher, help, *settings, state, translator});
    form = std::make_unique<TMainForm>(*services, nullptr, held->Opener(largePath));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_SOON_WITHIN(held->held, 10000);
    ASSERT_TRUE(form->Model().AffixesLoading());
  }

  QString largePath;
  qint64 largeSize = 0;
  std::unique_ptr<HeldDictionary> held;
};

// Closing the window or opening another dictionary while a large dictionary is being read
// ends the reading where it is; the user does not wait for the rest of the file.
TEST_F(MainWindowLargeDictionaryTest, ClosingOrOpeningAnotherStopsTheReadingInTheMiddle) {
  ASSERT_NO_FATAL_FAILURE(WriteLargeDictionary());
  struct Case {
    const char* name;
    std::function<void()> stop;
    std::function<void()> after;
  };
  const Case cases[] = {
      {"closing the window", [this] { EXPECT_TRUE(form->close()); },
       [this] { EXPECT_FALSE(form->Model().AffixesLoading()); }},
      {"opening another dictionary",
       [this] {
         dialogs.fileChoices.push_back(dictionaryPath);
         testing::Find<QAction>(*form, "Open1")->trigger();
       },
       [this] {
         // The other dictionary is read and searched in its place.
         EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + dictionaryPath);
         ASSERT_SOON_WITHIN(!form->Model().AffixesLoading(), 10000);
         TypeNumber(QStringLiteral("228"));
         testing::Find<QPushButton>(*form, "ConvertBtn")->click();
         EXPECT_GT(CandidateRow("bat"), 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(settings->FilePath());  // each case starts as a first run
    ASSERT_NO_FATAL_FAILURE(ShowWhileTheLargeDictionaryLoads());
    // The status line shows how far the reading has come.
    const QString progress = QStringLiteral("Loading the dictionary: %1 %")
                                 .arg(HeldDictionary::kHoldAt * 100 / largeSize);
    ASSERT_EQ_SOON(testing::Find<QStatusBar>(*form, "StatusBar1")->currentMessage(), progress);

    held->goOn = true;
    c.stop();
    // The stop came back with most of the file unread.
    EXPECT_FALSE(held->reachedEnd);
    EXPECT_LT(held->bytesRead.load(), largeSize / 2) << "of " << largeSize << " bytes";
    c.after();
    EXPECT_TRUE(dialogs.warnings.isEmpty())
        << dialogs.warnings.join(QLatin1Char('\n')).toStdString();
    CloseWindows();
  }
}

// A file without a word chosen while the stored dictionary's endings and beginnings are
// still being read at the start is refused, and the stored dictionary is in use again: its
// reading was stopped for the other file, so it is read again from the start, and its
// endings follow its words.
TEST_F(MainWindowLargeDictionaryTest, AFileRefusedWhileTheDictionaryLoadsLeavesItsTableRead) {
  ASSERT_NO_FATAL_FAILURE(WriteLargeDictionary());
  {
    // A word that takes the dictionary's ending, in place of its closing empty line.
    QFile file(largePath);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(largeSize - 2));
    ASSERT_GT(file.write("2255,ball,B\r\n\r\n"), 0);
  }
  const QString empty = dir.filePath(QStringLiteral("empty.txt"));
  {
    QFile file(empty);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  // The first run chooses the dictionary, and its closing stores it.
  ASSERT_NO_FATAL_FAILURE(ShowWhileTheLargeDictionaryLoads());
  held->slow = false;
  held->goOn = true;
  ASSERT_SOON_WITHIN(!form->Model().AffixesLoading(), 20000);
  ASSERT_TRUE(form->close());
  CloseWindows();

  // The next start reads the stored dictionary; the file is chosen while it loads.
  ASSERT_NO_FATAL_FAILURE(ShowWhileTheLargeDictionaryLoads());
  const auto asked = dialogs.openDialogs.size();
  dialogs.fileChoices = {empty};
  held->goOn = true;
  testing::Find<QAction>(*form, "Open1")->trigger();
  ASSERT_EQ(dialogs.openDialogs.size(), asked + 1);
  ASSERT_SOON_WITHIN(!form->Model().AffixesLoading(), 20000);
  EXPECT_EQ(dialogs.warnings, QStringList{QStringLiteral("The dictionary ") + empty +
                                          QStringLiteral(" is empty, so no words can be "
                                                         "found in it.")})
      << dialogs.warnings.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(form->windowTitle().toStdString(), "Vantrel " + largePath.toStdString());
  const AffixTable& table = form->Model().Affixes();
  ASSERT_GE(table.AffixLast, 0);
  EXPECT_EQ(table[0].Word, "-ing");

  held->slow = false;
  TypeNumber(QStringLiteral("2255464"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  ASSERT_SOON_WITHIN(!form->Model().Searching(), 20000);  // a large dictionary's search
  ASSERT_NO_FATAL_FAILURE(Pick("ball"));
  EXPECT_EQ(testing::Find<TLayerGrid>(*form, "AffixGrid")->CellText(0, 0), QStringLiteral("-ing"));
}

// A large dictionary is searched while the window answers: the status line shows how far
// the search has got, in the window's language, Esc or Convert stops it in the middle of
// the file, and a search left to run lists its words with the usual counts.
TEST_F(MainWindowLargeDictionaryTest, ASearchRunsWhileTheWindowAnswersAndEscOrConvertStopsIt) {
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = i18n::EnvironmentLanguageSources();
  i18n::ProgramTranslation translation(setup);
  ASSERT_NO_FATAL_FAILURE(WriteLargeDictionary());
  ASSERT_NO_FATAL_FAILURE(ShowWhileTheLargeDictionaryLoads());
  held->slow = false;
  held->goOn = true;
  ASSERT_SOON_WITHIN(!form->Model().AffixesLoading(), 20000);
  held->slow = true;  // the searches read as from a slow disk
  ASSERT_TRUE(ActivateMainWindow());
  auto* status = testing::Find<QStatusBar>(*form, "StatusBar1");
  auto* convert = testing::Find<QPushButton>(*form, "ConvertBtn");
  TypeNumber(QStringLiteral("228"));

  const struct {
    const char* language;
    const char* searching;
    const char* stopsIt;
    const char* stopped;
    bool byEsc;
  } cases[] = {
      {"English1", "Searching the dictionary: ", " (Esc or Convert stops the search)",
       "The search was stopped.", true},
      {"German1", "Wörterbuch wird durchsucht: ", " (Esc oder „Umwandeln“ bricht ab)",
       "Die Suche wurde abgebrochen.", false},
      {"French1", "Recherche dans le dictionnaire : ", " (Échap ou « Convertir » l'arrête)",
       "La recherche a été interrompue.", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.language);
    if (QAction* item = testing::Find<QAction>(*form, c.language); item->isEnabled()) {
      item->trigger();
    }
    held->reachedEnd = false;
    const long long before = held->bytesRead;
    QTest::mouseClick(convert, Qt::LeftButton);
    EXPECT_TRUE(form->Model().Searching());
    EXPECT_EQ(CandidateRow("bat"), -1);
    // At once, not only at the first look at its progress.
    EXPECT_TRUE(status->currentMessage().startsWith(QString::fromUtf8(c.searching)))
        << status->currentMessage().toStdString();
    // The window answers while the search reads: its progress shows, a percent at a time.
    ASSERT_SOON_WITHIN(held->bytesRead - before > largeSize / 10, 20000);
    ASSERT_SOON(status->currentMessage().startsWith(QString::fromUtf8(c.searching)) &&
                !status->currentMessage().startsWith(QString::fromUtf8(c.searching) +
                                                     QStringLiteral("0 %")));
    EXPECT_TRUE(status->currentMessage().endsWith(QString::fromUtf8(c.stopsIt)))
        << status->currentMessage().toStdString();
    // Read whole in a window of the design width.
    EXPECT_LT(QFontMetrics(status->font()).horizontalAdvance(status->currentMessage()),
              status->width() - 16)
        << status->currentMessage().toStdString();
    if (c.byEsc) {
      QTest::keyClick(form.get(), Qt::Key_Escape);
    } else {
      QTest::mouseClick(convert, Qt::LeftButton);
    }
    // It stopped where it was, with most of the file unread, and lists nothing.
    EXPECT_FALSE(form->Model().Searching());
    EXPECT_FALSE(held->reachedEnd);
    EXPECT_EQ(status->currentMessage(), QString::fromUtf8(c.stopped));
    EXPECT_EQ(CandidateRow("bat"), -1);
  }

  // Left to run, it lists the word at the end of the file and counts every line.
  held->slow = false;
  testing::Find<QAction>(*form, "English1")->trigger();
  QTest::mouseClick(convert, Qt::LeftButton);
  ASSERT_SOON_WITHIN(!form->Model().Searching(), 60000);
  EXPECT_TRUE(held->reachedEnd);
  EXPECT_EQ(CandidateRow("bat"), 1);
  EXPECT_TRUE(status->currentMessage().startsWith(
      QStringLiteral(" 1 Matches out of %1 words in ").arg(64 * 43690 * 2)))
      << status->currentMessage().toStdString();

  // Once no search runs, Esc is the field's again: it brings back a phrase put aside.
  ASSERT_NO_FATAL_FAILURE(Pick("bat"));
  ASSERT_SOON_WITHIN(!form->Model().Searching(), 60000);  // what is left of the number
  auto* entry = testing::Find<QLineEdit>(*form, "EntryEdit");
  QTest::mouseClick(entry, Qt::LeftButton);
  ASSERT_TRUE(PhraseWords().isEmpty());
  QTest::keyClick(entry, Qt::Key_Escape);
  EXPECT_EQ(PhraseWords(), QStringList{QStringLiteral("bat")});
  EXPECT_TRUE(dialogs.warnings.isEmpty()) << dialogs.warnings.join(QLatin1Char('\n')).toStdString();
}

TEST_F(MainWindowTest, CloseWritesEverySettingAndTheNextStartRestoresThem) {
  StartWithDictionary();
  form->move(40, 60);
  form->resize(600, 520);
  testing::Find<TLayerGrid>(*form, "PossibleGrid")->SetColWidth(0, 130);
  testing::Find<TLayerGrid>(*form, "PossibleGrid")->SetColWidth(1, 100);
  testing::Find<QAction>(*form, "German1")->trigger();
  state.AnimationOn = true;
  help.place = {{Setting::kHelpTop, 77}, {Setting::kHelpWidth, 610}};
  ASSERT_TRUE(form->close());

  std::optional<SettingsKey> key = settings->OpenKey(SettingsStore::OpenMode::kExisting);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadText(QStringLiteral("Dictionary")).value, dictionaryPath);
  EXPECT_EQ(key->ReadInteger(QStringLiteral("Form Width")).value, 600);
  EXPECT_EQ(key->ReadInteger(QStringLiteral("Word Width")).value, 130);
  EXPECT_EQ(key->ReadInteger(QStringLiteral("Number Width")).value, 100);
  EXPECT_EQ(key->ReadInteger(QStringLiteral("Lookup Top")).value, lookup->y());
  EXPECT_EQ(key->ReadInteger(QStringLiteral("Affix Word Width")).value, affix->WordWidth());
  // The help keeps its own window's place; what it does not keep takes the design value.
  EXPECT_EQ(key->ReadInteger(QStringLiteral("Help Top")).value, 77);
  EXPECT_EQ(key->ReadInteger(QStringLiteral("Help Width")).value, 610);
  EXPECT_EQ(key->ReadInteger(QStringLiteral("Help Left")).value, RowOf(Setting::kHelpLeft).design);
  EXPECT_TRUE(key->ReadSwitch(QStringLiteral("Animation On")).value);
  EXPECT_EQ(key->ReadText(QStringLiteral("Language")).value, QStringLiteral("de_DE"));
  for (Setting setting : kMainWindowWriteOrder) {
    SCOPED_TRACE(NameOf(setting).toStdString());
    if (RowOf(setting).type != SettingType::kText) {
      EXPECT_TRUE(key->ReadInteger(NameOf(setting)).status.IsOk());
    }
  }

  CloseWindows();
  state = ShellState{};
  dialogs.openDialogs.clear();
  Start();
  EXPECT_TRUE(dialogs.openDialogs.empty());  // the stored dictionary opens
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + dictionaryPath);
  EXPECT_EQ(testing::Find<TLayerGrid>(*form, "SelectedGrid")->ColWidth(0), 130);
  // The last column fills the grid again, in both grids alike.
  EXPECT_EQ(testing::Find<TLayerGrid>(*form, "SelectedGrid")->ColWidth(1),
            testing::Find<TLayerGrid>(*form, "PossibleGrid")->ColWidth(1));
  EXPECT_EQ(form->width(), 600);
  EXPECT_TRUE(state.AnimationOn);
  EXPECT_EQ(form->CurrentLanguage(), QStringLiteral("de_DE"));
  EXPECT_FALSE(testing::Find<QAction>(*form, "German1")->isEnabled());
}

// The program shows the main window first and makes the other five after it. Whatever
// needs one of them first makes all five, once; closing before they were made still
// writes back the places they had stored.
TEST_F(MainWindowTest, SideWindowsMadeAfterTheMainWindowAreMadeOnceAndLoseNoPlace) {
  StartWithDictionary();
  lookup->move(123, 145);
  affix->move(211, 97);
  ASSERT_TRUE(form->close());
  CloseWindows();

  struct Case {
    const char* name;
    std::function<void()> firstNeed;
  };
  const Case cases[] = {
      {"closing", [this] { ASSERT_TRUE(form->close()); }},
      {"the About command",
       [this] {
         testing::Find<QAction>(*form, "About1")->trigger();
         EXPECT_EQ(dialogs.shownDialogs.value(0), QStringLiteral("TAboutForm"));
         ASSERT_TRUE(form->close());
       }},
      {"the Lookup button",
       [this] {
         QTest::mouseClick(testing::Find<QPushButton>(*form, "LookupBtn"), Qt::LeftButton);
         EXPECT_EQ(dialogs.shownDialogs.value(0), QStringLiteral("TLookupForm"));
         ASSERT_TRUE(form->close());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.shownDialogs.clear();
    services =
        std::make_unique<Services>(Services{dialogs, launcher, help, *settings, state, translator});
    form = std::make_unique<TMainForm>(*services);
    int made = 0;
    form->SetSideWindowMaker([this, &made] {
      ++made;
      lookup = std::make_unique<TLookupForm>(form->Dictionary(), *services, form.get());
      about = std::make_unique<TAboutForm>(*services, form.get());
      affix = std::make_unique<TAffixForm>(form->Model(), *services, form.get());
      notify = std::make_unique<TNotifyForm>(*services, form.get());
      test = std::make_unique<TTestForm>(*services, form.get());
      form->SetSideWindows(lookup.get(), about.get(), affix.get(), notify.get(), test.get());
    });
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(made, 0);
    c.firstNeed();
    EXPECT_EQ(made, 1);
    form->MakeSideWindows();
    EXPECT_EQ(made, 1) << "made a second time";

    std::optional<SettingsKey> key = settings->OpenKey(SettingsStore::OpenMode::kExisting);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ReadInteger(QStringLiteral("Lookup Top")).value, 145);
    EXPECT_EQ(key->ReadInteger(QStringLiteral("Lookup Left")).value, 123);
    EXPECT_EQ(key->ReadInteger(QStringLiteral("Affix Top")).value, 97);
    EXPECT_EQ(key->ReadInteger(QStringLiteral("Affix Left")).value, 211);
    CloseWindows();
  }
}

TEST_F(MainWindowTest, TheWindowComesBackOnTheScreenWithColumnsThatCanBeSeen) {
  struct Case {
    const char* name;
    qint32 top, left, wordWidth, numberWidth;
    QPoint place;
    int word;
    qint32 width = 485, height = 498;
    QSize size = {485, 498};
  };
  const Case cases[] = {
      {"as stored", 60, 40, 130, 100, {40, 60}, 130, 600, 520, {600, 520}},
      // Larger than any screen: a window of that size would take gigabytes to draw.
      {"the largest size", 60, 40, 130, 100, {40, 60}, 130, 0x7fffffff, 0x7fffffff, {485, 498}},
      // Top and left differ enough that a swap would show.
      {"partly off the right edge", 20, 700, 130, 100, {700, 20}, 130},
      {"far right of the only screen", 60, 2000, 130, 100, {474, 189}, 130},
      {"negative", -3000, -3000, 130, 100, {474, 189}, 130},
      {"below the screen", 5000, 40, 130, 100, {474, 189}, 130},
      {"columns of no width", 60, 40, 0, 0, {40, 60}, 151},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<SettingsKey> key = settings->OpenKey(SettingsStore::OpenMode::kCreate);
    key->WriteText(QStringLiteral("Dictionary"), dictionaryPath);
    key->WriteInteger(QStringLiteral("Form Top"), c.top);
    key->WriteInteger(QStringLiteral("Form Left"), c.left);
    key->WriteInteger(QStringLiteral("Form Width"), c.width);
    key->WriteInteger(QStringLiteral("Form Height"), c.height);
    key->WriteInteger(QStringLiteral("Selected Panel Height"), 106);
    key->WriteInteger(QStringLiteral("Word Width"), c.wordWidth);
    key->WriteInteger(QStringLiteral("Number Width"), c.numberWidth);
    key->WriteSwitch(QStringLiteral("Animation On"), false);
    Start();
    EXPECT_EQ(form->pos(), c.place);
    EXPECT_EQ(form->size(), c.size);
    EXPECT_EQ(testing::Find<TLayerGrid>(*form, "PossibleGrid")->ColWidth(0), c.word);
    EXPECT_EQ(testing::Find<TLayerGrid>(*form, "SelectedGrid")->ColWidth(0), c.word);
    // The digits column fills the rest of the grid, in both grids alike.
    EXPECT_GE(testing::Find<TLayerGrid>(*form, "PossibleGrid")->ColWidth(1), 100);
    EXPECT_EQ(testing::Find<TLayerGrid>(*form, "SelectedGrid")->ColWidth(1),
              testing::Find<TLayerGrid>(*form, "PossibleGrid")->ColWidth(1));
    CloseWindows();
  }
}

// Settings that cannot be saved are no fault of the program: a warning in the user's
// language names the file and the reason, and the window closes as always.
TEST_F(MainWindowTest, SettingsThatCannotBeSavedAreAWarningInTheUsersLanguage) {
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = i18n::EnvironmentLanguageSources();
  i18n::ProgramTranslation translation(setup);
  const struct {
    const char* name;
    const char* language;
    bool fullDisk;     // else a file stands where the settings folder should be
    QString expected;  // %1 the settings file, %2 its folder
  } rows[] = {
      {"German, a full disk", "German1", true,
       QStringLiteral("Daten konnten nicht gespeichert werden für 'Dictionary'\n"
                      "Die Einstellungsdatei %1 konnte nicht geschrieben werden: Datei zu groß")},
      {"French, no folder", "French1", false,
       QStringLiteral("Impossible d'enregistrer la valeur 'Dictionary'\n"
                      "Le fichier de paramètres %1 n'a pas pu être écrit : le dossier %2 ne "
                      "peut pas être créé")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    dialogs.warnings.clear();
    dialogs.shownDialogs.clear();
    QDir(settings->Folder()).removeRecursively();
    QFile::remove(settings->Folder());
    StartWithDictionary();
    testing::Find<QAction>(*form, row.language)->trigger();
    // The last close before the notification: a countdown that ran would show it.
    settings->OpenKey(SettingsStore::OpenMode::kCreate)
        ->WriteInteger(QStringLiteral("NotifyCount"), 1);
    const QByteArray before = [this] {
      QFile file(settings->FilePath());
      return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    std::optional<FileSizeLimit> full;
    if (row.fullDisk) {
      full.emplace(16);
    } else {
      QDir(settings->Folder()).removeRecursively();
      QFile blocker(settings->Folder());
      ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    EXPECT_NO_THROW(EXPECT_TRUE(form->close()));
    full.reset();
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(dialogs.warnings.size(), 1);
    EXPECT_EQ(dialogs.warnings[0].toStdString(),
              QString(row.expected)
                  .replace(QStringLiteral("%1"), settings->FilePath())
                  .replace(QStringLiteral("%2"), settings->Folder())
                  .toStdString());
    EXPECT_TRUE(dialogs.shownDialogs.isEmpty()) << "the countdown ran";
    if (row.fullDisk) {
      QFile file(settings->FilePath());
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      EXPECT_EQ(file.readAll(), before) << "the old settings are kept whole";
    }
    CloseWindows();
    translator.SelectLanguage(QStringLiteral("en_US"));
  }
  QFile::remove(settings->Folder());
}

TEST_F(MainWindowTest, ThePlaceIsWrittenAndRestoredTopAsTopAndLeftAsLeft) {
  StartWithDictionary();
  form->move(130, 40);
  ASSERT_TRUE(form->close());
  std::optional<SettingsKey> key = settings->OpenKey(SettingsStore::OpenMode::kExisting);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadInteger(QStringLiteral("Form Left")).value, 130);
  EXPECT_EQ(key->ReadInteger(QStringLiteral("Form Top")).value, 40);
  CloseWindows();
  Start();
  EXPECT_EQ(form->pos(), QPoint(130, 40));
}

TEST_F(MainWindowTest, AMissingIntegerEndsTheReadingAndAsksForADictionary) {
  WriteSettingsValues(QStringLiteral("\"Language\"=\"en_US\"\n\"Dictionary\"=\"%1\"\n"
                                     "\"Form Left\"=dword:00000010\n")
                          .arg(dictionaryPath));
  // The user cancels the dialog: the dictionary the settings named stays in use.
  Start();
  EXPECT_EQ(dialogs.openDialogs.size(), 1u);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + dictionaryPath);
  EXPECT_EQ(form->size(), QSize(485, 498));  // the geometry keeps its design values
}

TEST_F(MainWindowTest, ABadLineOfTheSettingsCostsOnlyItsValueAndIsNamedInTheUsersLanguage) {
  WriteSettingsValues(
      QStringLiteral("\"Language\"=\"de_DE\"\n\"Dictionary\"=\"%1\"\n"
                     "\"Form Top\"=dword:0000004g\n"
                     "\"Form Left\"=dword:00000010\n\"Form Width\"=dword:000001f4\n"
                     "\"Form Height\"=dword:000001f4\n"
                     "\"Selected Panel Height\"=dword:0000006a\n"
                     "\"Word Width\"=dword:00000082\n\"Number Width\"=dword:00000064\n"
                     "\"Animation On\"=dword:00000000\n")
          .arg(dictionaryPath));
  Start();
  EXPECT_TRUE(dialogs.openDialogs.empty());  // the dictionary read well
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + dictionaryPath);
  EXPECT_EQ(form->CurrentLanguage(), QStringLiteral("de_DE"));
  EXPECT_EQ(form->pos(), QPoint(16, 189));
  EXPECT_EQ(form->size(), QSize(500, 500));
  EXPECT_EQ(testing::Find<TLayerGrid>(*form, "PossibleGrid")->ColWidth(0), 130);
  ASSERT_EQ(dialogs.warnings.size(), 1);
  const QStringList kept = QDir(settings->Folder()).entryList({QStringLiteral("*.corrupt-*")});
  ASSERT_EQ(kept.size(), 1);
  EXPECT_TRUE(dialogs.warnings[0].startsWith(
      TranslateText("The settings file ") + settings->FilePath() +
      TranslateText(" could not be read in line ") + QStringLiteral("6") +
      TranslateText(". Every other setting was kept; the original file was kept as ") +
      settings->Folder() + QLatin1Char('/') + kept[0]))
      << dialogs.warnings[0].toStdString();
  EXPECT_TRUE(form->close());
}

// Two bad lines, one of them naming no value: both are named in the one warning, the
// dictionary that read well is used without asking, and the next start finds the settings
// that were kept, with no question and no warning.
TEST_F(MainWindowTest, EveryBadLineOfTheSettingsIsNamedAndTheNextStartIsNoFirstStart) {
  WriteSettingsValues(QStringLiteral("\"Language\"=\"en_US\"\n\"Dictionary\"=\"%1\"\n"
                                     "Form Top=dword:00000010\n"
                                     "\"Form Left\"=dword:00000010\n"
                                     "\"Word Width\"=dwrd:00000082\n")
                          .arg(dictionaryPath));
  Start();
  EXPECT_TRUE(dialogs.openDialogs.empty()) << "asked for a dictionary that read well";
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + dictionaryPath);
  EXPECT_EQ(form->pos().x(), 16);
  ASSERT_EQ(dialogs.warnings.size(), 1);
  EXPECT_TRUE(dialogs.warnings[0].contains(QStringLiteral(" could not be read in lines 6 and 8. ")))
      << dialogs.warnings[0].toStdString();
  CloseWindows();  // as a run that ends without writing its settings

  dialogs.warnings.clear();
  Start();
  EXPECT_TRUE(dialogs.openDialogs.empty()) << "a later start was taken for a first start";
  EXPECT_TRUE(dialogs.warnings.isEmpty());
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Vantrel ") + dictionaryPath);
  EXPECT_EQ(form->pos().x(), 16);
}

TEST(SettingsBadLines, AHandfulAreNamedAndTheRestCounted) {
  const struct {
    std::vector<std::size_t> lines;
    const char* text;
  } rows[] = {
      {{4}, " could not be read in line 4"},
      {{4, 9}, " could not be read in lines 4 and 9"},
      {{4, 5, 9}, " could not be read in lines 4, 5 and 9"},
      {{4, 5, 6, 7, 9}, " could not be read in lines 4, 5, 6, 7 and 9"},
      {{4, 5, 6, 7, 9, 10}, " could not be read in lines 4, 5, 6, 7, 9 and 1 more"},
      {{4, 5, 6, 7, 8, 9, 10, 11}, " could not be read in lines 4, 5, 6, 7, 8 and 3 more"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(BadLinesText(Translator(), row.lines).toStdString(), row.text);
  }
}

TEST_F(MainWindowTest, ACorruptSettingsFileIsKeptAsideAndReported) {
  WriteSettingsFile("this is \x01 not a settings file");
  StartWithDictionary();
  ASSERT_EQ(dialogs.warnings.size(), 1);
  EXPECT_TRUE(dialogs.warnings[0].contains(QStringLiteral("could not be read and was kept as")));
  EXPECT_EQ(dialogs.openDialogs.size(), 1u);  // as on a first run
  EXPECT_TRUE(form->close());
  const QStringList kept = QDir(settings->Folder()).entryList({QStringLiteral("*.corrupt-*")});
  EXPECT_EQ(kept.size(), 1);
}

}  // namespace
}  // namespace vantrel
