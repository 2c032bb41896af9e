// SPDX-License-Identifier: GPL-3.0-or-later
#include "CellTable.h"

#include <algorithm>

namespace vantrel {
namespace {
const std::string kEmpty;
}

CellTable::CellTable(int colCount, int rowCount)
    : colCount_(std::clamp(colCount, 0, kMaxCols)), rowCount_(std::clamp(rowCount, 0, kMaxRows)) {}

CellTable::CellTable(CellTable&& other) noexcept
    : colCount_(other.colCount_),
      rowCount_(other.rowCount_),
      texts_(std::move(other.texts_)),
      italics_(std::move(other.italics_)),
      currentRow_(other.currentRow_) {}

CellTable::~CellTable() {
  if (observer_ != nullptr) {
    observer_->TableDestroyed();
  }
}

void CellTable::SetColCount(int colCount) {
  colCount = std::clamp(colCount, 0, kMaxCols);
  if (colCount == colCount_) {
    return;
  }
  for (std::vector<std::string>& row : texts_) {
    row.resize(static_cast<std::size_t>(colCount));
  }
  if (colCount < colCount_) {
    std::erase_if(italics_, [colCount](std::uint64_t key) { return CellKeyCol(key) >= colCount; });
  }
  colCount_ = colCount;
  if (observer_ != nullptr) {
    observer_->ColCountChanged(colCount);
  }
}

void CellTable::SetRowCount(int rowCount) {
  rowCount = std::clamp(rowCount, 0, kMaxRows);
  if (rowCount == rowCount_) {
    return;
  }
  rowCount_ = rowCount;
  if (texts_.size() > static_cast<std::size_t>(rowCount)) {
    texts_.resize(static_cast<std::size_t>(rowCount));
  }
  if (observer_ != nullptr) {
    observer_->RowCountChanged(rowCount);
  }
}

const std::string& CellTable::Cell(int col, int row) const {
  if (!Addressable(col, row) || static_cast<std::size_t>(row) >= texts_.size()) {
    return kEmpty;
  }
  return texts_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void CellTable::SetCell(int col, int row, std::string text) {
  if (!Addressable(col, row)) {
    return;
  }
  const auto r = static_cast<std::size_t>(row);
  if (r >= texts_.size()) {
    if (text.empty()) {
      return;
    }
    texts_.resize(r + 1, std::vector<std::string>(static_cast<std::size_t>(colCount_)));
  }
  std::string& cell = texts_[r][static_cast<std::size_t>(col)];
  if (cell == text) {
    return;
  }
  cell = std::move(text);
  if (observer_ != nullptr) {
    observer_->CellChanged(col, row);
  }
}

bool CellTable::Italic(int col, int row) const {
  return italics_.count(CellKey(col, row)) != 0;
}

std::vector<std::pair<int, int>> CellTable::ItalicCells() const {
  std::vector<std::pair<int, int>> cells;
  cells.reserve(italics_.size());
  for (const std::uint64_t key : italics_) {
    cells.emplace_back(CellKeyCol(key), CellKeyRow(key));
  }
  return cells;
}

void CellTable::SetItalic(int col, int row, bool italic) {
  if (!Addressable(col, row)) {
    return;
  }
  const bool changed =
      italic ? italics_.insert(CellKey(col, row)).second : italics_.erase(CellKey(col, row)) != 0;
  if (changed && observer_ != nullptr) {
    observer_->ItalicChanged(col, row);
  }
}

void CellTable::SetCurrentRow(int row) {
  if (row == currentRow_) {
    return;
  }
  currentRow_ = row;
  if (observer_ != nullptr) {
    observer_->CurrentRowChanged(row);
  }
}

}  // namespace vantrel
