// SPDX-License-Identifier: GPL-3.0-or-later
// Copy, cut and paste of cell texts on a cell table.

#include "GridClipboard.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// A 3 by 4 table whose cells read "c,r".
CellTable Numbered(int cols = 3, int rows = 4) {
  CellTable table(cols, rows);
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      table.SetCell(col, row, std::to_string(col) + "," + std::to_string(row));
    }
  }
  return table;
}

TEST(GridClipboard, SelectionEdges) {
  struct Case {
    const char* name;
    CellRange selection;
    CellRange copy;
    CellRange paste;
  };
  const Case cases[] = {
      {"ordinary", {1, 1, 2, 2}, {1, 1, 2, 2}, {1, 1, 2, 2}},
      {"edges below 0 count as 0", {-2, -1, 1, 1}, {0, 0, 1, 1}, {0, 0, 1, 1}},
      {"right before left", {2, 1, 1, 1}, {2, 1, 2, 1}, {2, 1, INT_MAX, 1}},
      {"bottom before top", {1, 2, 1, 0}, {1, 2, 1, 3}, {1, 2, 1, INT_MAX}},
      {"copy stops at the table's end", {1, 1, 9, 9}, {1, 1, 2, 3}, {1, 1, 9, 9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CopyRange(c.selection, 3, 4), c.copy);
    EXPECT_EQ(PasteRange(c.selection), c.paste);
  }
}

TEST(GridClipboard, CopyEndsEveryCellWithATabAndEveryRowWithCrLf) {
  const CellTable table = Numbered();
  EXPECT_EQ(SelectionText(table, {1, 2, 2, 3}), "1,2\t2,2\t\r\n1,3\t2,3\t\r\n");
  EXPECT_EQ(SelectionText(table, {0, 0, 0, 0}), "0,0\t\r\n");
  EXPECT_EQ(SelectionText(table, {2, 3, 0, 0}), "2,3\t\r\n") << "reaches the last row";
  EXPECT_EQ(SelectionText(table, {5, 5, 6, 6}), "") << "nothing selected inside";
}

TEST(GridClipboard, CutEmptiesTheSelectedCellsOnly) {
  CellTable table = Numbered();
  ClearSelection(table, {1, 1, 1, 2});
  EXPECT_EQ(table.Cell(1, 1), "");
  EXPECT_EQ(table.Cell(1, 2), "");
  EXPECT_EQ(table.Cell(0, 1), "0,1");
  EXPECT_EQ(table.Cell(1, 3), "1,3");
}

TEST(GridClipboard, PasteFillsTheSelectionFromItsTopLeft) {
  struct Case {
    const char* name;
    CellRange selection;
    std::string text;
    std::vector<std::string> row1;  // cells 0 to 2 of row 1 afterwards
    std::vector<std::string> row2;
  };
  const Case cases[] = {
      {"one cell takes the first field only",
       {1, 1, 1, 1},
       "a\tb\r\nc\td\r\n",
       {"0,1", "a", "2,1"},
       {"0,2", "1,2", "2,2"}},
      {"a two by two selection",
       {1, 1, 2, 2},
       "a\tb\tx\r\nc\td\r\ny",
       {"0,1", "a", "b"},
       {"0,2", "c", "d"}},
      {"the copy format round trips",
       {0, 1, 2, 2},
       "a\tb\tc\t\r\nd\te\tf\t\r\n",
       {"a", "b", "c"},
       {"d", "e", "f"}},
      {"LF and CR end lines too",
       {0, 1, 0, 2},
       "a\nb\rc",
       {"a", "1,1", "2,1"},
       {"b", "1,2", "2,2"}},
      {"LF LF holds an empty line", {0, 1, 0, 2}, "\n\nb", {"", "1,1", "2,1"}, {"", "1,2", "2,2"}},
      {"CR LF CR LF holds an empty line",
       {0, 1, 0, 2},
       "a\r\n\r\nb",
       {"a", "1,1", "2,1"},
       {"", "1,2", "2,2"}},
      {"an empty field empties its cell",
       {0, 1, 2, 1},
       "\tb",
       {"", "b", "2,1"},
       {"0,2", "1,2", "2,2"}},
      {"unbounded to the right takes every field",
       {1, 1, 0, 1},
       "a\tb\tc\td",
       {"0,1", "a", "b"},
       {"0,2", "1,2", "2,2"}},
      {"a TAB ending a line leaves the next column of a wider selection as it was",
       {0, 1, 2, 2},
       "a\t\r\nb\tc\t",
       {"a", "1,1", "2,1"},
       {"b", "c", "2,2"}},
      {"empty text changes nothing",
       {0, 1, 2, 2},
       "",
       {"0,1", "1,1", "2,1"},
       {"0,2", "1,2", "2,2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CellTable table = Numbered();
    PasteIntoTable(table, c.selection, c.text);
    for (int col = 0; col < 3; ++col) {
      EXPECT_EQ(table.Cell(col, 1), c.row1[static_cast<std::size_t>(col)]) << "column " << col;
      EXPECT_EQ(table.Cell(col, 2), c.row2[static_cast<std::size_t>(col)]) << "column " << col;
    }
    EXPECT_EQ(table.RowCount(), 4);
  }
}

TEST(GridClipboard, PasteAddsColumnsAsFarAsBothTextAndSelectionReach) {
  CellTable unbounded = Numbered();
  PasteIntoTable(unbounded, {1, 1, 0, 0}, "a\tb\tc\td\r\ne");
  EXPECT_EQ(unbounded.ColCount(), 5);
  EXPECT_EQ(unbounded.Cell(4, 1), "d");
  EXPECT_EQ(unbounded.Cell(1, 2), "e");

  CellTable bounded = Numbered();
  PasteIntoTable(bounded, {0, 1, 3, 1}, "a\tb\tc\td\te\tf");
  EXPECT_EQ(bounded.ColCount(), 4);
  EXPECT_EQ(bounded.Cell(3, 1), "d");

  CellTable huge = Numbered();
  PasteIntoTable(huge, {0, 1, -1, 1}, std::string(100000, '\t') + "x");
  EXPECT_EQ(huge.ColCount(), CellTable::kMaxCols);
}

TEST(GridClipboard, UnboundedPasteAddsRows) {
  CellTable table = Numbered();
  PasteIntoTable(table, {0, 3, 0, 0}, "a\r\nb\r\nc\r\n");
  EXPECT_EQ(table.RowCount(), 6);
  EXPECT_EQ(table.Cell(0, 3), "a");
  EXPECT_EQ(table.Cell(0, 5), "c");
  EXPECT_EQ(table.Cell(1, 5), "");
}

TEST(GridClipboard, PasteAddsRowsAsFarAsBothTextAndSelectionReach) {
  CellTable table = Numbered();
  PasteIntoTable(table, {0, 3, 0, 9}, "a\r\nb\r\n");
  EXPECT_EQ(table.RowCount(), 5) << "the selection reaches row 9, the text row 4";
  PasteIntoTable(table, {0, 4, 0, 4}, "x\r\ny\r\nz");
  EXPECT_EQ(table.RowCount(), 5);
  EXPECT_EQ(table.Cell(0, 4), "x");
}

TEST(GridClipboard, AHugePasteAddsAtMostTheRowLimit) {
  CellTable table(2, 10);
  std::string text;
  for (int line = 0; line < kPasteRowLimit + 500; ++line) {
    text += "w\tn\r\n";
  }
  PasteIntoTable(table, {0, 0, -1, -1}, text);
  EXPECT_EQ(table.RowCount(), 10 + kPasteRowLimit);
  EXPECT_EQ(table.Cell(1, 10 + kPasteRowLimit - 1), "n");
}

TEST(GridClipboard, PasteBelowTheReachOfTheLimitDoesNothing) {
  CellTable table(1, 2);
  PasteIntoTable(table, {0, 2 + kPasteRowLimit, 0, -1}, "far");
  EXPECT_EQ(table.RowCount(), 2);
}

}  // namespace
}  // namespace vantrel
