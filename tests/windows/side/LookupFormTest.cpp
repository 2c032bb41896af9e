// SPDX-License-Identifier: GPL-3.0-or-later
// The lookup window driven through its controls: typing, Convert, the result grid, Copy,
// Clear, the focus rule, Enter, its messages, the busy pointer and its stored place.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSizeGrip>
#include <QStatusBar>
#include <QTest>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "FindControl.h"
#include "LayerGrid.h"
#include "LookUp.h"
#include "SideTesting.h"
#include "WindowEngineHost.h"

namespace vantrel {
namespace {

using testing::ShowActive;
using testing::TestServices;
using testing::WriteDictionary;

// 4357 help, twice under the same digits (once with a note); tree under two digits fields;
// a word field with a blank beside its comma; many under 21 digits fields.
std::vector<std::string> SampleLines() {
  std::vector<std::string> lines = {
      "4357,help,A",  "2255,ball,B",    "4357,help (verb),B", "8733,tree,B",
      "87333,tree,B", "4357, helper,B", "2233,caf\xE9,B",     "43573,helper,B",
  };
  for (int i = 0; i < 21; ++i) {
    lines.push_back(std::to_string(6269000 + i) + ",many,B");
  }
  return lines;
}

class LookupFormTest : public ::testing::Test {
 protected:
  LookupFormTest() {
    dictionary.name = WriteDictionary(env.folder, SampleLines());
    dictionary.Bind(dictionary.name);
  }

  void Type(const QString& word) {
    testing::Find<QLineEdit>(form, "WordToConvert")->selectAll();
    testing::TypeText(testing::Find<QLineEdit>(form, "WordToConvert"), word);
  }
  void Convert() {
    QTest::mouseClick(testing::Find<QPushButton>(form, "ConvertBtn"), Qt::LeftButton);
  }
  void Lookup(const QString& word) {
    Type(word);
    Convert();
  }
  QString Row(int row) const {
    return testing::Find<TLayerGrid>(form, "ConvertedGrid")->CellText(0, row);
  }
  QStringList Rows() const {
    QStringList rows;
    for (int row = 0; row < LookupModel::kRows && !Row(row).isEmpty(); ++row) {
      rows << Row(row);
    }
    return rows;
  }
  bool AllRowsEmpty() const {
    for (int row = 0; row < LookupModel::kRows; ++row) {
      if (!Row(row).isEmpty()) {
        return false;
      }
    }
    return true;
  }
  void ClickRow(int row) {
    QTest::mouseClick(testing::Find<TLayerGrid>(form, "ConvertedGrid")->viewport(), Qt::LeftButton,
                      {},
                      testing::Find<TLayerGrid>(form, "ConvertedGrid")->CellRect(0, row).center());
  }
  QString Status() const { return testing::Find<QStatusBar>(form, "StatusBar1")->currentMessage(); }

