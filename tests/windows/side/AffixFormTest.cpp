// SPDX-License-Identifier: GPL-3.0-or-later
// The affix window driven from a real MainModel: an ending clicked in the affix grid shows
// the window, whose OK, Cancel and in-place correction decide what enters the phrase.
// Also the column rule and the geometry read at creation.

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <functional>
#include <limits>

#include <gtest/gtest.h>

#include "AffixUnit.h"
#include "FindControl.h"
#include "LayerGrid.h"
#include "QtWait.h"
#include "SideTesting.h"

namespace vantrel {
namespace {

using testing::ShowActive;
using testing::TestServices;
using testing::WriteDictionary;

const std::string kBullets(7, kBullet);

// The main window as far as the affix window needs it: the engine reaches the affix
// window and its messages through this host.
class AffixHost final : public MainHost {
 public:
  void Warn(const Message& message) override { warnings.push_back(Render(message, nullptr)); }
  void ShowAffixWindow() override { results.push_back(form->ShowModal()); }

  TAffixForm* form = nullptr;
  std::vector<std::string> warnings;
  std::vector<int> results;
};

int RowOf(const CellTable& table, int col, const std::string& text) {
  for (int row = 0; row < table.RowCount(); ++row) {
    if (table.Cell(col, row) == text) {
      return row;
    }
  }
  return -1;
}

// The number 2255464 with ball placed on 2255 at its start; the affix grid offers -ing.
class AffixFormTest : public ::testing::Test {
 protected:
  AffixFormTest() {
    host.form = &form;
    dictionary.name =
        WriteDictionary(env.folder, {"2255,ball,B", "22,ba,B", "464,-ing,B", "4,-i,A", "7,re-,B"});
    dictionary.Bind(dictionary.name);
    model.LoadAffixes();
    model.TypeNumber("2255464");
    model.Search();
    model.ChooseCandidate(RowOf(model.Candidates(), 0, "ball"));
  }

  void ClickEnding(const std::function<void(QDialog&)>& inWindow) {
    env.dialogs.onExec.push_back(inWindow);
    const int row = RowOf(model.AffixOffers(), 0, "-ing");
    ASSERT_GE(row, 0);
    model.ChooseAffix(row);
  }

  TLayerGrid& Grid() { return *testing::Find<TLayerGrid>(form, "SelectedAffixGrid"); }
  // A double click as the user makes it: the first press selects the cell.
  void DoubleClick(int col, int row) {
    const QPoint middle = Grid().CellRect(col, row).center();
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, middle);
    QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {}, middle);
  }
  void ClickOk() {
    QTest::mouseClick(testing::Find<QPushButton>(form, "AffixOkBtn"), Qt::LeftButton);
  }

  // The phrase, number and offers that Cancel must leave alone.
  struct Snapshot {
    std::string entry, word, digits, label;
    std::vector<std::string> offers;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot Take() const {
    Snapshot s{model.EntryText(),
               model.Phrase().Cell(0, 1),
               model.Phrase().Cell(1, 1),
               model.SelectedWordLabel(),
               {}};
    for (int row = 0; !model.AffixOffers().Cell(0, row).empty(); ++row) {
      s.offers.push_back(model.AffixOffers().Cell(0, row));
    }
    return s;
  }

