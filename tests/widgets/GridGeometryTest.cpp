// SPDX-License-Identifier: GPL-3.0-or-later
// Cell positions, scrolling limits and the stretched last column.

#include "GridGeometry.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// Two columns of 100 and 50 pixels, rows of 24, lines of 1, one fixed row, 300 by 130
// pixels of client area: the header takes 25 pixels, four data rows of 25 show wholly.
GridGeometry TwoColumns(int rows = 50) {
  GridGeometry geometry;
  geometry.SetColCount(2, 64);
  geometry.SetColWidth(0, 100);
  geometry.SetColWidth(1, 50);
  geometry.SetRowCount(rows);
  geometry.SetFixedRows(1);
  geometry.SetClientSize(300, 130);
  geometry.SetTopRow(1);
  return geometry;
}

TEST(GridGeometry, CellUnderAPoint) {
  GridGeometry geometry = TwoColumns();
  struct Case {
    const char* name;
    QPoint point;
    CellCoord expected;
  };
  const Case cases[] = {
      {"header", {5, 5}, {0, 0}},
      {"first data row", {5, 25}, {0, 1}},
      {"second column", {101, 30}, {1, 1}},
      {"vertical line belongs to the cell before it", {100, 30}, {0, 1}},
      {"horizontal line belongs to the row above", {5, 49}, {0, 1}},
      {"last pixel of the second column's line", {151, 30}, {1, 1}},
      {"right of the last column", {152, 30}, {}},
      {"outside the client area", {5, 130}, {}},
      {"left of the client area", {-1, 30}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(geometry.CellAt(c.point), c.expected);
  }
}

TEST(GridGeometry, CellUnderAPointFollowsScrolling) {
  GridGeometry geometry = TwoColumns();
  geometry.SetTopRow(10);
  EXPECT_EQ(geometry.CellAt({5, 25}), (CellCoord{0, 10}));
  EXPECT_EQ(geometry.CellAt({5, 5}), (CellCoord{0, 0})) << "fixed rows do not scroll";
  EXPECT_FALSE(geometry.RowTop(9).has_value());
  EXPECT_EQ(geometry.CellRect(1, 11), QRect(101, 50, 50, 24));
}

TEST(GridGeometry, RowsBeyondTheCountHaveNoCell) {
  GridGeometry geometry = TwoColumns(3);
  EXPECT_EQ(geometry.CellAt({5, 60}), (CellCoord{0, 2}));
  EXPECT_EQ(geometry.CellAt({5, 80}), CellCoord{});
}

TEST(GridGeometry, OnlyWhollyShownRowsAreVisible) {
  struct Case {
    const char* name;
    int clientHeight;
    int rows;
    int visible;
  };
  const Case cases[] = {
      {"four whole rows and a part", 130, 50, 4},
      {"a row that ends on the last pixel counts", 124, 50, 4},
      {"one pixel short", 123, 50, 3},
      {"fewer rows than room", 130, 3, 2},
      {"only the header fits", 30, 50, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GridGeometry geometry = TwoColumns(c.rows);
    geometry.SetClientSize(300, c.clientHeight);
    EXPECT_EQ(geometry.VisibleRowCount(), c.visible);
  }
}

TEST(GridGeometry, APartlyShownLastRowIsPaintedAndCountsAsShown) {
  struct Case {
    const char* name;
    int clientHeight;
    int rows;
    int last;
  };
  const Case cases[] = {
      {"four whole rows and a part of the fifth", 130, 50, 5},
      {"one pixel of the fifth row", 126, 50, 5},
      {"four whole rows exactly", 125, 50, 4},
      {"fewer rows than room", 130, 3, 2},
      {"only the header", 25, 50, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GridGeometry geometry = TwoColumns(c.rows);
    geometry.SetClientSize(300, c.clientHeight);
    EXPECT_EQ(geometry.LastVisibleRow(), c.last);
  }
}

TEST(GridGeometry, ScrollingStopsWhenTheLastRowShowsWhole) {
  GridGeometry geometry = TwoColumns(50);
  EXPECT_EQ(geometry.MaxTopRow(), 46);
  geometry.SetTopRow(60);
  EXPECT_TRUE(geometry.ClampScroll());
  EXPECT_EQ(geometry.TopRow(), 46);
  geometry.SetTopRow(0);
  EXPECT_TRUE(geometry.ClampScroll());
  EXPECT_EQ(geometry.TopRow(), 1) << "never onto the fixed row";
  EXPECT_FALSE(geometry.ClampScroll());

  GridGeometry few = TwoColumns(3);
  EXPECT_EQ(few.MaxTopRow(), 1);
}

TEST(GridGeometry, StretchedLastColumn) {
  struct Case {
    const char* name;
    int clientWidth;
    bool vertLines;
    int lineWidth;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {"fills the client width less the lines", 300, true, 1, 198},
      {"wider lines", 300, true, 3, 194},
      {"no vertical lines", 300, false, 1, 200},
      {"client as wide as the other columns keeps the width", 100, true, 1, std::nullopt},
      {"client narrower than the other columns", 80, true, 1, std::nullopt},
      {"one pixel more than the others, less than their lines", 101, true, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GridGeometry geometry = TwoColumns();
    geometry.SetClientSize(c.clientWidth, 130);
    geometry.SetLines(c.vertLines, true, c.vertLines, true);
    geometry.SetLineWidth(c.lineWidth);
    EXPECT_EQ(geometry.StretchedLastWidth(), c.expected);
  }
}

TEST(GridGeometry, OnlyFixedVerticalLinesStillCountForStretching) {
  GridGeometry geometry = TwoColumns();
  geometry.SetLines(true, true, false, true);
  EXPECT_EQ(geometry.StretchedLastWidth(), 198);
}

TEST(GridGeometry, ColumnBorders) {
  GridGeometry geometry = TwoColumns();
  EXPECT_EQ(geometry.ColBorderAt(100, 3), 0);
  EXPECT_EQ(geometry.ColBorderAt(97, 3), 0);
  EXPECT_EQ(geometry.ColBorderAt(96, 3), -1);
  EXPECT_EQ(geometry.ColBorderAt(150, 3), 1);
  EXPECT_EQ(geometry.ColBorderAt(50, 3), -1);
  // A column dragged down to nothing: the border found is the rightmost one, so it can
  // be dragged wide again.
  geometry.SetColWidth(1, 0);
  EXPECT_EQ(geometry.ColBorderAt(101, 3), 1);
}

TEST(GridGeometry, WideGridsScrollByColumns) {
  GridGeometry geometry;
  geometry.SetColCount(6, 100);
  geometry.SetRowCount(10);
  geometry.SetFixedCols(1);
  geometry.SetClientSize(330, 200);
  geometry.SetLeftCol(1);
  // Fixed column 101; three data columns of 101 need 303 pixels, more than the 229 left.
  EXPECT_EQ(geometry.MaxLeftCol(), 4);
  geometry.SetLeftCol(3);
  EXPECT_EQ(geometry.CellAt({5, 5}), (CellCoord{0, 0}));
  EXPECT_EQ(geometry.CellAt({105, 5}), (CellCoord{3, 0}));
  EXPECT_EQ(geometry.LastVisibleCol(), 5);
  EXPECT_FALSE(geometry.ColLeft(2).has_value());
}

}  // namespace
}  // namespace vantrel
