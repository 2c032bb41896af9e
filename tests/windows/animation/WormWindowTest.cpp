// SPDX-License-Identifier: GPL-3.0-or-later
// The worms in the real main window: their places beside the buttons, clicks that go
// through them, and the edge cases of the animation driven through Timer1Timer with
// real typing and clicking. The window's own timer is stopped: the test is the clock.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "AboutVantrel.h"
#include "AnimatedPicture.h"
#include "ButtonWorms.h"
#include "FindControl.h"
#include "LayerGrid.h"
#include "LookUp.h"
#include "Main.h"
#include "Notify.h"
#include "TestPanel.h"
#include "VantrelGlobal.h"
#include "side/SideTesting.h"

namespace vantrel {
namespace {

using testing::ShowActive;
using testing::TestServices;

class WormWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env.dialogs.fileChoices.push_back(QString::fromStdString(testing::WriteDictionary(
        env.folder, {"228,bat,B", "2255,ball,B", "46,go,B", "4357,help,A", "2,2,D"})));
    form = std::make_unique<TMainForm>(env.services);
    about = std::make_unique<TAboutForm>(env.services, form.get());
    test = std::make_unique<TTestForm>(env.services, form.get());
    test->SetAboutForm(about.get());
    form->SetSideWindows(nullptr, about.get(), nullptr, nullptr, test.get());
    testing::Find<QTimer>(*form, "Timer1")->stop();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    env.services.state.NoteUserActivity();
  }

  void TearDown() override {
    test.reset();
    about.reset();
    form.reset();
  }

  AnimatedPicture* Worm(int index) const {
    return testing::Find<ButtonWorms>(*form, "ButtonWorms")->Worm(index);
  }

  std::vector<int> VisibleWorms() const {
    std::vector<int> visible;
    for (int index = 0; index < kWormCount; ++index) {
      if (Worm(index)->isVisible()) {
        visible.push_back(index);
      }
    }
    return visible;
  }

  void Ticks(int count) {
    for (int i = 0; i < count; ++i) {
      form->Timer1Timer();
    }
  }

  // A left click where a person would click: through the window, at a point of it, so
  // that Qt finds the control under the pointer.
  void ClickWindowAt(QWidget* widget, QPoint point) {
    const QPoint inWindow = widget->mapTo(form.get(), point);
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, inWindow);
  }

  TestServices env;
  std::unique_ptr<TMainForm> form;
  std::unique_ptr<TAboutForm> about;
  std::unique_ptr<TTestForm> test;
};

TEST_F(WormWindowTest, Timer1TicksOnceASecondFromTheWindowsCreation) {
  TMainForm fresh(env.services);
  ASSERT_NE(testing::Find<QTimer>(fresh, "Timer1"), nullptr);
  EXPECT_EQ(testing::Find<QTimer>(fresh, "Timer1")->objectName(), QStringLiteral("Timer1"));
  EXPECT_EQ(testing::Find<QTimer>(fresh, "Timer1")->interval(), 1000);
  EXPECT_TRUE(testing::Find<QTimer>(fresh, "Timer1")->isActive());
  EXPECT_FALSE(testing::Find<QTimer>(fresh, "Timer1")->isSingleShot());
}

