// SPDX-License-Identifier: GPL-3.0-or-later
// The About, notification and test windows: the addresses they draw as links and hand to
// the launcher, the new-release countdown over many closes, the test window's greeting and
// the animation switch.

#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <limits>

#include <gtest/gtest.h>

#include "AboutVantrel.h"
#include "FindControl.h"
#include "Notify.h"
#include "SideTesting.h"
#include "TestPanel.h"

namespace vantrel {
namespace {

using testing::ShowActive;
using testing::TestServices;

QStringList Opened(const RecordingLauncher& launcher) {
  QStringList urls;
  for (const QUrl& url : launcher.Opened()) {
    urls << url.toString();
  }
  return urls;
}

// On the box itself: a check box takes clicks on its box and text only.
void ClickCheckBox(QCheckBox& box) {
  QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(6, box.height() / 2));
}

TEST(AboutForm, TheAddressesOpenTheMailProgramAndTheBrowser) {
  TestServices env;
  TAboutForm about(env.services);
  ASSERT_TRUE(ShowActive(about));
  QTest::mouseClick(testing::Find<QLabel>(about, "EmailLabel"), Qt::LeftButton);
  QTest::mouseClick(testing::Find<QLabel>(about, "HomePageLabel"), Qt::LeftButton);
  EXPECT_EQ(Opened(env.launcher), (QStringList{"mailto:support@vantrel.example?subject=Vantrel",
                                               "https://vantrel.example/"}));

  // A press dragged off the address before it is let go opens nothing.
  QTest::mousePress(testing::Find<QLabel>(about, "EmailLabel"), Qt::LeftButton, {}, QPoint(2, 2));
  QTest::mouseRelease(testing::Find<QLabel>(about, "EmailLabel"), Qt::LeftButton, {},
                      QPoint(-20, 2));
  EXPECT_EQ(env.launcher.Opened().size(), 2u);
}

// The pixels of a label's text as the window draws them: blue ones, and dark grey or black
// ones as plain text has. Anti-aliased edges between text and background are in neither.
struct Ink {
  int blue = 0;
  int dark = 0;
};

Ink InkOf(QLabel& label) {
  const QImage picture = label.grab().toImage().convertToFormat(QImage::Format_RGB32);
  Ink ink;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QColor pixel = picture.pixelColor(x, y);
      const int red = pixel.red();
      const int green = pixel.green();
      const int blue = pixel.blue();
      if (blue - std::max(red, green) > 60) {
        ++ink.blue;
      } else if (std::max({red, green, blue}) < 128 &&
                 std::max({red, green, blue}) - std::min({red, green, blue}) < 32) {
        ++ink.dark;
      }
    }
  }
  return ink;
}

TEST(AboutForm, TheAddressesAreDrawnAndPointedAtLikeLinksAndTheOtherTextsAreNot) {
  TestServices env;
  TAboutForm about(env.services);
  ASSERT_TRUE(ShowActive(about));
  struct Row {
    const char* label;
    bool address;
  };
  for (const Row& r : {Row{"EmailLabel", true}, Row{"HomePageLabel", true}, Row{"Copyright", false},
                       Row{"Version", false}}) {
    SCOPED_TRACE(r.label);
    auto* label = testing::Find<QLabel>(about, r.label);
    ASSERT_TRUE(label->isVisible());
    const Ink ink = InkOf(*label);
    if (r.address) {
      EXPECT_EQ(label->palette().color(QPalette::WindowText).name(), QColor(Qt::blue).name());
      EXPECT_TRUE(label->font().underline());
      EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
      EXPECT_GT(ink.blue, 20);
      EXPECT_EQ(ink.dark, 0);
    } else {
      EXPECT_EQ(ink.blue, 0);
      EXPECT_GT(ink.dark, 20);
      EXPECT_EQ(label->cursor().shape(), Qt::ArrowCursor);
    }
  }
}

// The program's name heads the window in large bold letters; the lines under it are of
// the window's own size.
TEST(AboutForm, TheNameStandsOutAboveTheOtherTexts) {
  TestServices env;
  TAboutForm about(env.services);
  ASSERT_TRUE(ShowActive(about));
  const int plain = testing::Find<QLabel>(about, "Version")->fontMetrics().height();
  struct Row {
    const char* label;
    int pixelSize;  // -1: the window's own
    bool bold;
  };
  for (const Row& r :
       {Row{"ProductName", 28, true}, Row{"Version", -1, false}, Row{"Copyright", -1, false}}) {
    SCOPED_TRACE(r.label);
    auto* label = testing::Find<QLabel>(about, r.label);
    EXPECT_EQ(label->font().pixelSize(), r.pixelSize);
    EXPECT_EQ(label->font().bold(), r.bold);
    if (r.pixelSize > 0) {
      EXPECT_GT(label->fontMetrics().height(), plain);
      EXPECT_GE(label->height(), label->fontMetrics().height());
    }
  }
}

