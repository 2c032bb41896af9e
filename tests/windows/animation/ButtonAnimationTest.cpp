// SPDX-License-Identifier: GPL-3.0-or-later
// The tick of the button animation, driven tick by tick (the test is the clock), with
// pictures that record what is asked of them and a random source that answers from a list.

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <deque>
#include <map>
#include <utility>
#include <vector>

#include "ButtonAnimation.h"
#include "VantrelGlobal.h"

namespace vantrel {
namespace {

class RecordingWorms final : public WormPictures {
 public:
  void HideAndStop(int index) override {
    hides.push_back(index);
    visible[static_cast<std::size_t>(index)] = false;
  }
  void ShowAndRestart(int index) override {
    shows.push_back(index);
    visible[static_cast<std::size_t>(index)] = true;
  }
  int VisibleCount() const {
    int count = 0;
    for (const bool shown : visible) {
      count += shown ? 1 : 0;
    }
    return count;
  }

  std::vector<int> hides;
  std::vector<int> shows;
  std::array<bool, kWormCount> visible{};
};

class ListedRandom final : public RandomPick {
 public:
  int Pick(int count) override {
    counts.push_back(count);
    if (answers.empty()) {
      return 0;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<int> answers;
  std::vector<int> counts;
};

class ButtonAnimationTest : public ::testing::Test {
 protected:
  void SetUp() override { state.AnimationOn = true; }

  // Runs ticks up to and including tick number last (the first tick is 1), calling
  // before(tick) ahead of each, and returns the ticks at which a worm came out.
  template <typename Before>
  std::vector<int> RunTo(int last, Before before) {
    std::vector<int> shownAt;
    for (; tick_ < last;) {
      ++tick_;
      before(tick_);
      const std::size_t shows = worms.shows.size();
      animation.Tick();
      if (worms.shows.size() != shows) {
        shownAt.push_back(tick_);
      }
      EXPECT_LE(worms.VisibleCount(), 1) << "tick " << tick_;
    }
    return shownAt;
  }
  std::vector<int> RunTo(int last) {
    return RunTo(last, [](int) {});
  }

  RecordingWorms worms;
  ListedRandom random;
  ShellState state;
  ButtonAnimation animation{worms, random, state};
  int tick_ = 0;
};

TEST_F(ButtonAnimationTest, WithTheAnimationOffNoWormEverComes) {
  state.AnimationOn = false;
  EXPECT_TRUE(RunTo(20000).empty());
  EXPECT_EQ(worms.VisibleCount(), 0);
}

TEST_F(ButtonAnimationTest, LeftAloneTheFirstWormComesAtTheNinetiethTickThenEveryTwelfth) {
  EXPECT_EQ(RunTo(150), (std::vector<int>{90, 102, 114, 126, 138, 150}));
  EXPECT_EQ(random.counts, std::vector<int>(6, kWormCount));
}

// Each row: what happens before some ticks, and the ticks at which worms come out.
struct Timeline {
  const char* name;
  std::vector<std::pair<int, const char*>> events;  // "act", "on", "off"
  int last;
  std::vector<int> shownAt;
};

TEST_F(ButtonAnimationTest, UserActionsAndTheSwitchDecideWhenWormsCome) {
  std::vector<std::pair<int, const char*>> everyFewSeconds;
  for (int t = 4; t <= 1000; t += 4) {
    everyFewSeconds.push_back({t, "act"});
  }
  const std::vector<Timeline> rows = {
      {"an action every four seconds keeps every worm away", everyFewSeconds, 1000, {}},
      {"an action just before tick 89 restarts the wait", {{89, "act"}}, 190, {178, 190}},
      {"an action while a worm is out delays the next by 90 ticks from the action",
       {{93, "act"}},
       200,
       {90, 182, 194}},
      {"an action between two worms", {{101, "act"}}, 200, {90, 190}},
      {"switched on after 95 idle ticks: a worm at the very next tick",
       {{1, "off"}, {96, "on"}},
       110,
       {96, 108}},
      {"switched off while a worm is out: no further worm", {{95, "off"}}, 300, {90}},
      {"switched off and on again between worms", {{95, "off"}, {110, "on"}}, 125, {90, 110, 122}},
  };
  for (const Timeline& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingWorms freshWorms;
    ListedRandom freshRandom;
    ShellState freshState;
    freshState.AnimationOn = true;
    ButtonAnimation fresh(freshWorms, freshRandom, freshState);
    std::map<int, const char*> events(row.events.begin(), row.events.end());
    std::vector<int> shownAt;
    for (int t = 1; t <= row.last; ++t) {
      if (const auto found = events.find(t); found != events.end()) {
        const std::string what = found->second;
        if (what == "act") {
          freshState.NoteUserActivity();
        } else {
          freshState.AnimationOn = what == "on";
        }
      }
      const std::size_t before = freshWorms.shows.size();
      fresh.Tick();
      if (freshWorms.shows.size() != before) {
        shownAt.push_back(t);
      }
    }
    EXPECT_EQ(shownAt, row.shownAt);
  }
}

TEST_F(ButtonAnimationTest, AWormOutWhenTheUserActsStaysItsElevenTicks) {
  random.answers = {6};
  ASSERT_EQ(RunTo(90), std::vector<int>{90});
  RunTo(93);
  state.NoteUserActivity();
  for (int t = 94; t <= 100; ++t) {
    RunTo(t);
    ASSERT_TRUE(worms.visible[6]) << "tick " << t;
  }
  RunTo(101);
  EXPECT_FALSE(worms.visible[6]);
  EXPECT_EQ(worms.VisibleCount(), 0);
}

TEST_F(ButtonAnimationTest, SwitchingOffLeavesAWormOutUntilItsTimeIsOver) {
  random.answers = {2};
  RunTo(95);
  state.AnimationOn = false;
  RunTo(100);
  EXPECT_TRUE(worms.visible[2]);
  RunTo(101);
  EXPECT_FALSE(worms.visible[2]);
}

TEST_F(ButtonAnimationTest, PastItsTenthTickEveryWormIsHiddenInOrderAtEveryTick) {
  state.AnimationOn = false;
  RunTo(10);
  EXPECT_TRUE(worms.hides.empty());
  RunTo(11);
  EXPECT_EQ(worms.hides, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  RunTo(13);
  EXPECT_EQ(worms.hides.size(), 30u);

  // After a worm comes, the next ten ticks hide nothing and the eleventh hides them all.
  state.AnimationOn = true;
  worms.hides.clear();
  RunTo(90);
  ASSERT_EQ(worms.shows.size(), 1u);
  const std::size_t hidesBefore = worms.hides.size();
  RunTo(100);
  EXPECT_EQ(worms.hides.size(), hidesBefore);
  RunTo(101);
  EXPECT_EQ(worms.hides.size(), hidesBefore + kWormCount);
}

TEST_F(ButtonAnimationTest, TheSameWormTwiceInARowIsShownAndRestartedBothTimes) {
  random.answers = {4, 4, 9};
  EXPECT_EQ(RunTo(114), (std::vector<int>{90, 102, 114}));
  EXPECT_EQ(worms.shows, (std::vector<int>{4, 4, 9}));
  // Between the two showings the worm was hidden and stopped.
  EXPECT_FALSE(worms.visible[4]);
}

TEST_F(ButtonAnimationTest, TheWormCountRestartsOnlyWhenAWormIsShown) {
  state.AnimationOn = false;
  RunTo(200);
  EXPECT_EQ(animation.WormTicks(), 200);
  state.AnimationOn = true;
  RunTo(201);
  EXPECT_EQ(animation.WormTicks(), 0);
}

TEST_F(ButtonAnimationTest, CountsThatReachTheirLimitStayThereAndWormsStillCome) {
  state.IdleTicks = INT_MAX - 1;
  RunTo(12);
  EXPECT_EQ(state.IdleTicks, INT_MAX);
  EXPECT_FALSE(worms.shows.empty());
}

TEST(ClockSeededRandom, TheSameClockReadingGivesTheSamePicksAnotherReadingOthers) {
  auto picks = [](std::uint64_t reading) {
    ClockSeededRandom random(reading);
    std::vector<int> result;
    for (int i = 0; i < 40; ++i) {
      result.push_back(random.Pick(kWormCount));
    }
    return result;
  };
  EXPECT_EQ(picks(1'765'000'000'123'456'789ULL), picks(1'765'000'000'123'456'789ULL));
  EXPECT_NE(picks(1'765'000'000'123'456'789ULL), picks(1'765'000'001'123'456'789ULL));
}

TEST(ClockSeededRandom, EveryWormIsEquallyLikelyAndRepeatsHappen) {
  ClockSeededRandom random(1'765'000'000'000'000'000ULL);
  constexpr int kPicks = 100000;
  std::array<int, kWormCount> counts{};
  int repeats = 0;
  int last = -1;
  for (int i = 0; i < kPicks; ++i) {
    const int pick = random.Pick(kWormCount);
    ASSERT_GE(pick, 0);
    ASSERT_LT(pick, kWormCount);
    ++counts[static_cast<std::size_t>(pick)];
    repeats += pick == last ? 1 : 0;
    last = pick;
  }
  for (int index = 0; index < kWormCount; ++index) {
    SCOPED_TRACE(index);
    EXPECT_NEAR(counts[static_cast<std::size_t>(index)], kPicks / kWormCount, kPicks / 100);
  }
  // Picks are independent: the same worm follows itself about one time in ten.
  EXPECT_NEAR(repeats, kPicks / kWormCount, kPicks / 100);
}

}  // namespace
}  // namespace vantrel