TEST_F(WormWindowTest, EveryWormLiesAtItsPlaceBesideItsButtonAndBeneathIt) {
  // Where each worm and its button lie in the button panel, as the design gives them: the
  // buttons at left 41, 99 by 25, their tops 107, 142, 177 and 212.
  struct Row {
    const char* name;
    QPushButton* button;
    int buttonTop;
    QRect place;
  };
  auto* convert = testing::Find<QPushButton>(*form, "ConvertBtn");
  auto* clear = testing::Find<QPushButton>(*form, "ClearBtn");
  auto* copy = testing::Find<QPushButton>(*form, "CopyBtn");
  auto* lookup = testing::Find<QPushButton>(*form, "LookupBtn");
  const std::vector<Row> rows = {
      {"ConvertWormLeft", convert, 107, {19, 108, 33, 33}},
      {"ConvertWormTop", convert, 107, {75, 85, 33, 33}},
      {"ConvertWormRight", convert, 107, {129, 108, 35, 33}},
      {"ClearWormLeft", clear, 142, {19, 144, 33, 33}},
      {"ClearWormRight", clear, 142, {129, 142, 35, 33}},
      {"CopyWormLeft", copy, 177, {19, 180, 33, 33}},
      {"CopyWormRight", copy, 177, {129, 180, 35, 33}},
      {"LookupWormLeft", lookup, 212, {19, 212, 33, 33}},
      {"LookupWormBottom", lookup, 212, {75, 226, 33, 33}},
      {"LookupWormRight", lookup, 212, {129, 212, 35, 33}},
  };
  for (int index = 0; index < kWormCount; ++index) {
    const Row& row = rows[static_cast<std::size_t>(index)];
    SCOPED_TRACE(row.name);
    AnimatedPicture* worm = Worm(index);
    EXPECT_EQ(worm->objectName(), QLatin1String(row.name));
    ASSERT_EQ(worm->parentWidget(), row.button->parentWidget());
    EXPECT_EQ(row.button->geometry(), QRect(41, row.buttonTop, 99, 25));
    EXPECT_EQ(worm->geometry(), row.place);
    // No control but the buttons lies over it: the radio group above the buttons would
    // hide the top worm.
    const QObjectList& children = row.button->parentWidget()->children();
    for (QObject* child : children) {
      auto* other = qobject_cast<QWidget*>(child);
      if (other != nullptr && children.indexOf(other) > children.indexOf(worm) &&
          !qobject_cast<AnimatedPicture*>(other) && !qobject_cast<QPushButton*>(other)) {
        EXPECT_FALSE(other->geometry().intersects(worm->geometry()))
            << other->objectName().toStdString();
      }
    }
    EXPECT_FALSE(worm->isVisibleTo(form.get()));
    EXPECT_TRUE(worm->testAttribute(Qt::WA_TransparentForMouseEvents));
    // Drawn beneath: earlier among the panel's children than the button.
    const QObjectList& siblings = row.button->parentWidget()->children();
    EXPECT_LT(siblings.indexOf(worm), siblings.indexOf(row.button));
    // Fully inside the button panel, so no part of it is cut off.
    EXPECT_TRUE(row.button->parentWidget()->rect().contains(worm->geometry()));
  }
}

// The picture: the top worm above the Convert button is seen whole, not under the radio
// group; its part above the button changes what the panel shows in every row.
TEST_F(WormWindowTest, TheTopWormShowsWholeAboveTheConvertButton) {
  auto* worms = testing::Find<ButtonWorms>(*form, "ButtonWorms");
  QWidget* panel = testing::Find<QPushButton>(*form, "ConvertBtn")->parentWidget();
  const QImage without = panel->grab().toImage();
  worms->ShowAndRestart(1);  // ConvertWormTop
  QTest::qWait(1000);        // out of its hole: the first seven frames take 0.84 s
  const QImage with = panel->grab().toImage();
  const QRect above = Worm(1)->geometry().intersected(
      QRect(0, 0, panel->width(), testing::Find<QPushButton>(*form, "ConvertBtn")->y()));
  ASSERT_FALSE(above.isEmpty());
  int rowsShown = 0;
  for (int y = above.top(); y <= above.bottom(); ++y) {
    bool changed = false;
    for (int x = above.left(); x <= above.right(); ++x) {
      changed = changed || with.pixel(x, y) != without.pixel(x, y);
    }
    rowsShown += changed ? 1 : 0;
  }
  // The worm's picture is upright and fills its control but for a few rows of its edge.
  EXPECT_GE(rowsShown, above.height() - 4) << above.height();
  worms->HideAndStop(1);
}

