// SPDX-License-Identifier: GPL-3.0-or-later
#include "GridGeometry.h"

#include <algorithm>

namespace vantrel {

void GridGeometry::SetColCount(int count, int width) {
  widths_.resize(static_cast<std::size_t>(std::max(count, 0)), width);
}

void GridGeometry::SetLines(bool fixedVert, bool fixedHorz, bool vert, bool horz) {
  fixedVert_ = fixedVert;
  fixedHorz_ = fixedHorz;
  vert_ = vert;
  horz_ = horz;
}

void GridGeometry::SetClientSize(int width, int height) {
  clientWidth_ = std::max(width, 0);
  clientHeight_ = std::max(height, 0);
}

int GridGeometry::ColPitch(int col) const {
  const bool line = col < fixedCols_ ? fixedVert_ : vert_;
  return ColWidth(col) + (line ? lineWidth_ : 0);
}

int GridGeometry::RowPitch(int row) const {
  const bool line = row < fixedRows_ ? fixedHorz_ : horz_;
  return rowHeight_ + (line ? lineWidth_ : 0);
}

int GridGeometry::FixedWidth() const {
  int width = 0;
  for (int col = 0; col < std::min(fixedCols_, ColCount()); ++col) {
    width += ColPitch(col);
  }
  return width;
}

int GridGeometry::FixedHeight() const {
  return fixedRows_ * RowPitch(0);
}

std::optional<int> GridGeometry::ColLeft(int col) const {
  if (col < fixedCols_) {
    int x = 0;
    for (int c = 0; c < col; ++c) {
      x += ColPitch(c);
    }
    return x;
  }
  if (col < leftCol_) {
    return std::nullopt;
  }
  int x = FixedWidth();
  for (int c = leftCol_; c < col; ++c) {
    x += ColPitch(c);
  }
  return x;
}

std::optional<int> GridGeometry::RowTop(int row) const {
  if (row < fixedRows_) {
    return row * RowPitch(0);
  }
  if (row < topRow_) {
    return std::nullopt;
  }
  return FixedHeight() + (row - topRow_) * RowPitch(fixedRows_);
}

QRect GridGeometry::CellRect(int col, int row) const {
  const std::optional<int> x = ColLeft(col);
  const std::optional<int> y = RowTop(row);
  if (!x || !y) {
    return {};
  }
  return {*x, *y, ColWidth(col), rowHeight_};
}

CellCoord GridGeometry::CellAt(QPoint point) const {
  if (point.x() < 0 || point.y() < 0 || point.x() >= clientWidth_ || point.y() >= clientHeight_) {
    return {};
  }
  int col = -1;
  int x = 0;
  for (int c = 0; c < ColCount(); ++c) {
    if (c == fixedCols_) {
      c = std::max(c, leftCol_);
      if (c >= ColCount()) {
        break;
      }
    }
    x += ColPitch(c);
    if (point.x() < x) {
      col = c;
      break;
    }
  }

  int row = -1;
  const int fixedHeight = FixedHeight();
  if (point.y() < fixedHeight) {
    row = point.y() / RowPitch(0);
  } else {
    row = topRow_ + (point.y() - fixedHeight) / std::max(RowPitch(fixedRows_), 1);
  }
  if (col < 0 || row >= rowCount_) {
    return {};
  }
  return {col, row};
}

int GridGeometry::RowsThatFit() const {
  const int free = clientHeight_ - FixedHeight();
  if (free < rowHeight_) {
    return 1;
  }
  return (free - rowHeight_) / std::max(RowPitch(fixedRows_), 1) + 1;
}

int GridGeometry::VisibleRowCount() const {
  const int free = clientHeight_ - FixedHeight();
  const int fit = free < rowHeight_ ? 0 : RowsThatFit();
  return std::clamp(rowCount_ - topRow_, 0, fit);
}

int GridGeometry::LastVisibleRow() const {
  const int free = clientHeight_ - FixedHeight();
  if (free <= 0) {
    return std::min(fixedRows_, rowCount_) - 1;
  }
  const int pitch = std::max(RowPitch(fixedRows_), 1);
  const int shown = (free + pitch - 1) / pitch;
  return std::min(topRow_ + shown, rowCount_) - 1;
}

int GridGeometry::LastVisibleCol() const {
  int x = FixedWidth();
  int last = std::min(fixedCols_, ColCount()) - 1;
  for (int c = std::max(leftCol_, fixedCols_); c < ColCount() && x < clientWidth_; ++c) {
    last = c;
    x += ColPitch(c);
  }
  return last;
}

int GridGeometry::MaxTopRow() const {
  return std::max(fixedRows_, rowCount_ - RowsThatFit());
}

int GridGeometry::MaxLeftCol() const {
  const int free = clientWidth_ - FixedWidth();
  int left = ColCount() - 1;
  int used = left >= fixedCols_ ? ColPitch(left) : 0;
  while (left - 1 >= fixedCols_ && used + ColPitch(left - 1) <= free) {
    --left;
    used += ColPitch(left);
  }
  return std::max(left, fixedCols_);
}

bool GridGeometry::ClampScroll() {
  const int top = std::clamp(topRow_, fixedRows_, MaxTopRow());
  const int left = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, MaxLeftCol()));
  const bool moved = top != topRow_ || left != leftCol_;
  topRow_ = top;
  leftCol_ = left;
  return moved;
}

int GridGeometry::ColBorderAt(int x, int slop) const {
  for (int c = LastVisibleCol(); c >= 0; --c) {
    if (c >= fixedCols_ && c < leftCol_) {
      c = fixedCols_;  // scrolled out of view: go on with the fixed columns
      continue;
    }
    const std::optional<int> left = ColLeft(c);
    if (!left) {
      continue;
    }
    const int border = *left + ColWidth(c);
    const int line = ColPitch(c) - ColWidth(c);
    if (x >= border - slop && x < border + line + slop) {
      return c;
    }
  }
  return -1;
}

std::optional<int> GridGeometry::StretchedLastWidth() const {
  if (ColCount() == 0) {
    return std::nullopt;
  }
  int others = 0;
  for (int c = 0; c + 1 < ColCount(); ++c) {
    others += ColWidth(c);
  }
  if (clientWidth_ <= others) {
    return std::nullopt;
  }
  const int lines = AnyVertLines() ? ColCount() * lineWidth_ : 0;
  // Between the other columns and their lines a negative width could come out; a
  // column is never narrower than nothing.
  return std::max(clientWidth_ - others - lines, 0);
}

}  // namespace vantrel
