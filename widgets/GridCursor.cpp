// SPDX-License-Identifier: GPL-3.0-or-later
#include "GridCursor.h"

#include <algorithm>

namespace vantrel {

void GridCursor::SetBounds(int fixedCols, int fixedRows, int colCount, int rowCount) {
  fixedCols_ = fixedCols;
  fixedRows_ = fixedRows;
  colCount_ = colCount;
  rowCount_ = rowCount;
}

bool GridCursor::IsSelectable(int col, int row) const {
  return col >= fixedCols_ && row >= fixedRows_ && col < colCount_ && row < rowCount_;
}

CellCoord GridCursor::KeyTarget(Key key, int page) const {
  int col = current_.col;
  int row = current_.row;
  switch (key) {
    case Key::kUp:
      --row;
      break;
    case Key::kDown:
      ++row;
      break;
    case Key::kLeft:
      --col;
      break;
    case Key::kRight:
      ++col;
      break;
    case Key::kPageUp:
      row -= page;
      break;
    case Key::kPageDown:
      row += page;
      break;
    case Key::kHome:
      col = fixedCols_;
      break;
    case Key::kEnd:
      col = colCount_ - 1;
      break;
    case Key::kFirstRow:
      row = fixedRows_;
      break;
    case Key::kLastRow:
      row = rowCount_ - 1;
      break;
  }
  col = std::clamp(col, fixedCols_, std::max(fixedCols_, colCount_ - 1));
  row = std::clamp(row, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
  return {col, row};
}

bool GridCursor::MoveTo(CellCoord cell, bool keepAnchor) {
  if (!IsSelectable(cell.col, cell.row)) {
    return false;
  }
  current_ = cell;
  if (!keepAnchor || !rangeSelect_) {
    anchor_ = current_;
  }
  SelectFromAnchor();
  return true;
}

bool GridCursor::Clamp() {
  CellCoord cell = current_;
  cell.col = std::clamp(cell.col, fixedCols_, std::max(fixedCols_, colCount_ - 1));
  cell.row = std::clamp(cell.row, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
  if (cell == current_) {
    return false;
  }
  current_ = cell;
  SelectCurrentOnly();
  return true;
}

void GridCursor::ResetCol(int col) {
  current_.col = col;
  SelectCurrentOnly();
}

void GridCursor::ResetRow(int row) {
  current_.row = row;
  SelectCurrentOnly();
}

void GridCursor::SelectCurrentOnly() {
  anchor_ = current_;
  SelectFromAnchor();
}

void GridCursor::SelectFromAnchor() {
  selection_ = {std::min(anchor_.col, current_.col), std::min(anchor_.row, current_.row),
                std::max(anchor_.col, current_.col), std::max(anchor_.row, current_.row)};
  if (rowSelect_) {
    selection_.left = fixedCols_;
    selection_.right = colCount_ - 1;
  }
}

}  // namespace vantrel
