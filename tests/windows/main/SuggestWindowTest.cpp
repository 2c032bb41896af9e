// SPDX-License-Identifier: GPL-3.0-or-later
// The Suggest command driven as a person would: Ctrl+G on the main window, a choice in
// the list, and the phrase it leaves, compared with the same words picked by hand.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

#include "AboutVantrel.h"
#include "AffixUnit.h"
#include "FindControl.h"
#include "LayerGrid.h"
#include "LookUp.h"
#include "Main.h"
#include "Notify.h"
#include "ProgramWindows.h"
#include "RecordingHelp.h"
#include "RecordingLauncher.h"
#include "ScriptedDialogs.h"
#include "SettingsStore.h"
#include "Suggest.h"
#include "SuggestWindow.h"
#include "TestPanel.h"
#include "Texts.h"

namespace vantrel {
namespace {

using testing::ScriptedDialogs;

const QString kBullet = QString(QChar(0x2022));

// What a pick leaves behind, as the windows and Copy see it.
struct PhraseState {
  std::string entry;
  std::vector<std::string> phrase;
  std::vector<int> positions;
  std::vector<std::string> affixes;
  std::string copied;
  bool copyEnabled = false;
  bool convertEnabled = false;
  bool operator==(const PhraseState&) const = default;
};

class SuggestWindowTest : public testing::ProgramWindowsTest {
 protected:
  void SetUp() override {
    WriteDictionary(
        "3569377,flowers,B\r\n356,elm,B\r\n9377,yeps,B\r\n4357,help,A\r\n228,bat,B\r\n"
        "464,-ing,B\r\n0,0,D\r\n1,1,D\r\n2,2,D\r\n8,8,D\r\n\r\n");
    dialogs.fileChoices.push_back(dictionaryPath);
    CreateWindows();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }

  void TypeNumber(const QString& number) {
    testing::Find<QLineEdit>(*form, "EntryEdit")->setFocus();
    QTest::keyClicks(testing::Find<QLineEdit>(*form, "EntryEdit"), number);
  }

  // Ctrl+G in the entry field; the window comes up over the main window.
  SuggestWindow* PressSuggest() {
    QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"), Qt::Key_G, Qt::ControlModifier);
    SuggestWindow* window = testing::Find<SuggestWindow>(*form, "SuggestWindow");
    if (window != nullptr && window->isVisible()) {
      EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    return window;
  }

  QStringList Listed(const SuggestWindow& window) {
    QStringList rows;
    const QTableWidget* list = testing::Find<QTableWidget>(window, "SuggestionList");
    for (int row = 0; row < list->rowCount(); ++row) {
      rows << list->item(row, 0)->text() + QStringLiteral("|") + list->item(row, 1)->text();
    }
    return rows;
  }

  void Pick(const std::string& word) {
    const CellTable& table = form->Model().Candidates();
    for (int row = 1; row < table.RowCount(); ++row) {
      if (table.Cell(0, row) == word) {
        TLayerGrid* grid = testing::Find<TLayerGrid>(*form, "PossibleGrid");
        grid->SetTopRow(std::max(grid->FixedRows(), row - 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(0, row).center());
        return;
      }
    }
    ADD_FAILURE() << word << " is no candidate";
  }

  PhraseState State() {
    PhraseState s;
    const MainModel& model = form->Model();
    s.entry = model.EntryText();
    for (int row = 1; row <= MainModel::kPhraseSlots; ++row) {
      s.phrase.push_back(model.Phrase().Cell(0, row) + "@" + model.Phrase().Cell(1, row));
      s.positions.push_back(model.WordPositions(row));
    }
    for (int row = 0;
         row < model.AffixOffers().RowCount() && !model.AffixOffers().Cell(0, row).empty(); ++row) {
      s.affixes.push_back(model.AffixOffers().Cell(0, row));
    }
    s.copyEnabled = testing::Find<QPushButton>(*form, "CopyBtn")->isEnabled();
    s.convertEnabled = testing::Find<QPushButton>(*form, "ConvertBtn")->isEnabled();
    if (s.copyEnabled) {
      testing::Find<QPushButton>(*form, "CopyBtn")->click();
      s.copied = dialogs.clipboard.toStdString();
    }
    return s;
  }
};

TEST_F(SuggestWindowTest, FlowersComesFirstAndEnterPlacesItForCopy) {
  EXPECT_EQ(testing::Find<QAction>(*form, "Suggest1")->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_G));
  TypeNumber(QStringLiteral("18003569377"));
  SuggestWindow* window = PressSuggest();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->isVisible());
  EXPECT_EQ(Listed(*window), (QStringList{QStringLiteral("1800 flowers|1800FLOWERS"),
                                          QStringLiteral("1800 elm yeps|1800ELMYEPS"),
                                          QStringLiteral("1800356 yeps|1800356YEPS"),
                                          QStringLiteral("1800 elm 9377|1800ELM9377")}));
  EXPECT_EQ(testing::Find<QTableWidget>(*window, "SuggestionList")->accessibleName(),
            QStringLiteral("Suggestions"));
  // Each row says why it stands where it does.
  QTableWidget* list = testing::Find<QTableWidget>(*window, "SuggestionList");
  ASSERT_EQ(list->columnCount(), 3);
  EXPECT_EQ(list->horizontalHeaderItem(2)->text(), QStringLiteral("Why"));
  const QStringList why = {
      QStringLiteral("country and toll-free code kept, 1 word, common"),
      QStringLiteral("country and toll-free code kept, 2 words, common"),
      QStringLiteral(
          "country and toll-free code kept, digits kept before the words, 1 word, common"),
      QStringLiteral("country and toll-free code kept, end kept, 1 word, common")};
  for (int row = 0; row < static_cast<int>(why.size()); ++row) {
    EXPECT_EQ(list->item(row, 2)->text(), why[row]);
  }
  EXPECT_TRUE(testing::Find<QTableWidget>(*window, "SuggestionList")->hasFocus());

