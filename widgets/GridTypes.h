// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cell coordinates and cell rectangles of a grid, shared by the grid's plain helpers.

namespace vantrel {

// A cell by column and row; -1 in both when there is no cell.
struct CellCoord {
  int col = -1;
  int row = -1;

  bool Valid() const { return col >= 0 && row >= 0; }
  bool operator==(const CellCoord&) const = default;
};

// A range of cells, edges included. Kept exactly as set: an edge may lie below 0, and the
// right or bottom edge may lie before the left or top one.
struct CellRange {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool Contains(int col, int row) const {
    return col >= left && col <= right && row >= top && row <= bottom;
  }
  bool operator==(const CellRange&) const = default;
};

}  // namespace vantrel
