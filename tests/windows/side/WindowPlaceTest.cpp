// SPDX-License-Identifier: GPL-3.0-or-later
// Where a window comes back when its stored place is no longer on the desktop.

#include <gtest/gtest.h>

#include <limits>

#include "WindowPlace.h"

namespace vantrel {
namespace {

const QRect kLaptop(0, 0, 1280, 800);
const QRect kRightMonitor(1280, 0, 1920, 1080);
const QRect kLeftMonitor(-1920, 0, 1920, 1080);
const QPoint kDesign(474, 189);
const QSize kWindow(485, 498);

TEST(WindowPlace, AStoredPlaceIsKeptOnlyWhileItsTitleBarCanBeReached) {
  struct Case {
    const char* name;
    QPoint stored;
    QList<QRect> screens;
    QPoint expected;
  };
  const Case cases[] = {
      {"on the only screen", {40, 60}, {kLaptop}, {40, 60}},
      {"partly off the right edge", {1100, 300}, {kLaptop}, {1100, 300}},
      {"on a second monitor", {2000, 100}, {kLaptop, kRightMonitor}, {2000, 100}},
      {"left of the primary screen", {-1500, 100}, {kLaptop, kLeftMonitor}, {-1500, 100}},
      {"the second monitor unplugged", {2000, 100}, {kLaptop}, kDesign},
      {"negative on a single screen", {-3000, -3000}, {kLaptop}, kDesign},
      {"only a sliver on screen", {1280 - kShownWidth + 1, 100}, {kLaptop}, kDesign},
      {"just enough on screen", {1280 - kShownWidth, 100}, {kLaptop}, {1280 - kShownWidth, 100}},
      {"the title bar above the screen", {100, -10}, {kLaptop}, kDesign},
      {"the title bar below the screen", {100, 800 - kTitleStrip + 1}, {kLaptop}, kDesign},
      {"between two monitors of different heights",
       {1500, 900},
       {kLaptop, kRightMonitor},
       {1500, 900}},
      {"below the shorter of two monitors", {100, 900}, {kLaptop, kRightMonitor}, kDesign},
      {"at the edges of the integers",
       {std::numeric_limits<int>::max(), std::numeric_limits<int>::min()},
       {kLaptop},
       kDesign},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PlaceOnScreens(c.stored, kWindow, kDesign, c.screens), c.expected);
  }
}

TEST(WindowPlace, ADesignPlaceOffTheScreenIsMovedOntoIt) {
  // A small screen that the design place misses, and one that is not at the origin.
  EXPECT_EQ(PlaceOnScreens(QPoint(5000, 5000), kWindow, kDesign, {QRect(0, 0, 400, 150)}),
            QPoint(0, 0));
  EXPECT_EQ(PlaceOnScreens(QPoint(5000, 5000), kWindow, kDesign, {QRect(2000, 1000, 1024, 768)}),
            QPoint(2000, 1000));
  // Without any screen known, nothing is moved.
  EXPECT_EQ(PlaceOnScreens(QPoint(5000, 5000), kWindow, kDesign, {}), QPoint(5000, 5000));
}

TEST(WindowPlace, ColumnsTooNarrowToSeeTakeTheirDesignWidth) {
  EXPECT_EQ(StoredColumnWidth(0, 151), 151);
  EXPECT_EQ(StoredColumnWidth(-20, 151), 151);
  EXPECT_EQ(StoredColumnWidth(kMinStoredColumnWidth - 1, 151), 151);
  EXPECT_EQ(StoredColumnWidth(kMinStoredColumnWidth, 151), kMinStoredColumnWidth);
  EXPECT_EQ(StoredColumnWidth(300, 151), 300);
}

TEST(WindowPlace, ASizeLargerThanEveryScreenTakesTheDesignSize) {
  struct Case {
    const char* name;
    QSize stored;
    QList<QRect> screens;
    QSize expected;
  };
  const int most = std::numeric_limits<int>::max();
  const Case cases[] = {
      {"fits", {1000, 700}, {kLaptop}, {1000, 700}},
      {"exactly the screen", {1280, 800}, {kLaptop}, {1280, 800}},
      {"one pixel too wide", {1281, 700}, {kLaptop}, {kWindow.width(), 700}},
      {"one pixel too high", {1000, 801}, {kLaptop}, {1000, kWindow.height()}},
      {"the largest integer", {most, most}, {kLaptop}, kWindow},
      {"fits the larger of two screens", {1900, 1000}, {kLaptop, kRightMonitor}, {1900, 1000}},
      {"fits the larger of two screens, listed first",
       {1900, 1000},
       {kRightMonitor, kLaptop},
       {1900, 1000}},
      {"no screen known, within the bound", {3000, 2000}, {}, {3000, 2000}},
      {"no screen known, beyond the bound",
       {kMaxWindowExtent + 1, 500},
       {},
       {kWindow.width(), 500}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SizeOnScreens(c.stored, kWindow, c.screens), c.expected);
  }
}

}  // namespace
}  // namespace vantrel