  QTest::keyClick(testing::Find<QTableWidget>(*window, "SuggestionList"), Qt::Key_Return);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(testing::Find<QLineEdit>(*form, "EntryEdit")->text(), kBullet.repeated(11));
  ASSERT_TRUE(testing::Find<QPushButton>(*form, "CopyBtn")->isEnabled());
  testing::Find<QPushButton>(*form, "CopyBtn")->click();
  EXPECT_EQ(dialogs.clipboard, QStringLiteral("18003569377, 1800 flowers"));
}

// One suggestion is chosen at a time: Shift and Ctrl move the choice instead of adding
// rows to it, so OK always takes the one row that shows chosen.
TEST_F(SuggestWindowTest, OnlyOneSuggestionShowsChosenAtATime) {
  TypeNumber(QStringLiteral("18003569377"));
  SuggestWindow* window = PressSuggest();
  ASSERT_NE(window, nullptr);
  QTableWidget* list = testing::Find<QTableWidget>(*window, "SuggestionList");
  ASSERT_TRUE(list->hasFocus());
  QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(list->selectionModel()->selectedRows().size(), 1);
  const QPoint third = list->visualItemRect(list->item(2, 0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, third);
  const QModelIndexList chosen = list->selectionModel()->selectedRows();
  ASSERT_EQ(chosen.size(), 1);
  EXPECT_EQ(chosen.front().row(), list->currentRow());
}

// Tab leaves the list for the buttons, as in any dialog, instead of walking its cells;
// the row the user stood on stays chosen.
TEST_F(SuggestWindowTest, TabMovesFromTheListToTheButtonsAndBack) {
  TypeNumber(QStringLiteral("18003569377"));
  SuggestWindow* window = PressSuggest();
  ASSERT_NE(window, nullptr);
  QTableWidget* list = testing::Find<QTableWidget>(*window, "SuggestionList");
  ASSERT_TRUE(list->hasFocus());
  QTest::keyClick(list, Qt::Key_Down);
  ASSERT_EQ(list->currentRow(), 1);
  QTest::keyClick(list, Qt::Key_Tab);
  EXPECT_FALSE(list->hasFocus());
  EXPECT_NE(qobject_cast<QPushButton*>(QApplication::focusWidget()), nullptr);
  EXPECT_EQ(list->currentRow(), 1);
  EXPECT_EQ(list->currentColumn(), 0);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_TRUE(list->hasFocus());
  EXPECT_EQ(list->currentRow(), 1);
}

TEST_F(SuggestWindowTest, AChoiceBuildsTheSamePhraseAsPickingByHand) {
  TypeNumber(QStringLiteral("228-4357"));
  SuggestWindow* window = PressSuggest();
  ASSERT_NE(window, nullptr);
  // A seven-digit line lettered whole comes before one that keeps its exchange.
  ASSERT_EQ(Listed(*window).value(0), QStringLiteral("bat help|BAT-HELP"));
  ASSERT_EQ(Listed(*window).value(1), QStringLiteral("228 help|228-HELP"));
  // A double click on the first row: bat help.
  QTableWidget* list = testing::Find<QTableWidget>(*window, "SuggestionList");
  const QPoint second = list->visualItemRect(list->item(0, 1)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
  EXPECT_FALSE(window->isVisible());
  const PhraseState suggested = State();

  testing::Find<QPushButton>(*form, "ClearBtn")->click();
  TypeNumber(QStringLiteral("228-4357"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  for (const std::string word : {"bat", "help"}) {
    Pick(word);
  }
  const PhraseState byHand = State();
  EXPECT_EQ(suggested.phrase, byHand.phrase);
  EXPECT_EQ(suggested, byHand);
  EXPECT_EQ(byHand.copied, "228-4357, bat help");
}

// Five places for bat give 31 suggestions: twenty, then the rest, and no more after that.
TEST_F(SuggestWindowTest, MoreListsTwentyMoreUntilTheListIsWhole) {
  TypeNumber(QStringLiteral("228228228228228"));
  SuggestWindow* window = PressSuggest();
  ASSERT_NE(window, nullptr);
  QTableWidget* list = testing::Find<QTableWidget>(*window, "SuggestionList");
  QPushButton* more = testing::Find<QPushButton>(*window, "MoreBtn");
  const QStringList first = Listed(*window);
  ASSERT_EQ(first.size(), 20);
  ASSERT_TRUE(more->isEnabled());
  list->setCurrentCell(5, 0);
  more->click();
  QStringList all = Listed(*window);
  EXPECT_EQ(all.size(), 31);
  EXPECT_EQ(all.mid(0, 20), first);
  EXPECT_EQ(all.removeDuplicates(), 0);
  EXPECT_FALSE(more->isEnabled());
  EXPECT_EQ(list->currentRow(), 5);
  // The reason is whole in its tool tip, however narrow the column.
  for (int row = 0; row < list->rowCount(); ++row) {
    EXPECT_EQ(list->item(row, 2)->toolTip(), list->item(row, 2)->text());
  }
  // A new number starts from twenty again.
  testing::Find<QPushButton>(*window, "CancelBtn")->click();
  ASSERT_FALSE(window->isVisible());
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  testing::Find<QPushButton>(*form, "ClearBtn")->click();
  TypeNumber(QStringLiteral("228228228228228"));
  window = PressSuggest();
  ASSERT_TRUE(window->isVisible());
  EXPECT_EQ(Listed(*window).size(), 20);
}

// Ten places for bat give 1023 suggestions, more than the window ever lists: More stops
// at the thousandth.
TEST_F(SuggestWindowTest, MoreStopsAtTheLongestListTheWindowShows) {
  TypeNumber(QStringLiteral("228").repeated(10));
  SuggestWindow* window = PressSuggest();
  ASSERT_NE(window, nullptr);
  QTableWidget* list = testing::Find<QTableWidget>(*window, "SuggestionList");
  QPushButton* more = testing::Find<QPushButton>(*window, "MoreBtn");
  for (int shown = kDefaultSuggestions; shown < kMaxSuggestions; shown += kDefaultSuggestions) {
    ASSERT_EQ(list->rowCount(), shown);
    ASSERT_TRUE(more->isEnabled()) << shown;
    more->click();
  }
  EXPECT_EQ(list->rowCount(), kMaxSuggestions);
  EXPECT_FALSE(more->isEnabled());
}

TEST_F(SuggestWindowTest, TheNumberAsItStandsWithItsBullets) {
  TypeNumber(QStringLiteral("228-4357"));
  testing::Find<QPushButton>(*form, "ConvertBtn")->click();
  Pick("help");
  SuggestWindow* window = PressSuggest();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Listed(*window).value(0), QStringLiteral("bat|BAT-") + kBullet.repeated(4));
  testing::Find<QPushButton>(*window, "OkBtn")->click();
  EXPECT_EQ(State().copied, "228-4357, bat help");
}

TEST_F(SuggestWindowTest, NoSuggestionSaysSoAndCancelChangesNothing) {
  TypeNumber(QStringLiteral("9-1"));
  const PhraseState before = State();
  SuggestWindow* window = PressSuggest();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(testing::Find<QTableWidget>(*window, "SuggestionList")->rowCount(), 0);
  EXPECT_EQ(testing::Find<QLabel>(*window, "CountLabel")->text(),
            QStringLiteral("No phrase covers every free digit."));
  EXPECT_TRUE(testing::Find<QLabel>(*window, "CountLabel")->isVisibleTo(window));
  EXPECT_FALSE(testing::Find<QPushButton>(*window, "OkBtn")->isEnabled());
  QTest::keyClick(testing::Find<QTableWidget>(*window, "SuggestionList"), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(State(), before);
  // A number with suggestions afterwards: the note of the empty list is gone.
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  testing::Find<QPushButton>(*form, "ClearBtn")->click();
  TypeNumber(QStringLiteral("228"));
  window = PressSuggest();
  ASSERT_TRUE(window->isVisible());
  EXPECT_EQ(Listed(*window).value(0), QStringLiteral("bat|BAT"));
  EXPECT_EQ(testing::Find<QLabel>(*window, "CountLabel")->text(), QString());
  // Nothing to say, nothing shown: a screen reader meets no empty label.
  EXPECT_FALSE(testing::Find<QLabel>(*window, "CountLabel")->isVisibleTo(window));
  EXPECT_TRUE(testing::Find<QPushButton>(*window, "OkBtn")->isEnabled());
}

// The window's place, size and column widths are kept between runs as the other side
// windows' are; a run that never opens it keeps what the run before stored.
TEST_F(SuggestWindowTest, ThePlaceSizeAndColumnsComeBackAtTheNextRuns) {
  TypeNumber(QStringLiteral("18003569377"));
  SuggestWindow* window = PressSuggest();
  ASSERT_NE(window, nullptr);
  window->move(123, 145);
  window->resize(640, 330);
  auto* list = testing::Find<QTableWidget>(*window, "SuggestionList");
  list->setColumnWidth(0, 111);
  list->setColumnWidth(1, 99);
  window->reject();
  ASSERT_TRUE(form->close());

  const struct {
    const char* name;
    bool openIt;
  } runs[] = {{"a run that opens it", true}, {"a run that never opens it", false}};
  for (const auto& run : runs) {
    SCOPED_TRACE(run.name);
    std::optional<SettingsKey> key = settings->OpenKey(SettingsStore::OpenMode::kExisting);
    ASSERT_TRUE(key);
    const struct {
      const char* name;
      int value;
    } stored[] = {{"Suggest Top", 145},          {"Suggest Left", 123},
                  {"Suggest Width", 640},        {"Suggest Height", 330},
                  {"Suggest Phrase Width", 111}, {"Suggest Vanity Width", 99}};
    for (const auto& value : stored) {
      EXPECT_EQ(key->ReadInteger(QString::fromLatin1(value.name)).value, value.value) << value.name;
    }

    CloseWindows();
    CreateWindows();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    if (run.openIt) {
      TypeNumber(QStringLiteral("18003569377"));
      window = PressSuggest();
      ASSERT_NE(window, nullptr);
      EXPECT_EQ(window->pos(), QPoint(123, 145));
      EXPECT_EQ(window->size(), QSize(640, 330));
      list = testing::Find<QTableWidget>(*window, "SuggestionList");
      EXPECT_EQ(list->columnWidth(0), 111);
      EXPECT_EQ(list->columnWidth(1), 99);
      window->reject();
    }
    ASSERT_TRUE(form->close());
  }
}

TEST_F(SuggestWindowTest, F1InTheWindowAsksForItsHelp) {
  TypeNumber(QStringLiteral("1"));
  SuggestWindow* window = PressSuggest();
  ASSERT_NE(window, nullptr);
  QTest::keyClick(testing::Find<QTableWidget>(*window, "SuggestionList"), Qt::Key_F1);
  EXPECT_EQ(help.Asked().back(), kHelpSuggestWindow);
  EXPECT_EQ(HelpUrl(kHelpSuggestWindow).fragment(), QStringLiteral("suggestions"));
}

TEST_F(SuggestWindowTest, ADictionaryThatCannotBeOpenedIsNamedAndTheWindowStaysClosed) {
  form->Dictionary().Bind(dir.filePath(QStringLiteral("gone.txt")).toStdString());
  form->Dictionary().name = "gone.txt";
  TypeNumber(QStringLiteral("1"));
  SuggestWindow* window = PressSuggest();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(dialogs.warnings.value(0), QStringLiteral("Can Not Open gone.txt"));
}

// The vanity text's capitals follow the same rules as Qt's, byte for byte, except that
// a letter whose capital is longer (ß, SS) stays as it is: one character per digit.
TEST(SuggestUpperCase, AgreesWithQtForEveryByte) {
  int kept = 0;
  for (int byte = 32; byte < 256; ++byte) {
    const std::string text(1, static_cast<char>(byte));
    SCOPED_TRACE(byte);
    const QString upper = FromCp1252(text).toUpper();
    if (upper.size() > 1) {
      EXPECT_EQ(QString::fromStdString(UpperUtf8(text)), FromCp1252(text));
      ++kept;
    } else {
      EXPECT_EQ(QString::fromStdString(UpperUtf8(text)), upper);
    }
  }
  EXPECT_EQ(kept, 1);  // ß
}

}  // namespace
}  // namespace vantrel
