// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the cells of a grid lie: column widths, one row height, grid lines, fixed rows
// and columns, the scroll position and the client area. No painting and no widget, so
// that every rule about positions, scrolling and stretching is tested on its own.
//
// Every row has the same height, which keeps a grid of thousands of rows at a few
// integers: the row under a point and the rows on screen are found by division.
// A grid line lies after its cell, to the right and below; a cell and its lines together
// are the cell's pitch.

#include "GridTypes.h"

#include <QPoint>
#include <QRect>

#include <optional>
#include <vector>

namespace vantrel {

class GridGeometry {
 public:
  int ColCount() const { return static_cast<int>(widths_.size()); }
  // New columns take the given width; existing ones keep theirs.
  void SetColCount(int count, int width);
  int ColWidth(int col) const { return widths_[static_cast<std::size_t>(col)]; }
  void SetColWidth(int col, int width) { widths_[static_cast<std::size_t>(col)] = width; }

  int RowCount() const { return rowCount_; }
  void SetRowCount(int count) { rowCount_ = count < 0 ? 0 : count; }
  int RowHeight() const { return rowHeight_; }
  void SetRowHeight(int height) { rowHeight_ = height; }

  int FixedCols() const { return fixedCols_; }
  int FixedRows() const { return fixedRows_; }
  void SetFixedCols(int count) { fixedCols_ = count; }
  void SetFixedRows(int count) { fixedRows_ = count; }

  int LineWidth() const { return lineWidth_; }
  void SetLineWidth(int width) { lineWidth_ = width; }
  void SetLines(bool fixedVert, bool fixedHorz, bool vert, bool horz);
  // Whether vertical lines of either kind are drawn; stretching counts them.
  bool AnyVertLines() const { return vert_ || fixedVert_; }

  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetClientSize(int width, int height);

  // The first scrollable row and column on screen. Set as given; ClampScroll() brings
  // them back into range.
  int TopRow() const { return topRow_; }
  int LeftCol() const { return leftCol_; }
  void SetTopRow(int row) { topRow_ = row; }
  void SetLeftCol(int col) { leftCol_ = col; }
  // Returns true when the top row or left column moved.
  bool ClampScroll();
  int MaxTopRow() const;
  int MaxLeftCol() const;

  bool IsFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }
  int ColPitch(int col) const;
  int RowPitch(int row) const;
  int FixedWidth() const;
  int FixedHeight() const;

  // Client position of a column's left edge or a row's top edge; nullopt while scrolled
  // out of view to the left or top.
  std::optional<int> ColLeft(int col) const;
  std::optional<int> RowTop(int row) const;
  // The cell's rectangle without its lines; empty while it is scrolled out of view.
  QRect CellRect(int col, int row) const;

  // The cell under a client point: a grid line belongs to the cell before it. Invalid
  // outside the client area and beyond the last column or row.
  CellCoord CellAt(QPoint point) const;

  // Scrollable rows that fit wholly into the client area below the fixed rows; at least 1.
  int RowsThatFit() const;
  // Scrollable rows shown wholly from the top row on, counting only rows that exist.
  int VisibleRowCount() const;
  // The last row and column shown at least in part, for painting.
  int LastVisibleRow() const;
  int LastVisibleCol() const;

  // The column whose right border lies within slop pixels of x (its line included), or
  // -1. The rightmost wins, so that a column dragged down to nothing can be found again.
  int ColBorderAt(int x, int slop) const;

  // The width that fills the client area with the last column: client width less the
  // other columns and, with vertical lines, a line per column. nullopt when the other
  // columns already take the whole width.
  std::optional<int> StretchedLastWidth() const;

 private:
  std::vector<int> widths_;
  int rowCount_ = 0;
  int rowHeight_ = 24;
  int fixedCols_ = 0;
  int fixedRows_ = 0;
  int lineWidth_ = 1;
  bool fixedVert_ = true;
  bool fixedHorz_ = true;
  bool vert_ = true;
  bool horz_ = true;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  int topRow_ = 0;
  int leftCol_ = 0;
};

}  // namespace vantrel
