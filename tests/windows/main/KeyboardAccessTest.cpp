// SPDX-License-Identifier: GPL-3.0-or-later
// The program for people who use the keyboard and a screen reader: a phrase built,
// changed and copied with keys alone, a name for every control of every window, help
// from every window, and the Open dialog of the first start saying why it is there.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include <QAction>
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
#include "TestPanel.h"
#include "Texts.h"

namespace vantrel {
namespace {

using testing::ScriptedDialogs;

class KeyboardAccessTest : public testing::ProgramWindowsTest {
 protected:
  void SetUp() override {
    WriteDictionary(
        "4357,help,A\r\n228,bat,B\r\n46,go,B\r\n2255,ball,B\r\n464,-ing,B\r\n"
        "0,0,D\r\n2,2,D\r\n\r\n");
  }

  // Starts the windows in their order, with the dictionary chosen at the first start.
  void Start() {
    dialogs.fileChoices.push_back(dictionaryPath);
    CreateWindows();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }

  QWidget* Focused() const { return QApplication::focusWidget(); }

  // Tab from the focused control until the given one has the focus.
  void TabTo(QWidget* target) {
    for (int i = 0; i < 40 && Focused() != target; ++i) {
      QTest::keyClick(Focused() != nullptr ? Focused() : form.get(), Qt::Key_Tab);
    }
    ASSERT_EQ(Focused(), target) << "Tab never reached " << target->objectName().toStdString();
  }

  // Moves the current row of a grid to the row that holds the word, with the arrow keys.
  void ArrowTo(TLayerGrid* grid, const std::string& word) {
    const CellTable& table = grid->Table();
    int row = -1;
    for (int r = grid->FixedRows(); r < table.RowCount() && row < 0; ++r) {
      if (table.Cell(0, r) == word) {
        row = r;
      }
    }
    ASSERT_GE(row, 0) << word << " is not in " << grid->objectName().toStdString();
    for (int i = 0; i < 200 && grid->Row() != row; ++i) {
      QTest::keyClick(grid, grid->Row() < row ? Qt::Key_Down : Qt::Key_Up);
    }
    ASSERT_EQ(grid->Row(), row);
  }
};

TEST_F(KeyboardAccessTest, APhraseIsBuiltChangedAndCopiedWithKeysAlone) {
  Start();
  ASSERT_EQ(Focused(), testing::Find<QLineEdit>(*form, "EntryEdit"));
  QTest::keyClicks(testing::Find<QLineEdit>(*form, "EntryEdit"), QStringLiteral("228-4357"));
  QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"), Qt::Key_Return);  // Convert
  ASSERT_EQ(form->Model().Candidates().Cell(0, 1), "help");

  TabTo(testing::Find<TLayerGrid>(*form, "PossibleGrid"));
  ArrowTo(testing::Find<TLayerGrid>(*form, "PossibleGrid"), "help");
  QTest::keyClick(testing::Find<TLayerGrid>(*form, "PossibleGrid"), Qt::Key_Space);
  EXPECT_EQ(PhraseWords(), QStringList{QStringLiteral("help")});
  // Enter picks as well: on the grid it is no press of Convert.
  ArrowTo(testing::Find<TLayerGrid>(*form, "PossibleGrid"), "bat");
  QTest::keyClick(testing::Find<TLayerGrid>(*form, "PossibleGrid"), Qt::Key_Return);
  EXPECT_EQ(PhraseWords(), (QStringList{QStringLiteral("bat"), QStringLiteral("help")}));
  EXPECT_TRUE(testing::Find<QPushButton>(*form, "CopyBtn")->isEnabled());

  // In the phrase, Space takes the current word out again.
  TabTo(testing::Find<TLayerGrid>(*form, "SelectedGrid"));
  ArrowTo(testing::Find<TLayerGrid>(*form, "SelectedGrid"), "bat");
  QTest::keyClick(testing::Find<TLayerGrid>(*form, "SelectedGrid"), Qt::Key_Space);
  EXPECT_EQ(PhraseWords(), QStringList{QStringLiteral("help")});
  EXPECT_FALSE(testing::Find<QPushButton>(*form, "CopyBtn")->isEnabled());

  QTest::keyClick(testing::Find<TLayerGrid>(*form, "SelectedGrid"), Qt::Key_Tab, Qt::ShiftModifier);
  ASSERT_EQ(Focused(), testing::Find<TLayerGrid>(*form, "PossibleGrid"));
  ArrowTo(testing::Find<TLayerGrid>(*form, "PossibleGrid"), "bat");
  QTest::keyClick(testing::Find<TLayerGrid>(*form, "PossibleGrid"), Qt::Key_Enter);
  TabTo(testing::Find<QPushButton>(*form, "CopyBtn"));
  QTest::keyClick(testing::Find<QPushButton>(*form, "CopyBtn"), Qt::Key_Space);
  EXPECT_EQ(dialogs.clipboard, QStringLiteral("228-4357, bat help"));
}

TEST_F(KeyboardAccessTest, AnAffixOfferIsTakenWithTheKeyboard) {
  Start();
  QTest::keyClicks(testing::Find<QLineEdit>(*form, "EntryEdit"), QStringLiteral("2255464"));
  QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"), Qt::Key_Return);
  TabTo(testing::Find<TLayerGrid>(*form, "PossibleGrid"));
  ArrowTo(testing::Find<TLayerGrid>(*form, "PossibleGrid"), "ball");
  QTest::keyClick(testing::Find<TLayerGrid>(*form, "PossibleGrid"), Qt::Key_Space);
  ASSERT_EQ(PhraseWords(), QStringList{QStringLiteral("ball")});

  // The joined word is confirmed in the affix window, whose OK Enter presses.
  dialogs.onExec.push_back([](QDialog& window) {
    ASSERT_EQ(window.objectName(), QStringLiteral("TAffixForm"));
    testing::Find<QPushButton>(window, "AffixOkBtn")->click();
  });
  TabTo(testing::Find<TLayerGrid>(*form, "AffixGrid"));
  ArrowTo(testing::Find<TLayerGrid>(*form, "AffixGrid"), "-ing");
  QTest::keyClick(testing::Find<TLayerGrid>(*form, "AffixGrid"), Qt::Key_Return);
  EXPECT_EQ(dialogs.shownDialogs, QStringList{QStringLiteral("TAffixForm")});
  EXPECT_EQ(PhraseWords(), QStringList{QStringLiteral("balling")});
}

TEST_F(KeyboardAccessTest, EveryControlOfEveryWindowHasAName) {
  Start();
  const std::vector<QWidget*> windows{form.get(),  lookup.get(), about.get(),
                                      affix.get(), notify.get(), test.get()};
  int controls = 0;
  for (QWidget* window : windows) {
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
      // A control is what the keyboard can reach; what the user can never see is none.
      if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(window)) {
        continue;
      }
      SCOPED_TRACE(window->objectName().toStdString() + " " + widget->metaObject()->className() +
                   " " + widget->objectName().toStdString());
      QAccessibleInterface* access = QAccessible::queryAccessibleInterface(widget);
      ASSERT_NE(access, nullptr);
      EXPECT_FALSE(access->text(QAccessible::Name).trimmed().isEmpty());
      ++controls;
    }
  }
  EXPECT_GT(controls, 30);
  // The grids are tables to a screen reader, named after what they list.
  for (TLayerGrid* grid : {testing::Find<TLayerGrid>(*form, "PossibleGrid"),
                           testing::Find<TLayerGrid>(*form, "SelectedGrid"),
                           testing::Find<TLayerGrid>(*form, "AffixGrid"),
                           testing::Find<TLayerGrid>(*lookup, "ConvertedGrid"),
                           testing::Find<TLayerGrid>(*affix, "SelectedAffixGrid")}) {
    SCOPED_TRACE(grid->objectName().toStdString());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(grid)->role(), QAccessible::Table);
  }
  EXPECT_EQ(testing::Find<QLineEdit>(*form, "EntryEdit")->placeholderText(),
            QStringLiteral("Enter Number to Convert"));
}

