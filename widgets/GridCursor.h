// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The current cell of a grid, the anchor a range is drawn from and the selection, with
// the keyboard's and the mouse's moves as the grid makes them. No widget and no
// painting, so that every move is tested from plain numbers.
//
// Only scrollable cells (from the fixed columns and rows on, below the counts) can become
// current. A grid with no scrollable cell keeps its current cell at the first scrollable
// place, beyond the last row or column, as the grid has always kept it.

#include "GridTypes.h"

namespace vantrel {

class GridCursor {
 public:
  // The keys that move the current cell. kFirstRow and kLastRow are Ctrl+Home and
  // Ctrl+End; Home and End move within the row.
  enum class Key {
    kUp,
    kDown,
    kLeft,
    kRight,
    kPageUp,
    kPageDown,
    kHome,
    kEnd,
    kFirstRow,
    kLastRow
  };

  // The cells that may become current. Set as given; Clamp() brings the current cell
  // back among them.
  void SetBounds(int fixedCols, int fixedRows, int colCount, int rowCount);
  // With range selection a cell reached with Shift keeps the anchor; without it every
  // move selects the current cell alone.
  void SetRangeSelect(bool on) { rangeSelect_ = on; }
  // With row selection the selection spans every scrollable column of its rows.
  void SetRowSelect(bool on) { rowSelect_ = on; }

  CellCoord Current() const { return current_; }
  CellCoord Anchor() const { return anchor_; }
  CellRange Selection() const { return selection_; }
  bool IsCurrent(int col, int row) const { return col == current_.col && row == current_.row; }

  // Whether the cell can become current.
  bool IsSelectable(int col, int row) const;
  // The cell a key leads to from the current one, kept among the selectable cells; page
  // is the number of rows a page key moves. The current cell itself when there is
  // nowhere to go.
  CellCoord KeyTarget(Key key, int page) const;
  // Whether a key or click with Shift held extends the selection: only with range
  // selection. Control adds nothing of its own: a Ctrl+click selects as a click does.
  bool Extends(bool shift) const { return shift && rangeSelect_; }

  // Makes a selectable cell current; with keepAnchor (and range selection) the selection
  // runs from the anchor to it, otherwise the cell is selected alone. A cell that cannot
  // become current changes nothing and returns false.
  bool MoveTo(CellCoord cell, bool keepAnchor);
  // Puts the current cell back among the selectable cells, selecting it alone when it
  // moved; returns whether it moved. A shrunken row count draws a current row beyond it
  // back to the last row.
  bool Clamp();

  // Sets the current column or row as given, selecting the cell alone: new fixed
  // columns or rows start the grid afresh at its first scrollable cell.
  void ResetCol(int col);
  void ResetRow(int row);
  // Takes the current row of another table as it stands; the selection waits for the
  // next Clamp or move.
  void TakeRow(int row) { current_.row = row; }
  // Kept as given, even with edges out of order; the current cell and anchor stay.
  void SetSelection(const CellRange& selection) { selection_ = selection; }

 private:
  void SelectCurrentOnly();
  void SelectFromAnchor();

  int fixedCols_ = 0;
  int fixedRows_ = 0;
  int colCount_ = 0;
  int rowCount_ = 0;
  bool rangeSelect_ = false;
  bool rowSelect_ = false;
  CellCoord current_;
  CellCoord anchor_;
  CellRange selection_;
};

}  // namespace vantrel
