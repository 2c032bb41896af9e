#include "CellTable.h"

#include <algorithm>

namespace vantrel {
namespace {
const std::string kEmpty;
}

CellTable::CellTable(int colCount, int rowCount) : colCount_(std::max(colCount, 0)) {
  rows_.resize(static_cast<std::size_t>(std::max(rowCount, 0)),
               std::vector<std::string>(static_cast<std::size_t>(colCount_)));
}

void CellTable::SetRowCount(int rowCount) {
  rowCount = std::max(rowCount, 0);
  if (rowCount == RowCount()) {
    return;
  }
  rows_.resize(static_cast<std::size_t>(rowCount),
               std::vector<std::string>(static_cast<std::size_t>(colCount_)));
  if (observer_ != nullptr) {
    observer_->RowCountChanged(rowCount);
  }
}

const std::string& CellTable::Cell(int col, int row) const {
  if (!Inside(col, row)) {
    return kEmpty;
  }
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void CellTable::SetCell(int col, int row, std::string text) {
  if (!Inside(col, row)) {
    return;
  }
  std::string& cell = rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
  if (cell == text) {
    return;
  }
  cell = std::move(text);
  if (observer_ != nullptr) {
    observer_->CellChanged(col, row);
  }
}

bool CellTable::Italic(int col, int row) const { return italics_.count(Key(col, row)) != 0; }

void CellTable::SetItalic(int col, int row, bool italic) {
  if (col < 0 || row < 0) {
    return;
  }
  const bool changed = italic ? italics_.insert(Key(col, row)).second
                              : italics_.erase(Key(col, row)) != 0;
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