TEST_F(KeyboardAccessTest, F1OpensTheHelpOfTheAffixAndNotificationWindows) {
  Start();
  for (QDialog* window : std::initializer_list<QDialog*>{affix.get(), notify.get()}) {
    window->show();
    window->activateWindow();
    // A window above the main window: isActiveWindow() would already hold for it.
    ASSERT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }));
    QTest::keyClick(window, Qt::Key_F1);
    window->hide();
  }
  EXPECT_EQ(help.Asked(), (std::vector<int>{kHelpAffixWindow, kHelpNotifyWindow}));
  for (const int context : {kHelpAffixWindow, kHelpNotifyWindow}) {
    EXPECT_NE(HelpUrl(context), HelpContentsUrl());
  }
}

TEST_F(KeyboardAccessTest, OnlyTheOpenDialogOfTheStartSaysThatADictionaryIsNeeded) {
  Start();
  ASSERT_EQ(dialogs.openDialogs.size(), 1u);
  EXPECT_EQ(dialogs.openDialogs[0].title, QStringLiteral("Open Dictionary"));
  EXPECT_TRUE(dialogs.openDialogs[0].note.contains(QStringLiteral("dictionary")));
  testing::Find<QAction>(*form, "Open1")->trigger();  // cancelled
  ASSERT_EQ(dialogs.openDialogs.size(), 2u);
  EXPECT_TRUE(dialogs.openDialogs[1].note.isEmpty());
}

}  // namespace
}  // namespace vantrel