  TestServices env;
  DictionaryFile dictionary;
  AffixHost host;
  MainModel model{dictionary, host};
  TAffixForm form{model, env.services};
};

TEST_F(AffixFormTest, OkJoinsTheEndingAndCoversItsDigitsWithBullets) {
  ASSERT_EQ(model.EntryText(), std::string(4, kBullet) + "464");
  ClickEnding([this](QDialog& dialog) {
    ASSERT_TRUE(ShowActive(dialog));
    EXPECT_EQ(Grid().CellText(0, 0), "Candidate Word");
    EXPECT_EQ(Grid().CellText(1, 0), "Represents");
    EXPECT_EQ(Grid().CellText(0, 1), "balling");
    EXPECT_EQ(Grid().CellText(1, 1), "2255464");
    ClickOk();
  });
  EXPECT_EQ(host.results, std::vector<int>{QDialog::Accepted});
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(model.EntryText(), kBullets);
  EXPECT_EQ(model.Phrase().Cell(0, 1), "balling");
  EXPECT_EQ(model.Phrase().Cell(1, 1), "2255464");
  EXPECT_TRUE(model.Phrase().Cell(0, 2).empty());
  EXPECT_EQ(model.PhraseText(), "2255464, balling");
  EXPECT_EQ(model.SelectedWordLabel(), "balling");
  EXPECT_TRUE(host.warnings.empty());
}

// A screen reader meets the caution picture as a picture with a name, and the in-place
// editor of the word in the grid whose cell it corrects.
TEST_F(AffixFormTest, TheCautionPictureAndTheWordEditorReachAScreenReader) {
  ClickEnding([this](QDialog& dialog) {
    ASSERT_TRUE(ShowActive(dialog));
    QAccessibleInterface* caution =
        QAccessible::queryAccessibleInterface(testing::Find<QLabel>(form, "CautionImage"));
    ASSERT_NE(caution, nullptr);
    EXPECT_EQ(caution->role(), QAccessible::Graphic);
    EXPECT_EQ(caution->text(QAccessible::Name), QStringLiteral("Caution"));

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&Grid());
    ASSERT_NE(table, nullptr);
    DoubleClick(0, 1);
    ASSERT_TRUE(Grid().Editing());
    QAccessibleInterface* editor = table->child(table->childCount() - 1);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->object(), Grid().Editor());
    EXPECT_EQ(editor->parent(), table);
    EXPECT_EQ(editor->text(QAccessible::Name), QStringLiteral("Candidate Word"));
    EXPECT_EQ(editor->text(QAccessible::Value), QStringLiteral("balling"));
    QTest::keyClick(Grid().Editor(), Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  EXPECT_EQ(host.results, std::vector<int>{QDialog::Rejected});
}

TEST_F(AffixFormTest, CancelEscAndTheCloseBoxChangeNothing) {
  const Snapshot before = Take();
  ASSERT_EQ(before.offers, (std::vector<std::string>{"-ing", "-i"}));
  const std::pair<const char*, std::function<void(QDialog&)>> ways[] = {
      {"Cancel",
       [this](QDialog&) {
         QTest::mouseClick(testing::Find<QPushButton>(form, "AffixCancelBtn"), Qt::LeftButton);
       }},
      {"Esc", [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }},
      {"close box", [](QDialog& dialog) { dialog.close(); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.first);
    const std::function<void(QDialog&)>& closeIt = way.second;
    host.results.clear();
    ClickEnding([&closeIt](QDialog& dialog) {
      ASSERT_TRUE(ShowActive(dialog));
      closeIt(dialog);
    });
    EXPECT_EQ(host.results, std::vector<int>{QDialog::Rejected});
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Take(), before);
  }
}

TEST_F(AffixFormTest, ACorrectedSpellingEntersThePhraseWithTheBulletsOfTheDigits) {
  ClickEnding([this](QDialog& dialog) {
    ASSERT_TRUE(ShowActive(dialog));
    ASSERT_TRUE(Grid().hasFocus());
    QTest::keyClick(&Grid(), Qt::Key_F2);
    ASSERT_TRUE(Grid().Editing());
    QLineEdit* editor = Grid().Editor();
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), "balling");
    EXPECT_EQ(editor->selectedText(), "balling");
    EXPECT_EQ(editor->geometry(), Grid().CellRect(0, 1));
    QTest::keyClicks(editor, "Baling");
    QTest::keyClick(editor, Qt::Key_Return);  // keeps the text; the window stays
    EXPECT_FALSE(Grid().Editing());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Grid().CellText(0, 1), "Baling");
    ClickOk();
  });
  EXPECT_EQ(host.results, std::vector<int>{QDialog::Accepted});
  EXPECT_EQ(model.Phrase().Cell(0, 1), "Baling");
  EXPECT_EQ(model.Phrase().Cell(1, 1), "2255464");
  EXPECT_EQ(model.EntryText(), kBullets);
  EXPECT_EQ(model.PhraseText(), "2255464, Baling");
}

