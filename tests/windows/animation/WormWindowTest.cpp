// SPDX-License-Identifier: GPL-3.0-or-later
// The worms in the real main window: their places beside the buttons, clicks that go
// through them, and the edge cases of the animation driven through Timer1Timer with
// real typing and clicking. The window's own timer is stopped: the test is the clock.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <iterator>
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

TEST_F(WormWindowTest, TheCommandButtonsLieWhereTheDesignPutsThem) {
  // The design: left 41, 99 by 25, their tops 107, 142, 177 and 212.
  const struct {
    const char* name;
    int top;
  } rows[] = {{"ConvertBtn", 107}, {"ClearBtn", 142}, {"CopyBtn", 177}, {"LookupBtn", 212}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(testing::Find<QPushButton>(*form, row.name)->geometry(), QRect(41, row.top, 99, 25));
  }
  // The "Convert From" group ends above the top worm of the Convert button.
  EXPECT_EQ(testing::Find<QGroupBox>(*form, "ConvertFrom")->geometry(), QRect(8, 0, 169, 84));
}

// Every worm comes out from behind its button on its own side: in every frame some of it
// lies behind the button (it never floats free of it), and whatever shows of it lies on
// that side; it comes out further as the animation goes on, shows clearly beside the
// button at its furthest, and never reaches another button, which would cut it off.
TEST_F(WormWindowTest, EveryWormComesOutFromBehindItsButtonOnItsSide) {
  enum class Side { kLeft, kTop, kRight, kBottom };
  struct Row {
    const char* name;
    const char* button;
    Side side;
  };
  const Row rows[] = {
      {"ConvertWormLeft", "ConvertBtn", Side::kLeft},
      {"ConvertWormTop", "ConvertBtn", Side::kTop},
      {"ConvertWormRight", "ConvertBtn", Side::kRight},
      {"ClearWormLeft", "ClearBtn", Side::kLeft},
      {"ClearWormRight", "ClearBtn", Side::kRight},
      {"CopyWormLeft", "CopyBtn", Side::kLeft},
      {"CopyWormRight", "CopyBtn", Side::kRight},
      {"LookupWormLeft", "LookupBtn", Side::kLeft},
      {"LookupWormBottom", "LookupBtn", Side::kBottom},
      {"LookupWormRight", "LookupBtn", Side::kRight},
  };
  ASSERT_EQ(std::size(rows), static_cast<std::size_t>(kWormCount));
  ButtonWorms& worms = *testing::Find<ButtonWorms>(*form, "ButtonWorms");
  const std::vector<QPushButton*> buttons = {testing::Find<QPushButton>(*form, "ConvertBtn"),
                                             testing::Find<QPushButton>(*form, "ClearBtn"),
                                             testing::Find<QPushButton>(*form, "CopyBtn"),
                                             testing::Find<QPushButton>(*form, "LookupBtn")};
  for (int index = 0; index < kWormCount; ++index) {
    const Row& row = rows[index];
    SCOPED_TRACE(row.name);
    AnimatedPicture* worm = Worm(index);
    QPushButton* button = testing::Find<QPushButton>(*form, row.button);
    QWidget* panel = button->parentWidget();
    EXPECT_EQ(worm->objectName(), QLatin1String(row.name));
    ASSERT_EQ(worm->parentWidget(), panel);
    EXPECT_FALSE(worm->isVisibleTo(form.get()));
    EXPECT_TRUE(worm->testAttribute(Qt::WA_TransparentForMouseEvents));
    // Drawn beneath: earlier among the panel's children than the button.
    const QObjectList& children = panel->children();
    EXPECT_LT(children.indexOf(worm), children.indexOf(button));
    // No control but the buttons lies over it: the radio group above the buttons would
    // hide the top worm.
    for (QObject* child : children) {
      auto* other = qobject_cast<QWidget*>(child);
      if (other != nullptr && children.indexOf(other) > children.indexOf(worm) &&
          !qobject_cast<AnimatedPicture*>(other) && !qobject_cast<QPushButton*>(other)) {
        EXPECT_FALSE(other->geometry().intersects(worm->geometry()))
            << other->objectName().toStdString();
      }
    }
    // Fully inside the button panel, so no part of it is cut off.
    EXPECT_TRUE(panel->rect().contains(worm->geometry()));

    worms.ShowAndRestart(index);
    const std::vector<QImage> frames = worm->Frames().images;
    worms.HideAndStop(index);
    ASSERT_FALSE(frames.empty());
    const QRect edge = button->geometry();
    // How far the worm shows beside its button, per frame.
    std::vector<int> outside;
    for (std::size_t frame = 0; frame < frames.size(); ++frame) {
      SCOPED_TRACE("frame " + std::to_string(frame));
      const QImage& image = frames[frame];
      bool behind = false;
      int furthest = 0;
      bool wrongSide = false;
      bool onAnotherButton = false;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          if (qAlpha(image.pixel(x, y)) == 0) {
            continue;
          }
          const QPoint at = worm->pos() + QPoint(x, y);
          for (QPushButton* other : buttons) {
            onAnotherButton =
                onAnotherButton || (other != button && other->geometry().contains(at));
          }
          if (edge.contains(at)) {
            behind = true;
            continue;
          }
          int beyond = 0;
          switch (row.side) {
            case Side::kLeft:
              beyond = edge.left() - at.x();
              break;
            case Side::kTop:
              beyond = edge.top() - at.y();
              break;
            case Side::kRight:
              beyond = at.x() - edge.right();
              break;
            case Side::kBottom:
              beyond = at.y() - edge.bottom();
              break;
          }
          wrongSide = wrongSide || beyond <= 0;
          furthest = std::max(furthest, beyond);
        }
      }
      EXPECT_TRUE(behind) << "part of it lies behind the button";
      EXPECT_FALSE(wrongSide) << "it shows on its own side of the button alone";
      EXPECT_FALSE(onAnotherButton);
      outside.push_back(furthest);
    }
    const int most = *std::max_element(outside.begin(), outside.end());
    EXPECT_LT(outside.front(), most) << "it comes out further than it starts";
    EXPECT_GE(most, 10) << "at its furthest it shows clearly beside the button";
  }
}

// The worms follow their buttons wherever the layout puts them.
TEST_F(WormWindowTest, AWormFollowsItsButtonWhenTheLayoutMovesIt) {
  QPushButton* clear = testing::Find<QPushButton>(*form, "ClearBtn");
  const QRect before = Worm(3)->geometry();       // ClearWormLeft
  const QRect rightBefore = Worm(4)->geometry();  // ClearWormRight
  clear->move(clear->pos() + QPoint(7, 3));
  EXPECT_EQ(Worm(3)->geometry(), before.translated(7, 3));
  EXPECT_EQ(Worm(4)->geometry(), rightBefore.translated(7, 3));
  clear->resize(clear->width() + 10, clear->height());
  EXPECT_EQ(Worm(3)->geometry(), before.translated(7, 3));
  EXPECT_EQ(Worm(4)->geometry(), rightBefore.translated(17, 3))
      << "the right worm keeps to the edge";
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