TEST(AboutForm, OpensWithTheFocusOnOkAndSaysSoWhenNoProgramTakesAnAddress) {
  TestServices env;
  TAboutForm about(env.services);
  ASSERT_TRUE(ShowActive(about));
  EXPECT_EQ(QApplication::focusWidget(), testing::Find<QPushButton>(about, "OKButton"));
  env.launcher.SetSucceeds(false);
  QTest::mouseClick(testing::Find<QLabel>(about, "EmailLabel"), Qt::LeftButton);
  QTest::mouseClick(testing::Find<QLabel>(about, "HomePageLabel"), Qt::LeftButton);
  ASSERT_EQ(env.dialogs.warnings.size(), 2);
  EXPECT_EQ(env.dialogs.warnings[0],
            QStringLiteral("No mail program could be started. Please write to "
                           "support@vantrel.example"));
  EXPECT_EQ(
      env.dialogs.warnings[1],
      QStringLiteral("No web browser could be started. Please visit https://vantrel.example/"));
  // Shown again after the user moved on to an address: OK has the focus again.
  testing::Find<QLabel>(about, "EmailLabel")->setFocus(Qt::TabFocusReason);
  ASSERT_EQ(about.focusWidget(), testing::Find<QLabel>(about, "EmailLabel"));
  about.hide();
  about.show();
  EXPECT_EQ(about.focusWidget(), testing::Find<QPushButton>(about, "OKButton"));
}

TEST(AboutForm, TheFrogFollowsTheAnimationSwitchAtEveryShowing) {
  TestServices env;
  TAboutForm about(env.services);
  TTestForm test(env.services);
  EXPECT_EQ(about.ShowModal(), QDialog::Rejected);
  EXPECT_FALSE(testing::Find<AnimatedPicture>(about, "Frog")->isVisibleTo(&about));

  test.ShowModeless();
  ASSERT_TRUE(ShowActive(test));
  ClickCheckBox(*testing::Find<QCheckBox>(test, "AnimationCheckBox"));
  QTest::mouseClick(testing::Find<QPushButton>(test, "OKBtn"), Qt::LeftButton);
  env.dialogs.onExec.push_back([](QDialog& dialog) {
    EXPECT_TRUE(dialog.findChild<QWidget*>("Frog")->isVisibleTo(&dialog));
    dialog.accept();
  });
  EXPECT_EQ(about.ShowModal(), QDialog::Accepted);

  env.state.AnimationOn = false;
  about.ShowModal();
  EXPECT_FALSE(testing::Find<AnimatedPicture>(about, "Frog")->isVisibleTo(&about));
  EXPECT_EQ(env.dialogs.shownDialogs, (QStringList{"TAboutForm", "TAboutForm", "TAboutForm"}));
}

class NotifyFormTest : public ::testing::Test {
 protected:
  // One close of the program: the countdown, then what it left in the settings.
  void Close() { notify.ShowNotifyForm(); }
  qint32 Count() const { return env.ReadInteger("NotifyCount"); }
  // The user's answer at the next showing of the window.
  void Answer(QRadioButton* choice) {
    env.dialogs.onExec.push_back([choice](QDialog& dialog) {
      ASSERT_TRUE(ShowActive(dialog));
      QTest::mouseClick(choice, Qt::LeftButton);
      QTest::mouseClick(dialog.findChild<QPushButton*>("Ok"), Qt::LeftButton);
    });
  }
  void CloseBox() {
    env.dialogs.onExec.push_back([](QDialog& dialog) {
      ASSERT_TRUE(ShowActive(dialog));
      dialog.close();
    });
  }

  TestServices env;
  TNotifyForm notify{env.services};
};