TEST_F(AffixFormTest, TypingOnTheWordStartsAnEditThatOkTakesWithoutEnter) {
  ClickEnding([this](QDialog& dialog) {
    ASSERT_TRUE(ShowActive(dialog));
    QTest::keyClicks(&Grid(), "b");  // replaces the word, as typing into any grid cell
    ASSERT_TRUE(Grid().Editing());
    testing::TypeText(Grid().Editor(), QString::fromUtf8("al\u00e9ing"));
    ClickOk();  // the click takes the focus from the editor, which keeps its text
  });
  EXPECT_EQ(host.results, std::vector<int>{QDialog::Accepted});
  EXPECT_EQ(model.Phrase().Cell(0, 1), "bal\xe9ing");
  EXPECT_EQ(model.EntryText(), kBullets);
}

TEST_F(AffixFormTest, OkPressedWithoutTakingTheFocusStillTakesTheEdit) {
  ClickEnding([this](QDialog& dialog) {
    ASSERT_TRUE(ShowActive(dialog));
    QTest::keyClick(&Grid(), Qt::Key_F2);
    QTest::keyClicks(Grid().Editor(), "bawling");
    // As an accessibility tool presses a button: the editor keeps the focus.
    testing::Find<QPushButton>(form, "AffixOkBtn")->click();
  });
  EXPECT_EQ(host.results, std::vector<int>{QDialog::Accepted});
  EXPECT_EQ(model.Phrase().Cell(0, 1), "bawling");
}

TEST_F(AffixFormTest, OnlyTheWordCellOpensAnEditor) {
  ClickEnding([this](QDialog& dialog) {
    ASSERT_TRUE(ShowActive(dialog));
    DoubleClick(1, 1);
    EXPECT_FALSE(Grid().Editing());
    QTest::keyClick(&Grid(), Qt::Key_F2);
    QTest::keyClicks(&Grid(), "9");
    EXPECT_FALSE(Grid().Editing());
    EXPECT_EQ(Grid().CellText(1, 1), "2255464");
    DoubleClick(0, 0);
    EXPECT_FALSE(Grid().Editing());

    DoubleClick(0, 1);
    EXPECT_TRUE(Grid().Editing());
    EXPECT_TRUE(Grid().Editor()->hasFocus());
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
}

// A corrected word is a short text of the dictionary, 255 characters at most: the editor
// takes no more, whether they are typed or pasted, and Enter keeps what it shows.
TEST_F(AffixFormTest, TheWordEditorTakesAtMost255Characters) {
  struct Case {
    const char* name;
    int pasted;  // letters a pasted over the word
    const char* typed;
    QString shown;
  };
  const QString a255(255, QLatin1Char('a'));
  const Case cases[] = {
      {"255 pasted", 255, "", a255},
      {"256 pasted", 256, "", a255},
      {"300 pasted", 300, "", a255},
      {"254 pasted, three typed", 254, "xyz", QString(254, QLatin1Char('a')) + "x"},
      {"255 pasted, one typed", 255, "x", a255},
  };
  ClickEnding([&](QDialog& dialog) {
    ASSERT_TRUE(ShowActive(dialog));
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      QTest::keyClick(&Grid(), Qt::Key_F2);
      ASSERT_TRUE(Grid().Editing());
      QLineEdit* editor = Grid().Editor();
      ASSERT_EQ(editor->selectedText(), Grid().CellText(0, 1));
      QGuiApplication::clipboard()->setText(QString(c.pasted, QLatin1Char('a')));
      QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
      QTest::keyClicks(editor, QString::fromLatin1(c.typed));
      EXPECT_EQ(editor->text().size(), c.shown.size());
      EXPECT_EQ(editor->text().toStdString(), c.shown.toStdString());
      QTest::keyClick(editor, Qt::Key_Return);
      EXPECT_FALSE(Grid().Editing());
      EXPECT_EQ(Grid().CellText(0, 1).toStdString(), c.shown.toStdString());
    }
    QTest::keyClick(&Grid(), Qt::Key_Escape);
  });
  EXPECT_EQ(host.results, std::vector<int>{QDialog::Rejected});
  EXPECT_EQ(model.Phrase().Cell(0, 1), "ball");
}

TEST_F(AffixFormTest, EscInTheEditorDropsTheEditAndABlankWordIsNotTaken) {
  ClickEnding([this](QDialog& dialog) {
    ASSERT_TRUE(ShowActive(dialog));
    QTest::keyClick(&Grid(), Qt::Key_F2);
    QTest::keyClicks(Grid().Editor(), "xyz");
    QTest::keyClick(Grid().Editor(), Qt::Key_Escape);
    EXPECT_FALSE(Grid().Editing());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Grid().CellText(0, 1), "balling");
    EXPECT_TRUE(Grid().hasFocus());

    QTest::keyClick(&Grid(), Qt::Key_F2);
    QTest::keyClicks(Grid().Editor(), "   ");
    QTest::keyClick(Grid().Editor(), Qt::Key_Enter);
    EXPECT_EQ(Grid().CellText(0, 1), "balling");

    // Only now does Esc reach the window.
    QTest::keyClick(&Grid(), Qt::Key_Escape);
  });
  EXPECT_EQ(host.results, std::vector<int>{QDialog::Rejected});
  EXPECT_EQ(model.Phrase().Cell(0, 1), "ball");
}

