// SPDX-License-Identifier: GPL-3.0-or-later
// Where a window comes back when its stored place is no longer on the desktop.

#include <gtest/gtest.h>

#include <QWidget>
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

// A window's place settings move and size it, and give back where it is; the settings of
// what a window does not keep (the lookup window's size) and of anything else are left to
// the window.
TEST(WindowPlace, ThePlaceSettingsMoveAndSizeTheWindowAndGiveItBack) {
  const PlaceSettings sized{Setting::kHelpTop, Setting::kHelpLeft, Setting::kHelpWidth,
                            Setting::kHelpHeight};
  const PlaceSettings placed{Setting::kLookupTop, Setting::kLookupLeft, {}, {}};
  QWidget window;
  window.setGeometry(10, 20, 300, 200);
  const struct {
    const PlaceSettings& place;
    Setting setting;
    int value;
    bool applies;
    QRect after;
  } rows[] = {
      {sized, Setting::kHelpTop, 55, true, {10, 55, 300, 200}},
      {sized, Setting::kHelpLeft, -40, true, {-40, 55, 300, 200}},
      {sized, Setting::kHelpWidth, 420, true, {-40, 55, 420, 200}},
      {sized, Setting::kHelpHeight, 330, true, {-40, 55, 420, 330}},
      {sized, Setting::kSuggestTop, 1, false, {-40, 55, 420, 330}},
      {placed, Setting::kLookupTop, 7, true, {-40, 7, 420, 330}},
      {placed, Setting::kLookupLeft, 8, true, {8, 7, 420, 330}},
      {placed, Setting::kHelpWidth, 99, false, {8, 7, 420, 330}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(NameOf(row.setting).toStdString());
    EXPECT_EQ(ApplyPlace(window, row.place, row.setting, SettingValue::Integer(row.value)),
              row.applies);
    EXPECT_EQ(window.geometry(), row.after);
    const std::optional<SettingValue> stored = StoredPlace(window, row.place, row.setting);
    ASSERT_EQ(stored.has_value(), row.applies);
    if (stored) {
      EXPECT_EQ(stored->integer, row.value);
    }
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
