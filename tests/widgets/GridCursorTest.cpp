// SPDX-License-Identifier: GPL-3.0-or-later
// The current cell, the anchor and the selection of a grid, moved by keys and clicks,
// from plain numbers.

#include "GridCursor.h"

#include <gtest/gtest.h>

#include <ostream>

namespace vantrel {

void PrintTo(const CellCoord& cell, std::ostream* out) {
  *out << "(" << cell.col << ", " << cell.row << ")";
}

void PrintTo(const CellRange& range, std::ostream* out) {
  *out << "[" << range.left << ", " << range.top << " .. " << range.right << ", " << range.bottom
       << "]";
}

namespace {

using Key = GridCursor::Key;

// A list as the main window shows it: one fixed row, no fixed column, three columns and
// ten rows, so that the scrollable cells run from (0, 1) to (2, 9).
GridCursor ListCursor(CellCoord start, bool rangeSelect = true, bool rowSelect = false) {
  GridCursor cursor;
  cursor.SetBounds(0, 1, 3, 10);
  cursor.SetRangeSelect(rangeSelect);
  cursor.SetRowSelect(rowSelect);
  EXPECT_TRUE(cursor.MoveTo(start, false));
  return cursor;
}

TEST(GridCursor, KeysMoveWithinTheScrollableCells) {
  struct Case {
    const char* name;
    CellCoord start;
    Key key;
    int page;
    CellCoord expected;
  };
  const Case cases[] = {
      {"up", {1, 5}, Key::kUp, 4, {1, 4}},
      {"up from the first row stays under the fixed row", {1, 1}, Key::kUp, 4, {1, 1}},
      {"down", {1, 5}, Key::kDown, 4, {1, 6}},
      {"down from the last row stays", {1, 9}, Key::kDown, 4, {1, 9}},
      {"left", {1, 5}, Key::kLeft, 4, {0, 5}},
      {"left from the first column stays", {0, 5}, Key::kLeft, 4, {0, 5}},
      {"right", {1, 5}, Key::kRight, 4, {2, 5}},
      {"right from the last column stays", {2, 5}, Key::kRight, 4, {2, 5}},
      {"page up by the rows that fit", {1, 7}, Key::kPageUp, 4, {1, 3}},
      {"page up near the top stops at the first row", {1, 3}, Key::kPageUp, 4, {1, 1}},
      {"page down by the rows that fit", {1, 2}, Key::kPageDown, 4, {1, 6}},
      {"page down near the end stops at the last row", {1, 7}, Key::kPageDown, 4, {1, 9}},
      {"home goes to the first column of the row", {2, 5}, Key::kHome, 4, {0, 5}},
      {"end goes to the last column of the row", {0, 5}, Key::kEnd, 4, {2, 5}},
      {"ctrl+home goes to the first row of the column", {2, 7}, Key::kFirstRow, 4, {2, 1}},
      {"ctrl+end goes to the last row of the column", {2, 3}, Key::kLastRow, 4, {2, 9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const GridCursor cursor = ListCursor(c.start);
    EXPECT_EQ(cursor.KeyTarget(c.key, c.page), c.expected);
    EXPECT_EQ(cursor.Current(), c.start) << "a target is only asked for";
  }
}

// With fixed columns and rows on both sides the keys stop at the first scrollable cell,
// and an empty grid keeps every key at the first scrollable place.
TEST(GridCursor, KeysStopAtFixedCellsAndInAnEmptyGrid) {
  struct Case {
    const char* name;
    int fixedCols, fixedRows, cols, rows;
    Key key;
    CellCoord expected;
  };
  const Case cases[] = {
      {"left stops at the fixed column", 1, 1, 4, 6, Key::kLeft, {1, 1}},
      {"home stops at the fixed column", 1, 1, 4, 6, Key::kHome, {1, 1}},
      {"ctrl+home stops under two fixed rows", 0, 2, 4, 6, Key::kFirstRow, {0, 2}},
      {"no rows but the fixed one: down stays", 0, 1, 3, 1, Key::kDown, {0, 1}},
      {"no rows but the fixed one: ctrl+end stays", 0, 1, 3, 1, Key::kLastRow, {0, 1}},
      {"no rows at all: page down stays", 0, 1, 3, 0, Key::kPageDown, {0, 1}},
      {"no columns: end stays", 0, 1, 0, 5, Key::kEnd, {0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GridCursor cursor;
    cursor.SetBounds(c.fixedCols, c.fixedRows, c.cols, c.rows);
    cursor.Clamp();
    EXPECT_EQ(cursor.KeyTarget(c.key, 5), c.expected);
  }
}

TEST(GridCursor, OnlyScrollableCellsBecomeCurrent) {
  struct Case {
    const char* name;
    CellCoord cell;
    bool moves;
  };
  const Case cases[] = {
      {"a scrollable cell", {2, 9}, true},
      {"the fixed row", {1, 0}, false},
      {"beyond the last column", {3, 4}, false},
      {"beyond the last row", {0, 10}, false},
      {"no cell", {-1, -1}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GridCursor cursor = ListCursor({1, 5});
    EXPECT_EQ(cursor.MoveTo(c.cell, false), c.moves);
    const CellCoord expected = c.moves ? c.cell : CellCoord{1, 5};
    EXPECT_EQ(cursor.Current(), expected);
    EXPECT_EQ(cursor.Anchor(), expected);
    EXPECT_EQ(cursor.Selection(),
              (CellRange{expected.col, expected.row, expected.col, expected.row}));
  }
}

// A click selects the cell alone, a Shift+click draws the range from the anchor (with
// range selection only), a Ctrl+click selects as a click does.
TEST(GridCursor, ClicksAndShiftClicksSelectFromTheAnchor) {
  struct Case {
    const char* name;
    bool rangeSelect;
    bool rowSelect;
    bool shift;
    CellCoord click;
    CellCoord anchor;
    CellRange selection;
  };
  const Case cases[] = {
      {"click", true, false, false, {0, 2}, {0, 2}, {0, 2, 0, 2}},
      {"ctrl+click as a click", true, false, false, {2, 8}, {2, 8}, {2, 8, 2, 8}},
      {"shift+click below and right", true, false, true, {2, 8}, {1, 5}, {1, 5, 2, 8}},
      {"shift+click above and left", true, false, true, {0, 2}, {1, 5}, {0, 2, 1, 5}},
      {"shift+click without range selection", false, false, true, {2, 8}, {2, 8}, {2, 8, 2, 8}},
      {"click with row selection", true, true, false, {2, 3}, {2, 3}, {0, 3, 2, 3}},
      {"shift+click with row selection", true, true, true, {0, 7}, {1, 5}, {0, 5, 2, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GridCursor cursor = ListCursor({1, 5}, c.rangeSelect, c.rowSelect);
    ASSERT_TRUE(cursor.MoveTo(c.click, cursor.Extends(c.shift)));
    EXPECT_EQ(cursor.Current(), c.click);
    EXPECT_EQ(cursor.Anchor(), c.anchor);
    EXPECT_EQ(cursor.Selection(), c.selection);
  }
}

// A drag keeps the anchor where the press was, but only a grid with range selection
// draws a range: without it the cell under the mouse is selected alone.
TEST(GridCursor, ADragDrawsARangeOnlyWithRangeSelection) {
  struct Case {
    const char* name;
    bool rangeSelect;
    CellCoord anchor;
    CellRange selection;
  };
  const Case cases[] = {
      {"range selection", true, {1, 5}, {0, 5, 1, 7}},
      {"no range selection", false, {0, 7}, {0, 7, 0, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GridCursor cursor = ListCursor({1, 5}, c.rangeSelect);
    ASSERT_TRUE(cursor.MoveTo({0, 7}, true));
    EXPECT_EQ(cursor.Anchor(), c.anchor);
    EXPECT_EQ(cursor.Selection(), c.selection);
  }
}

// Shift with the arrow keys walks the range's far corner while the anchor stays; a key
// without Shift selects the new cell alone again.
TEST(GridCursor, ShiftKeysGrowAndShrinkTheRange) {
  GridCursor cursor = ListCursor({1, 5});
  const struct Step {
    Key key;
    bool shift;
    CellRange selection;
  } steps[] = {
      {Key::kDown, true, {1, 5, 1, 6}},     {Key::kDown, true, {1, 5, 1, 7}},
      {Key::kRight, true, {1, 5, 2, 7}},    {Key::kFirstRow, true, {1, 1, 2, 5}},
      {Key::kPageDown, true, {1, 5, 2, 5}}, {Key::kUp, false, {2, 4, 2, 4}},
  };
  for (const Step& step : steps) {
    ASSERT_TRUE(cursor.MoveTo(cursor.KeyTarget(step.key, 4), cursor.Extends(step.shift)));
    EXPECT_EQ(cursor.Selection(), step.selection);
  }
  EXPECT_EQ(cursor.Anchor(), (CellCoord{2, 4}));
}

// Rows taken away under the current cell draw it back to the last row left, selected
// alone; a cell still inside stays as it is, range and all.
TEST(GridCursor, ShrinkingCountsDrawTheCurrentCellBack) {
  struct Case {
    const char* name;
    int cols, rows;
    bool moves;
    CellCoord current;
    CellRange selection;
  };
  const Case cases[] = {
      {"still inside", 3, 9, false, {2, 8}, {1, 5, 2, 8}},
      {"row count below the current row", 3, 6, true, {2, 5}, {2, 5, 2, 5}},
      {"column count below the current column", 2, 9, true, {1, 8}, {1, 8, 1, 8}},
      {"only the fixed row left", 3, 1, true, {2, 1}, {2, 1, 2, 1}},
      {"no rows at all", 3, 0, true, {2, 1}, {2, 1, 2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GridCursor cursor = ListCursor({1, 5});
    ASSERT_TRUE(cursor.MoveTo({2, 8}, true));
    cursor.SetBounds(0, 1, c.cols, c.rows);
    EXPECT_EQ(cursor.Clamp(), c.moves);
    EXPECT_EQ(cursor.Current(), c.current);
    EXPECT_EQ(cursor.Selection(), c.selection);
    EXPECT_EQ(cursor.KeyTarget(Key::kDown, 4), c.current) << "nowhere further down";
  }
}

TEST(GridCursor, ASetSelectionStaysAsGivenUntilTheNextMove) {
  GridCursor cursor = ListCursor({1, 5});
  const CellRange given{2, 7, 0, 3};  // edges out of order, kept so
  cursor.SetSelection(given);
  EXPECT_EQ(cursor.Selection(), given);
  EXPECT_EQ(cursor.Current(), (CellCoord{1, 5}));
  EXPECT_FALSE(cursor.Clamp());
  EXPECT_EQ(cursor.Selection(), given) << "a current cell in place keeps the selection";
  ASSERT_TRUE(cursor.MoveTo({1, 6}, true));
  EXPECT_EQ(cursor.Selection(), (CellRange{1, 5, 1, 6})) << "the anchor was kept";
}

TEST(GridCursor, NewFixedCellsStartAfreshAtTheFirstScrollableCell) {
  GridCursor cursor = ListCursor({1, 5});
  ASSERT_TRUE(cursor.MoveTo({2, 8}, true));
  cursor.SetBounds(1, 2, 3, 10);
  cursor.ResetCol(1);
  EXPECT_EQ(cursor.Current(), (CellCoord{1, 8}));
  EXPECT_EQ(cursor.Selection(), (CellRange{1, 8, 1, 8}));
  cursor.ResetRow(2);
  EXPECT_EQ(cursor.Current(), (CellCoord{1, 2}));
  EXPECT_EQ(cursor.Anchor(), (CellCoord{1, 2}));
  EXPECT_EQ(cursor.Selection(), (CellRange{1, 2, 1, 2}));
}

}  // namespace
}  // namespace vantrel