TEST_F(AffixFormTest, AnOkThatTheEngineRefusesClosesAsCancel) {
  struct Case {
    const char* name;
    const char* pasted;
  };
  const Case cases[] = {
      {"other digits of the same length", "9999999"},
      // Bullets on 225 only would leave the last digit of ball free under the joined word.
      {"shorter than the word's own digits", "225"},
      {"a single digit", "2"},
      {"longer than the number", "225546400"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.results.clear();
    host.warnings.clear();
    ClickEnding([this, &c](QDialog& dialog) {
      ASSERT_TRUE(ShowActive(dialog));
      // The clipboard keys paste into any cell, the digits cell included.
      Grid().FocusCell(1, 1);
      QGuiApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
      QTest::keyClick(&Grid(), Qt::Key_Insert, Qt::ShiftModifier);
      ASSERT_EQ(Grid().Cell(1, 1), c.pasted);
      ClickOk();
    });
    EXPECT_EQ(host.results, std::vector<int>{QDialog::Rejected});
    EXPECT_EQ(host.warnings, std::vector<std::string>{
                                 "The digits of the corrected word do not match the number."});
    EXPECT_EQ(model.EntryText(), std::string(4, kBullet) + "464");
    EXPECT_EQ(model.Phrase().Cell(0, 1), "ball");
    EXPECT_EQ(model.Phrase().Cell(1, 1), "2255");
  }
}

// OK searches the number again, which is the user's doing, so no worm comes straight
// after it; closing the window without OK is no activity of its own.
TEST_F(AffixFormTest, OkCountsAsUserActivityAndCancelDoesNot) {
  struct Case {
    const char* name;
    std::function<void(QDialog&)> closeIt;
    int result;
    bool activity;
  };
  const Case cases[] = {
      {"Cancel",
       [this](QDialog&) {
         QTest::mouseClick(testing::Find<QPushButton>(form, "AffixCancelBtn"), Qt::LeftButton);
       },
       QDialog::Rejected, false},
      {"Esc", [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }, QDialog::Rejected,
       false},
      {"OK", [this](QDialog&) { ClickOk(); }, QDialog::Accepted, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.results.clear();
    ClickEnding([this, &c](QDialog& dialog) {
      ASSERT_TRUE(ShowActive(dialog));
      env.services.state.IdleTicks = 50;
      c.closeIt(dialog);
    });
    EXPECT_EQ(host.results, std::vector<int>{c.result});
    EXPECT_EQ(env.services.state.IdleTicks, c.activity ? 0 : 50);
  }
}

TEST_F(AffixFormTest, TheWordColumnLeavesFortyPixelsOfTheGrid) {
  form.resize(600, 150);
  ASSERT_TRUE(ShowActive(form));
  const int gridWidth = Grid().width();
  Grid().SetColWidth(0, 1000);
  EXPECT_EQ(form.WordWidth(), gridWidth - 40);
  Grid().SetColWidth(0, 300);
  EXPECT_EQ(form.WordWidth(), 300);

  // Narrowing the window narrows the grid, and the rule follows.
  Grid().SetColWidth(0, gridWidth - 40);
  form.resize(435, 150);
  ASSERT_SOON(Grid().width() < gridWidth);
  EXPECT_EQ(form.WordWidth(), Grid().width() - 40);
  EXPECT_EQ(form.width(), 435);

  // The window keeps its minimum width and its height.
  form.resize(300, 400);
  ASSERT_EQ_SOON(form.width(), 435);
  EXPECT_EQ(form.height(), 150);
}

TEST(AffixFormGeometry, IsReadAtCreationUntilTheFirstFailure) {
  DictionaryFile dictionary;
  AffixHost host;
  MainModel model(dictionary, host);
  {
    SCOPED_TRACE("nothing stored");
    TestServices env;
    TAffixForm form(model, env.services);
    EXPECT_EQ(form.pos(), QPoint(347, 221));
    EXPECT_EQ(form.size(), QSize(466, 150));
    EXPECT_EQ(form.WordWidth(), 175);
  }
  {
    SCOPED_TRACE("all five");
    TestServices env;
    env.WriteInteger("Affix Top", 40);
    env.WriteInteger("Affix Left", 60);
    env.WriteInteger("Affix Width", 520);
    env.WriteInteger("Affix Word Width", 200);
    env.WriteInteger("Affix Number Width", 150);
    TAffixForm form(model, env.services);
    EXPECT_EQ(form.pos(), QPoint(60, 40));
    EXPECT_EQ(form.size(), QSize(520, 150));
    EXPECT_EQ(form.WordWidth(), 200);
    EXPECT_EQ(form.NumberWidth(), 150);
  }
  {
    SCOPED_TRACE("a missing width stops the reading");
    TestServices env;
    env.WriteInteger("Affix Top", 40);
    env.WriteInteger("Affix Left", 60);
    env.WriteInteger("Affix Word Width", 200);
    TAffixForm form(model, env.services);
    EXPECT_EQ(form.pos(), QPoint(60, 40));
    EXPECT_EQ(form.width(), 466);
    EXPECT_EQ(form.WordWidth(), 175);
  }
  {
    SCOPED_TRACE("a narrow width and a wide word column");
    TestServices env;
    env.WriteInteger("Affix Top", 40);
    env.WriteInteger("Affix Left", 60);
    env.WriteInteger("Affix Width", 100);
    env.WriteInteger("Affix Word Width", 5000);
    TAffixForm form(model, env.services);
    EXPECT_EQ(form.width(), 435);
    EXPECT_EQ(form.WordWidth(), testing::Find<TLayerGrid>(form, "SelectedAffixGrid")->width() - 40);
    EXPECT_LT(form.WordWidth(), 435);
  }
  {
    SCOPED_TRACE("a place off every screen and columns of no width");
    TestServices env;
    env.WriteInteger("Affix Top", -2000);
    env.WriteInteger("Affix Left", 60);
    env.WriteInteger("Affix Width", 520);
    env.WriteInteger("Affix Word Width", 0);
    env.WriteInteger("Affix Number Width", 2);
    TAffixForm form(model, env.services);
    EXPECT_EQ(form.pos(), QPoint(347, 221));
    EXPECT_EQ(form.WordWidth(), 175);
    // The last column fills the grid; it is never left as narrow as stored.
    EXPECT_GE(form.NumberWidth(), 135);
  }
  EXPECT_TRUE(host.warnings.empty());
}

TEST(AffixFormGeometry, ExtremeStoredValuesLeaveAUsableWindow) {
  DictionaryFile dictionary;
  AffixHost host;
  MainModel model(dictionary, host);
  TestServices env;
  env.WriteInteger("Affix Top", std::numeric_limits<qint32>::min());
  env.WriteInteger("Affix Left", std::numeric_limits<qint32>::max());
  env.WriteInteger("Affix Width", std::numeric_limits<qint32>::max());
  env.WriteInteger("Affix Word Width", std::numeric_limits<qint32>::max());
  env.WriteInteger("Affix Number Width", std::numeric_limits<qint32>::max());
  TAffixForm form(model, env.services);
  form.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(form.height(), 150);
  EXPECT_LE(form.width(), QGuiApplication::primaryScreen()->availableVirtualGeometry().width());
  EXPECT_LE(form.WordWidth(), testing::Find<TLayerGrid>(form, "SelectedAffixGrid")->width() - 40);
  (void)form.grab();  // painting copes with the widths
}

}  // namespace
}  // namespace vantrel