TEST_F(NotifyFormTest, AFreshInstallationIsAskedAtTheSixthClose) {
  for (const qint32 expected : {5, 4, 3, 2, 1}) {
    Close();
    EXPECT_EQ(Count(), expected);
    EXPECT_EQ(env.dialogs.execs, 0);
  }
  CloseBox();
  Close();
  EXPECT_EQ(env.dialogs.execs, 1);
  EXPECT_EQ(Count(), 1);  // the showing writes nothing itself
  EXPECT_TRUE(env.launcher.Opened().empty());

  // Dismissed with the close box: asked again at the very next close.
  Answer(testing::Find<QRadioButton>(notify, "RemindRadioButton"));
  Close();
  EXPECT_EQ(env.dialogs.execs, 2);
  EXPECT_EQ(Count(), 5);

  // "Remind me later": asked again at the fifth close after it.
  for (const qint32 expected : {4, 3, 2, 1}) {
    Close();
    EXPECT_EQ(Count(), expected);
  }
  EXPECT_EQ(env.dialogs.execs, 2);
  EXPECT_TRUE(testing::Find<QRadioButton>(notify, "RemindRadioButton")
                  ->isChecked());  // the choice stays within a run
  Answer(testing::Find<QRadioButton>(notify, "DoNotShowRadioButton"));
  Close();
  EXPECT_EQ(env.dialogs.execs, 3);
  EXPECT_EQ(Count(), std::numeric_limits<qint32>::max());

  // Still counted down, never reaching a showing in practice.
  Close();
  EXPECT_EQ(Count(), std::numeric_limits<qint32>::max() - 1);
  EXPECT_EQ(env.dialogs.execs, 3);
}

TEST_F(NotifyFormTest, AskingToBeNotifiedComposesTheMailAndStopsTheNotices) {
  EXPECT_TRUE(testing::Find<QRadioButton>(notify, "NotifyRadioButton")->isChecked());
  env.WriteInteger("NotifyCount", 1);
  Answer(testing::Find<QRadioButton>(notify, "NotifyRadioButton"));
  Close();
  // The subject goes out as it reads, blanks and all.
  EXPECT_EQ(Opened(env.launcher),
            QStringList{"mailto:support@vantrel.example?subject=Please notify me about updates to "
                        "Vantrel 2.0"});
  EXPECT_EQ(Count(), std::numeric_limits<qint32>::max());
}

TEST_F(NotifyFormTest, TheMenuShowingWithRemindMeLaterRestartsTheCountdown) {
  env.WriteInteger("NotifyCount", 3);
  Answer(testing::Find<QRadioButton>(notify, "RemindRadioButton"));
  EXPECT_EQ(notify.ShowModal(), QDialog::Accepted);
  EXPECT_EQ(Count(), 5);
  EXPECT_TRUE(env.launcher.Opened().empty());
}

TEST_F(NotifyFormTest, AnUnreadableCountStartsAgainAndTheLowestCountShowsTheWindow) {
  env.WriteText("NotifyCount", "3");
  Close();
  EXPECT_EQ(Count(), 5);

  env.WriteInteger("NotifyCount", std::numeric_limits<qint32>::min());
  CloseBox();
  Close();
  EXPECT_EQ(env.dialogs.execs, 1);
  EXPECT_EQ(Count(), std::numeric_limits<qint32>::min());
}