  TestServices env;
  DictionaryFile dictionary;
  TLookupForm form{dictionary, env.services};
};

// Both windows that show an engine give it the locale's separator for the status line;
// one that is not a single ASCII character cannot stand in the line's code page.
TEST(LocaleDecimalSeparatorTest, FollowsTheLocaleAndFallsBackToAPoint) {
  const QLocale before;
  const struct {
    QLocale::Language language;
    QLocale::Territory territory;
    char separator;
  } rows[] = {
      {QLocale::English, QLocale::UnitedStates, '.'},
      {QLocale::German, QLocale::Germany, ','},
      {QLocale::French, QLocale::France, ','},
      {QLocale::Arabic, QLocale::Egypt, '.'},  // U+066B
  };
  for (const auto& row : rows) {
    const QLocale locale(row.language, row.territory);
    SCOPED_TRACE(locale.name().toStdString());
    QLocale::setDefault(locale);
    EXPECT_EQ(LocaleDecimalSeparator(), row.separator);
  }
  QLocale::setDefault(before);
}

TEST_F(LookupFormTest, StartsWithConvertAndCopyDisabledAndAFixedClientArea) {
  EXPECT_FALSE(testing::Find<QPushButton>(form, "ConvertBtn")->isEnabled());
  EXPECT_FALSE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  EXPECT_TRUE(testing::Find<QPushButton>(form, "ConvertBtn")->isDefault());
  EXPECT_EQ(form.minimumSize(), QSize(387, 251));
  EXPECT_EQ(form.maximumSize(), QSize(387, 251));
  EXPECT_EQ(form.windowTitle(), "Vantrel - Lookup Individual Word");
}

// The window has one size: no grip in the corner of its status line suggests otherwise.
TEST_F(LookupFormTest, TheStatusLineOffersNoGripToResizeTheWindow) {
  ASSERT_TRUE(ShowActive(form));
  auto* status = testing::Find<QStatusBar>(form, "StatusBar1");
  EXPECT_TRUE(status->isVisible());
  for (const QSizeGrip* grip : form.findChildren<QSizeGrip*>()) {
    EXPECT_FALSE(grip->isVisible());
  }
}

// Each control says what it does when the pointer rests on it, the word field too.
TEST_F(LookupFormTest, EveryControlHasItsHint) {
  const struct {
    const char* control;
    const char* hint;
  } rows[] = {
      {"WordToConvert", "Enter word to convert to numbers"},
      {"ConvertBtn", "Convert word to numeric equivalents"},
      {"ClearBtn", "Clear word"},
      {"CopyBtn", "Copies selected number and word to clipboard"},
      {"CancelLookUpBtn", "Cancel & Close Window"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.control);
    EXPECT_EQ(testing::Find<QWidget>(form, row.control)->toolTip().toStdString(), row.hint);
  }
}

// The equals sign reads "word = numbers": level with the word field, between it and the
// list, not in the middle of the window's height.
TEST_F(LookupFormTest, TheEqualsSignStandsLevelWithTheWord) {
  ASSERT_TRUE(ShowActive(form));
  const QRect word = testing::Find<QLineEdit>(form, "WordToConvert")->geometry();
  const QRect list = testing::Find<TLayerGrid>(form, "ConvertedGrid")->geometry();
  const auto* equals = testing::Find<QLabel>(form, "EqualsLabel");
  const QRect sign = equals->geometry();
  EXPECT_EQ(equals->text(), "=");
  EXPECT_GE(sign.left(), word.right());
  EXPECT_LE(sign.right(), list.left());
  EXPECT_GE(sign.center().y(), word.top());
  EXPECT_LE(sign.center().y(), word.bottom());
}

TEST_F(LookupFormTest, AWordUnderOneDigitsFieldIsListedOnceAndCanBeCopiedAtOnce) {
  form.show();
  Type("Help");
  EXPECT_TRUE(testing::Find<QPushButton>(form, "ConvertBtn")->isEnabled());
  Convert();
  // "help" and "help (verb)" share their digits: listed once, counted once.
  EXPECT_EQ(Rows(), QStringList{"4357"});
  EXPECT_TRUE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  // 29 entries and the empty last line: 29 lines examined, the word count ends at 28.
  EXPECT_TRUE(
      QRegularExpression("^ 1 Matches out of 28 words in [0-9.]* secs$").match(Status()).hasMatch())
      << Status().toStdString();
  QTest::mouseClick(testing::Find<QPushButton>(form, "CopyBtn"), Qt::LeftButton);
  // The word goes to the clipboard as typed, not lowered.
  EXPECT_EQ(env.dialogs.clipboard, "4357, Help");
}

TEST_F(LookupFormTest, AWordUnderTwoDigitsFieldsWaitsForAClickBeforeCopy) {
  form.show();
  Lookup("tree");
  EXPECT_EQ(Rows(), (QStringList{"8733", "87333"}));
  EXPECT_FALSE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  EXPECT_TRUE(QRegularExpression("^ 2 Matches").match(Status()).hasMatch());

  ClickRow(1);
  EXPECT_TRUE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  QTest::mouseClick(testing::Find<QPushButton>(form, "CopyBtn"), Qt::LeftButton);
  EXPECT_EQ(env.dialogs.clipboard, "87333, tree");

  // An empty row gives Copy nothing to take.
  ClickRow(5);
  EXPECT_FALSE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
}

TEST_F(LookupFormTest, TwentyDigitsFieldsFillNineteenRowsAndTheLastReplacesRowEighteen) {
  form.show();
  Lookup("MANY");
  const QStringList rows = Rows();
  ASSERT_EQ(rows.size(), 19);
  EXPECT_EQ(rows.front(), "6269000");
  EXPECT_EQ(rows.at(17), "6269017");
  EXPECT_EQ(rows.at(18), "6269020");  // 6269018 and 6269019 were overwritten in turn
  EXPECT_TRUE(Row(19).isEmpty());
  EXPECT_TRUE(QRegularExpression("^ 19 Matches").match(Status()).hasMatch());
  EXPECT_FALSE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
}

TEST_F(LookupFormTest, CaseOfAToZAndBracketedNotesAreIgnored) {
  form.show();
  struct Case {
    const char* typed;
    QStringList expected;
  };
  const Case cases[] = {
      {"HELP", {"4357"}},
      {"help (a note)", {"4357"}},
      {"(note)help", {"4357"}},
      {"  help  ", {"4357"}},
      // The word field " helper" has a blank beside its comma: it never matches.
      {"helper", {"43573"}},
      // Only A to Z fold: é and É stay different letters.
      {"Caf\u00e9", {"2233"}},
      {"CAF\u00c9", {"No Numeric Equivalent"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Lookup(QString::fromUtf8(c.typed));
    EXPECT_EQ(Rows(), c.expected);
  }
}

TEST_F(LookupFormTest, AnUnknownWordGetsNoNumericEquivalentAndClickingItEnablesCopy) {
  form.show();
  Lookup("zzz");
  EXPECT_EQ(Rows(), QStringList{"No Numeric Equivalent"});
  EXPECT_FALSE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  EXPECT_TRUE(QRegularExpression("^ 0 Matches out of 28 words").match(Status()).hasMatch());
  ClickRow(0);
  EXPECT_TRUE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  QTest::mouseClick(testing::Find<QPushButton>(form, "CopyBtn"), Qt::LeftButton);
  EXPECT_EQ(env.dialogs.clipboard, "No Numeric Equivalent, zzz");
}

TEST_F(LookupFormTest, AWordOnlyOnTheLastLineIsNeverFound) {
  QFile file(QDir(env.folder.path()).filePath("last.txt"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("4357,help,A\r\n9675,word,B");
  file.close();
  dictionary.Bind(file.fileName().toStdString());
  form.show();
  Lookup("word");
  EXPECT_EQ(Rows(), QStringList{"No Numeric Equivalent"});
  Lookup("help");
  EXPECT_EQ(Rows(), QStringList{"4357"});
}

TEST_F(LookupFormTest, ABlankWordLeavesConvertDisabled) {
  Type("   ");
  EXPECT_FALSE(testing::Find<QPushButton>(form, "ConvertBtn")->isEnabled());
  QTest::keyClick(testing::Find<QLineEdit>(form, "WordToConvert"), Qt::Key_A);
  EXPECT_TRUE(testing::Find<QPushButton>(form, "ConvertBtn")->isEnabled());
  QTest::keyClick(testing::Find<QLineEdit>(form, "WordToConvert"), Qt::Key_Backspace);
  EXPECT_FALSE(testing::Find<QPushButton>(form, "ConvertBtn")->isEnabled());
}

TEST_F(LookupFormTest, TypingAfterAConversionEmptiesTheGridAndDisablesCopy) {
  form.show();
  Lookup("help");
  ASSERT_TRUE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  QTest::keyClick(testing::Find<QLineEdit>(form, "WordToConvert"), Qt::Key_S);
  EXPECT_TRUE(AllRowsEmpty());
  EXPECT_FALSE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  EXPECT_TRUE(testing::Find<QPushButton>(form, "ConvertBtn")->isEnabled());
}

TEST_F(LookupFormTest, ClickingBackIntoATypedWordClearsTheResults) {
  ASSERT_TRUE(ShowActive(form));
  Lookup("help");  // the click on Convert takes the focus from the field
  ASSERT_FALSE(testing::Find<QLineEdit>(form, "WordToConvert")->hasFocus());
  ASSERT_EQ(Rows(), QStringList{"4357"});

  QTest::mouseClick(testing::Find<QLineEdit>(form, "WordToConvert"), Qt::LeftButton);
  ASSERT_TRUE(testing::Find<QLineEdit>(form, "WordToConvert")->hasFocus());
  EXPECT_TRUE(AllRowsEmpty());
  EXPECT_FALSE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  EXPECT_TRUE(testing::Find<QPushButton>(form, "ConvertBtn")->isEnabled());
}

TEST_F(LookupFormTest, AMenuClosingOverTheFieldLeavesTheResults) {
  ASSERT_TRUE(ShowActive(form));
  testing::Find<QLineEdit>(form, "WordToConvert")->setFocus();
  QTest::keyClicks(testing::Find<QLineEdit>(form, "WordToConvert"), "help");
  QTest::keyClick(testing::Find<QLineEdit>(form, "WordToConvert"), Qt::Key_Return);
  ASSERT_EQ(Rows(), QStringList{"4357"});
  ASSERT_TRUE(testing::Find<QLineEdit>(form, "WordToConvert")->hasFocus());
  // A context menu takes the focus while it is open and gives it back when it closes.
  QMenu menu(&form);
  menu.addAction(QStringLiteral("Copy"));
  menu.popup(testing::Find<QLineEdit>(form, "WordToConvert")->mapToGlobal(QPoint(5, 5)));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
  QTest::keyClick(&menu, Qt::Key_Escape);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return testing::Find<QLineEdit>(form, "WordToConvert")->hasFocus(); }));
  EXPECT_EQ(Rows(), QStringList{"4357"});
  EXPECT_TRUE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
}

TEST_F(LookupFormTest, EnterPressesConvertOnlyWhileItIsEnabled) {
  ASSERT_TRUE(ShowActive(form));
  testing::Find<QLineEdit>(form, "WordToConvert")->setFocus();
  QTest::keyClick(testing::Find<QLineEdit>(form, "WordToConvert"), Qt::Key_Return);
  EXPECT_TRUE(AllRowsEmpty());
  EXPECT_TRUE(form.isVisible());

  QTest::keyClicks(testing::Find<QLineEdit>(form, "WordToConvert"), "ball");
  QTest::keyClick(testing::Find<QLineEdit>(form, "WordToConvert"), Qt::Key_Return);
  EXPECT_EQ(Rows(), QStringList{"2255"});
  EXPECT_TRUE(form.isVisible());
}

TEST_F(LookupFormTest, ClearEmptiesWordAndGridAndKeepsTheStatusLine) {
  form.show();
  Lookup("help");
  const QString status = Status();
  QTest::mouseClick(testing::Find<QPushButton>(form, "ClearBtn"), Qt::LeftButton);
  EXPECT_TRUE(testing::Find<QLineEdit>(form, "WordToConvert")->text().isEmpty());
  EXPECT_FALSE(testing::Find<QLineEdit>(form, "WordToConvert")->isModified());
  EXPECT_TRUE(AllRowsEmpty());
  EXPECT_FALSE(testing::Find<QPushButton>(form, "ConvertBtn")->isEnabled());
  EXPECT_FALSE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  EXPECT_EQ(Status(), status);
}

TEST_F(LookupFormTest, ContentsSurviveBetweenShowings) {
  env.dialogs.onExec.push_back([this](QDialog& dialog) {
    ASSERT_TRUE(ShowActive(dialog));
    testing::Find<QLineEdit>(form, "WordToConvert")->setFocus();
    QTest::keyClicks(testing::Find<QLineEdit>(form, "WordToConvert"), "help");
    QTest::keyClick(testing::Find<QLineEdit>(form, "WordToConvert"), Qt::Key_Return);
    // The focus is still in the field when Esc closes the window.
    QTest::keyClick(testing::Find<QLineEdit>(form, "WordToConvert"), Qt::Key_Escape);
  });
  EXPECT_EQ(form.ShowModal(), QDialog::Rejected);
  EXPECT_FALSE(form.isVisible());

  // Showing the window again puts the focus back into the field: no entering by the
  // user, so the results stay.
  env.dialogs.onExec.push_back([this](QDialog& dialog) {
    ASSERT_TRUE(ShowActive(dialog));
    EXPECT_TRUE(testing::Find<QLineEdit>(form, "WordToConvert")->hasFocus());
    EXPECT_EQ(Rows(), QStringList{"4357"});
    QTest::mouseClick(testing::Find<QPushButton>(form, "CancelLookUpBtn"), Qt::LeftButton);
  });
  EXPECT_EQ(form.ShowModal(), QDialog::Rejected);
  EXPECT_EQ(testing::Find<QLineEdit>(form, "WordToConvert")->text(), "help");
  EXPECT_EQ(Rows(), QStringList{"4357"});
  EXPECT_TRUE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  EXPECT_TRUE(QRegularExpression("^ 1 Matches").match(Status()).hasMatch());
  EXPECT_EQ(env.dialogs.shownDialogs, (QStringList{"TLookupForm", "TLookupForm"}));
}

TEST_F(LookupFormTest, F1AsksForTheLookupHelp) {
  ASSERT_TRUE(ShowActive(form));
  QTest::keyClick(testing::Find<QLineEdit>(form, "WordToConvert"), Qt::Key_F1);
  EXPECT_EQ(env.help.Asked(), std::vector<int>{230});
}

TEST_F(LookupFormTest, ADictionaryThatCannotBeOpenedIsReportedAndChangesNothing) {
  form.show();
  Lookup("help");
  const QString status = Status();
  dictionary.name = "/nowhere/gone.txt";
  dictionary.Bind(dictionary.name);
  Convert();
  EXPECT_EQ(env.dialogs.warnings, QStringList{"Can Not Open /nowhere/gone.txt in ConvertBtnClick"});
  EXPECT_EQ(Rows(), QStringList{"4357"});
  EXPECT_TRUE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  EXPECT_EQ(Status(), status);
}

TEST_F(LookupFormTest, FieldsOutsideTheCodePageAreRefused) {
  Type(QString::fromUtf8("\u65e5"));
  EXPECT_TRUE(testing::Find<QLineEdit>(form, "WordToConvert")->text().isEmpty());
  Type(QString::fromUtf8("\u20ac"));  // the euro sign is 0x80 in Windows-1252
  EXPECT_EQ(testing::Find<QLineEdit>(form, "WordToConvert")->text(), QString::fromUtf8("\u20ac"));
}

// A dictionary that hands out its bytes and then fails, noting the pointer at each read.
class FailingSource final : public ByteSource {
 public:
  FailingSource(std::string data, bool fails, std::vector<int>& pointers)
      : data_(std::move(data)), fails_(fails), pointers_(pointers) {}
  long Read(char* buffer, std::size_t size) override {
    const QCursor* cursor = QApplication::overrideCursor();
    pointers_.push_back(cursor != nullptr ? cursor->shape() : -1);
    if (done_) {
      errno = EIO;
      return fails_ ? -1 : 0;
    }
    done_ = true;
    const std::size_t n = std::min(size, data_.size());
    std::memcpy(buffer, data_.data(), n);
    return static_cast<long>(n);
  }

 private:
  std::string data_;
  bool fails_;
  std::vector<int>& pointers_;
  bool done_ = false;
};

class LookupReadFailureTest : public ::testing::Test {
 protected:
  LookupReadFailureTest()
      : dictionary([this](const std::string&) -> std::unique_ptr<ByteSource> {
          // A failing read comes in the middle of the second line.
          return std::make_unique<FailingSource>(
              failing ? "4357,help,A\r\n4357" : "4357,help,A\r\n43571,help,A\r\n\r\n", failing,
              pointers);
        }) {
    dictionary.name = "memory.txt";
  }

  bool failing = false;
  std::vector<int> pointers;
  TestServices env;
  DictionaryFile dictionary;
  TLookupForm form{dictionary, env.services};
};

TEST_F(LookupReadFailureTest, TheScanShowsTheBusyPointerAndPutsItBack) {
  QTest::keyClicks(testing::Find<QLineEdit>(form, "WordToConvert"), "help");
  testing::Find<QPushButton>(form, "ConvertBtn")->click();
  ASSERT_FALSE(pointers.empty());
  for (int shape : pointers) {
    EXPECT_EQ(shape, Qt::WaitCursor);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(testing::Find<TLayerGrid>(form, "ConvertedGrid")->CellText(0, 1), "43571");
}

TEST_F(LookupReadFailureTest, AReadFailureKeepsWhatWasListedAndLeavesCopyAndStatus) {
  form.show();
  QTest::keyClicks(testing::Find<QLineEdit>(form, "WordToConvert"), "help");
  testing::Find<QPushButton>(form, "ConvertBtn")->click();
  ASSERT_EQ(testing::Find<TLayerGrid>(form, "ConvertedGrid")->CellText(0, 1), "43571");
  QTest::mouseClick(testing::Find<TLayerGrid>(form, "ConvertedGrid")->viewport(), Qt::LeftButton,
                    {}, testing::Find<TLayerGrid>(form, "ConvertedGrid")->CellRect(0, 1).center());
  ASSERT_TRUE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  const QString status = testing::Find<QStatusBar>(form, "StatusBar1")->currentMessage();

  failing = true;
  testing::Find<QPushButton>(form, "ConvertBtn")->click();
  // This one message has never gone through the catalog.
  EXPECT_EQ(env.dialogs.warnings, QStringList{"Error Reading Dictionary memory.txt"});
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(testing::Find<TLayerGrid>(form, "ConvertedGrid")->CellText(0, 0), "4357");
  EXPECT_TRUE(testing::Find<TLayerGrid>(form, "ConvertedGrid")->CellText(0, 1).isEmpty());
  EXPECT_TRUE(testing::Find<QPushButton>(form, "CopyBtn")->isEnabled());
  EXPECT_EQ(testing::Find<QStatusBar>(form, "StatusBar1")->currentMessage(), status);
}

TEST(LookupFormGeometry, ThePlaceIsReadAtCreationUntilTheFirstFailure) {
  {
    TestServices env;
    DictionaryFile dictionary;
    TLookupForm form(dictionary, env.services);
    EXPECT_EQ(form.pos(), QPoint(302, 190));
  }
  {
    TestServices env;
    env.WriteInteger("Lookup Top", 120);
    env.WriteInteger("Lookup Left", -40);
    DictionaryFile dictionary;
    TLookupForm form(dictionary, env.services);
    EXPECT_EQ(form.pos(), QPoint(-40, 120));
  }
  {
    TestServices env;
    env.WriteInteger("Lookup Left", 450);  // never read: "Lookup Top" comes first
    DictionaryFile dictionary;
    TLookupForm form(dictionary, env.services);
    EXPECT_EQ(form.pos(), QPoint(302, 190));
  }
  {
    TestServices env;
    env.WriteInteger("Lookup Top", 120);
    env.WriteText("Lookup Left", "450");  // mistyped: the read fails, the top stays
    DictionaryFile dictionary;
    TLookupForm form(dictionary, env.services);
    EXPECT_EQ(form.pos(), QPoint(302, 120));
    EXPECT_TRUE(env.dialogs.warnings.isEmpty());
  }
  {
    SCOPED_TRACE("a place off every screen");
    TestServices env;
    env.WriteInteger("Lookup Top", 120);
    env.WriteInteger("Lookup Left", 5000);
    DictionaryFile dictionary;
    TLookupForm form(dictionary, env.services);
    EXPECT_EQ(form.pos(), QPoint(302, 190));
  }
}

}  // namespace
}  // namespace vantrel