TEST_F(WormWindowTest, AClickOnAWormOverItsButtonPressesTheButton) {
  testing::Find<ButtonWorms>(*form, "ButtonWorms")->ShowAndRestart(3);  // ClearWormLeft
  ASSERT_TRUE(Worm(3)->isVisible());
  QPushButton* clear = testing::Find<QPushButton>(*form, "ClearBtn");
  const QPoint overlap = clear->mapTo(clear->parentWidget(), QPoint(4, clear->height() / 2));
  ASSERT_TRUE(Worm(3)->geometry().contains(overlap));
  QSignalSpy clicked(clear, &QPushButton::clicked);
  ClickWindowAt(clear->parentWidget(), overlap);
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_EQ(env.services.state.IdleTicks, 0);
}

TEST_F(WormWindowTest, TheListedHandlersCountAsUserActivityAndNothingElseDoes) {
  testing::Find<QLineEdit>(*form, "EntryEdit")->setFocus();
  QTest::keyClicks(testing::Find<QLineEdit>(*form, "EntryEdit"), QStringLiteral("228"));
  QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"), Qt::Key_Return);
  ASSERT_GT(form->Model().Candidates().RowCount(), 1);
  auto clickCell = [](TLayerGrid* grid, int col, int row) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(col, row).center());
  };
  struct Row {
    const char* name;
    std::function<void()> act;
    bool activity;
  };
  const std::vector<Row> rows = {
      {"typing a digit",
       [&] { QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"), '2'); }, true},
      {"Convert by the Enter key",
       [&] { QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"), Qt::Key_Return); },
       true},
      {"a mode button",
       [&] {
         QTest::mouseClick(testing::Find<QRadioButton>(*form, "LeftBtn"), Qt::LeftButton, {},
                           QPoint(6, 6));
       },
       true},
      {"a click on a candidate",
       [&] { clickCell(testing::Find<TLayerGrid>(*form, "PossibleGrid"), 0, 1); }, true},
      {"a click on the phrase",
       [&] { clickCell(testing::Find<TLayerGrid>(*form, "SelectedGrid"), 0, 1); }, true},
      {"a click on the affix list",
       [&] { clickCell(testing::Find<TLayerGrid>(*form, "AffixGrid"), 0, 0); }, true},
      {"Clear",
       [&] { QTest::mouseClick(testing::Find<QPushButton>(*form, "ClearBtn"), Qt::LeftButton); },
       true},
      {"Lookup",
       [&] { QTest::mouseClick(testing::Find<QPushButton>(*form, "LookupBtn"), Qt::LeftButton); },
       true},
      {"Help > About", [&] { testing::Find<QAction>(*form, "About1")->trigger(); }, true},
      {"File > Open, cancelled", [&] { testing::Find<QAction>(*form, "Open1")->trigger(); }, true},
      {"Help > Contents", [&] { testing::Find<QAction>(*form, "Contents1")->trigger(); }, false},
      {"Help > Notify", [&] { testing::Find<QAction>(*form, "Notify1")->trigger(); }, false},
      {"Language > Deutsch", [&] { testing::Find<QAction>(*form, "German1")->trigger(); }, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    env.services.state.IdleTicks = 50;
    row.act();
    EXPECT_EQ(env.services.state.IdleTicks, row.activity ? 0 : 50);
  }
}

TEST_F(WormWindowTest, TheLookupWindowsListedHandlersCountAsUserActivity) {
  TLookupForm lookup(form->Dictionary(), env.services, form.get());
  ASSERT_TRUE(ShowActive(lookup));
  QTest::keyClicks(testing::Find<QLineEdit>(lookup, "WordToConvert"), QStringLiteral("bat"));
  QTest::mouseClick(testing::Find<QPushButton>(lookup, "ConvertBtn"), Qt::LeftButton);
  TLayerGrid* grid = testing::Find<TLayerGrid>(lookup, "ConvertedGrid");
  struct Row {
    const char* name;
    std::function<void()> act;
    bool activity;
  };
  const std::vector<Row> rows = {
      {"Convert",
       [&] { QTest::mouseClick(testing::Find<QPushButton>(lookup, "ConvertBtn"), Qt::LeftButton); },
       false},
      {"a click on a result",
       [&] {
         QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(0, 0).center());
       },
       true},
      {"Copy",
       [&] { QTest::mouseClick(testing::Find<QPushButton>(lookup, "CopyBtn"), Qt::LeftButton); },
       true},
      {"typing", [&] { QTest::keyClick(testing::Find<QLineEdit>(lookup, "WordToConvert"), 's'); },
       true},
      {"Clear",
       [&] { QTest::mouseClick(testing::Find<QPushButton>(lookup, "ClearBtn"), Qt::LeftButton); },
       true},
      {"Cancel",
       [&] {
         QTest::mouseClick(testing::Find<QPushButton>(lookup, "CancelLookUpBtn"), Qt::LeftButton);
       },
       true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    env.services.state.IdleTicks = 50;
    row.act();
    EXPECT_EQ(env.services.state.IdleTicks, row.activity ? 0 : 50);
  }
}

TEST_F(WormWindowTest, WithTheAnimationOffNoWormComesHoweverLongTheWait) {
  env.state.AnimationOn = false;
  for (int tick = 1; tick <= 400; ++tick) {
    Ticks(1);
    ASSERT_TRUE(VisibleWorms().empty()) << "tick " << tick;
  }
}

TEST_F(WormWindowTest, LeftAloneTheFirstWormComesAtTheNinetiethTickFromItsFirstFrame) {
  env.state.AnimationOn = true;
  Ticks(89);
  EXPECT_TRUE(VisibleWorms().empty());
  Ticks(1);
  const std::vector<int> visible = VisibleWorms();
  ASSERT_EQ(visible.size(), 1u);
  AnimatedPicture* worm = Worm(visible[0]);
  EXPECT_TRUE(worm->IsPlaying());
  EXPECT_EQ(worm->CurrentFrame(), 0);
  // Visible for 11 ticks, the next one tick later.
  Ticks(10);
  EXPECT_EQ(VisibleWorms(), visible);
  Ticks(1);
  EXPECT_TRUE(VisibleWorms().empty());
  EXPECT_FALSE(worm->IsPlaying());
  Ticks(1);
  EXPECT_EQ(VisibleWorms().size(), 1u);
}

// The worms' pictures are made when the first worm comes out, at their places and hidden;
// the ticks before that, which hide every worm, make none.
TEST_F(WormWindowTest, TheWormsAreMadeWhenTheFirstComesOut) {
  const auto madeWorms = [this] {
    int made = 0;
    for (const AnimatedPicture* picture : form->findChildren<AnimatedPicture*>()) {
      made += picture->objectName().contains(QLatin1String("Worm")) ? 1 : 0;
    }
    return made;
  };
  env.state.AnimationOn = true;
  EXPECT_EQ(madeWorms(), 0);
  Ticks(89);
  EXPECT_EQ(madeWorms(), 0);
  Ticks(1);
  EXPECT_EQ(madeWorms(), kWormCount);
  ButtonWorms* worms = testing::Find<ButtonWorms>(*form, "ButtonWorms");
  int shown = 0;
  for (int index = 0; index < kWormCount; ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(worms->Worm(index)->geometry(), worms->Place(index));
    shown += worms->Worm(index)->isVisible() ? 1 : 0;
  }
  EXPECT_EQ(shown, 1);
}

TEST_F(WormWindowTest, TypingOrClickingAGridEveryFewSecondsKeepsTheWormsAway) {
  env.state.AnimationOn = true;
  testing::Find<QLineEdit>(*form, "EntryEdit")->setFocus();
  for (int tick = 1; tick <= 300; ++tick) {
    if (tick % 5 == 0) {
      QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"), tick % 10 == 0 ? '2' : '8');
    }
    Ticks(1);
    ASSERT_TRUE(VisibleWorms().empty()) << "typing, tick " << tick;
  }
  QTest::keyClick(testing::Find<QPushButton>(*form, "ConvertBtn"), Qt::Key_Space);
  ASSERT_GT(form->Model().Candidates().RowCount(), 1);
  TLayerGrid* grid = testing::Find<TLayerGrid>(*form, "PossibleGrid");
  for (int tick = 1; tick <= 300; ++tick) {
    if (tick % 7 == 0) {
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(1, 0).center());
    }
    Ticks(1);
    ASSERT_TRUE(VisibleWorms().empty()) << "clicking, tick " << tick;
  }
}

TEST_F(WormWindowTest, TheTestWindowsButtonsAreNoUserActivity) {
  env.state.AnimationOn = false;
  Ticks(95);
  test->ShowModeless();
  ASSERT_TRUE(ShowActive(*test));
  QTest::mouseClick(testing::Find<QPushButton>(*test, "NoDictionaryBtn"), Qt::LeftButton);
  QTest::mouseClick(testing::Find<QPushButton>(*test, "EntryCanNotExceed"), Qt::LeftButton);
  QTest::mouseClick(testing::Find<QCheckBox>(*test, "AnimationCheckBox"), Qt::LeftButton, {},
                    QPoint(8, testing::Find<QCheckBox>(*test, "AnimationCheckBox")->height() / 2));
  ASSERT_TRUE(testing::Find<QCheckBox>(*test, "AnimationCheckBox")->isChecked());
  QTest::mouseClick(testing::Find<QPushButton>(*test, "OKBtn"), Qt::LeftButton);
  ASSERT_TRUE(env.state.AnimationOn);
  EXPECT_EQ(env.dialogs.warnings.size(), 2);
  Ticks(1);
  EXPECT_EQ(VisibleWorms().size(), 1u);
}

TEST_F(WormWindowTest, AWormOutWhenTheUserClicksStaysItsElevenSeconds) {
  env.state.AnimationOn = true;
  Ticks(90);
  const std::vector<int> visible = VisibleWorms();
  ASSERT_EQ(visible.size(), 1u);
  Ticks(3);
  QTest::mouseClick(testing::Find<QPushButton>(*form, "ClearBtn"), Qt::LeftButton);
  ASSERT_EQ(env.services.state.IdleTicks, 0);
  Ticks(7);  // tick 100: the worm's tenth tick
  EXPECT_EQ(VisibleWorms(), visible);
  Ticks(1);
  EXPECT_TRUE(VisibleWorms().empty());
  // The next comes 90 ticks after the click, at tick 183.
  Ticks(81);
  EXPECT_TRUE(VisibleWorms().empty());
  Ticks(1);
  EXPECT_EQ(VisibleWorms().size(), 1u);
}

TEST_F(WormWindowTest, AWormShownAgainStartsFromItsFirstFrame) {
  ButtonWorms& worms = *testing::Find<ButtonWorms>(*form, "ButtonWorms");
  AnimatedPicture* worm = Worm(5);
  worms.ShowAndRestart(5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return worm->CurrentFrame() >= 2; }, 3000));
  worms.HideAndStop(5);
  EXPECT_FALSE(worm->isVisible());
  EXPECT_FALSE(worm->IsPlaying());
  worms.ShowAndRestart(5);
  EXPECT_TRUE(worm->isVisible());
  EXPECT_TRUE(worm->IsPlaying());
  EXPECT_EQ(worm->CurrentFrame(), 0);
}

TEST_F(WormWindowTest, AHiddenWormDrawsNothingMore) {
  ButtonWorms& worms = *testing::Find<ButtonWorms>(*form, "ButtonWorms");
  AnimatedPicture* worm = Worm(0);
  worms.ShowAndRestart(0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return worm->CurrentFrame() >= 1; }, 3000));
  worms.HideAndStop(0);
  QSignalSpy frames(worm, &AnimatedPicture::FrameShown);
  QTest::qWait(400);  // more than three frames' time
  EXPECT_EQ(frames.count(), 0);
}

}  // namespace
}  // namespace vantrel