// The privacy note is set apart in a sunken box of its own, below the choices.
TEST_F(NotifyFormTest, ThePrivacyNoteStandsInASunkenBox) {
  ASSERT_TRUE(ShowActive(notify));
  auto* box = testing::Find<QFrame>(notify, "NoteFrame");
  EXPECT_EQ(box->frameShape(), QFrame::Box);
  EXPECT_EQ(box->frameShadow(), QFrame::Sunken);
  EXPECT_GT(box->frameWidth(), 0);
  // Each line is centred in the box, the short one too.
  const QImage picture = box->grab().toImage();
  const QRect inside = box->contentsRect();
  for (const char* line : {"NoteLine1", "NoteLine2"}) {
    SCOPED_TRACE(line);
    auto* label = testing::Find<QLabel>(notify, line);
    const QRect place(label->mapTo(box, QPoint(0, 0)), label->size());
    EXPECT_TRUE(inside.contains(place));
    int left = inside.right();
    int right = inside.left();
    for (int y = place.top(); y <= place.bottom(); ++y) {
      for (int x = inside.left(); x <= inside.right(); ++x) {
        if (qGray(picture.pixel(x, y)) < 128) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    }
    ASSERT_LE(left, right);
    // The first line ends in a blank, which takes room but leaves no ink.
    EXPECT_NEAR(left - inside.left(), inside.right() - right,
                label->fontMetrics().horizontalAdvance(QLatin1Char(' ')) + 2);
  }
}

TEST(NotifyForm, ACountThatCannotBeStoredIsRaisedForTheErrorReport) {
  TestServices env;
  // A file where the settings folder should be: nothing can be written there.
  const QString blocked = QDir(env.folder.path()).filePath("blocked");
  QFile file(blocked);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  SettingsStore store(blocked);
  Services services{env.dialogs, env.launcher, env.help, store, env.state, env.translator};
  TNotifyForm notify(services);
  EXPECT_THROW(notify.ShowNotifyForm(), SettingsWriteError);
  EXPECT_EQ(env.dialogs.execs, 0);
}

TEST(TestForm, TheCheckBoxMirrorsTheAnimationSwitchAndOnlyOkStoresIt) {
  TestServices env;
  TTestForm test(env.services);
  env.state.AnimationOn = true;
  test.ShowModeless();
  EXPECT_EQ(env.dialogs.modeless, QStringList{"TTestForm"});
  EXPECT_TRUE(testing::Find<QCheckBox>(test, "AnimationCheckBox")->isChecked());

  // Closed without OK: the switch keeps its value.
  ASSERT_TRUE(ShowActive(test));
  ClickCheckBox(*testing::Find<QCheckBox>(test, "AnimationCheckBox"));
  test.close();
  EXPECT_TRUE(env.state.AnimationOn);

  test.ShowModeless();
  EXPECT_TRUE(testing::Find<QCheckBox>(test, "AnimationCheckBox")->isChecked());
  ASSERT_TRUE(ShowActive(test));
  ClickCheckBox(*testing::Find<QCheckBox>(test, "AnimationCheckBox"));
  QTest::mouseClick(testing::Find<QPushButton>(test, "OKBtn"), Qt::LeftButton);
  EXPECT_FALSE(env.state.AnimationOn);
  EXPECT_FALSE(test.isVisible());
}

TEST(TestForm, TheWelcomePanelGreetsTheTeamMember) {
  TestServices env;
  TTestForm test(env.services);
  ASSERT_TRUE(ShowActive(test));
  const auto* panel = testing::Find<QWidget>(test, "WelcomePanel");
  struct Row {
    const char* label;
    const char* text;
  };
  for (const Row& r :
       {Row{"WelcomeLabel", "Welcome - Willkommen - Benvenuto - Bienvenue - Bienvenidos"},
        Row{"TeamLabel", "Vantrel Test Team Member"}}) {
    SCOPED_TRACE(r.label);
    auto* label = testing::Find<QLabel>(test, r.label);
    EXPECT_EQ(label->text(), QString::fromLatin1(r.text));
    EXPECT_TRUE(label->isVisible());
    EXPECT_TRUE(label->font().bold());
    // Inside the panel and wide enough for the whole line.
    EXPECT_TRUE(panel->rect().contains(QRect(label->mapTo(panel, QPoint(0, 0)), label->size())));
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    EXPECT_GT(label->height(), 0);
  }
}

TEST(TestForm, TheMessageButtonsShowTheProgramsWarnings) {
  TestServices env;
  TTestForm test(env.services);
  ASSERT_TRUE(ShowActive(test));
  QTest::mouseClick(testing::Find<QPushButton>(test, "NoDictionaryBtn"), Qt::LeftButton);
  QTest::mouseClick(testing::Find<QPushButton>(test, "ErrorReadingDictionary"), Qt::LeftButton);
  DictionaryFile dictionary;
  dictionary.name = "/home/user/W\u00f6rter.txt";
  test.SetDictionary(&dictionary);
  QTest::mouseClick(testing::Find<QPushButton>(test, "ErrorReadingDictionary"), Qt::LeftButton);
  QTest::mouseClick(testing::Find<QPushButton>(test, "EntryCanNotExceed"), Qt::LeftButton);
  EXPECT_EQ(env.dialogs.warnings,
            (QStringList{"Error Reading Dictionary No Dictionary Open",
                         "Error Reading Dictionary No Dictionary Open",
                         QString::fromUtf8("Error Reading Dictionary /home/user/W\u00f6rter.txt"),
                         "Entry Can Not Exceed 100 Characters"}));

  // "'Application Error'" raises a real error; the report tests follow it to the dialog.
}

}  // namespace
}  // namespace vantrel
