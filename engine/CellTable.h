// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lists of the program live in grids: the candidate list, the phrase, the affix
// offers and the lookup results are rows of text cells that the operations read back.
// CellTable is that grid content without any drawing: texts by column and row, a row
// count, a current row and italics per cell. The grid widget shows a CellTable and
// writes its own edits back into it; engine tests use one directly.

#include <cstdint>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace vantrel {

// The one key of a (column, row) pair in the hashed tables of cells (italics, hints,
// appearance entries): the column in the high half, the row in the low half.
constexpr std::uint64_t CellKey(int col, int row) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(col)) << 32) |
         static_cast<std::uint32_t>(row);
}
constexpr int CellKeyCol(std::uint64_t key) {
  return static_cast<int>(key >> 32);
}
constexpr int CellKeyRow(std::uint64_t key) {
  return static_cast<int>(key & 0xFFFFFFFFu);
}

class CellTable {
 public:
  // Told about every change, so that a view can repaint.
  class Observer {
   public:
    virtual ~Observer() = default;
    virtual void CellChanged(int col, int row) = 0;
    virtual void RowCountChanged(int rowCount) = 0;
    virtual void CurrentRowChanged(int row) = 0;
    virtual void ItalicChanged(int col, int row) = 0;
    virtual void ColCountChanged(int /*colCount*/) {}
    // The table is going away; the observer must let go of it.
    virtual void TableDestroyed() {}
  };

  CellTable(int colCount, int rowCount);
  ~CellTable();
  CellTable(const CellTable&) = delete;
  CellTable& operator=(const CellTable&) = delete;
  // The contents move; an observer stays with the table it watches.
  CellTable(CellTable&& other) noexcept;
  CellTable& operator=(CellTable&&) = delete;

  int ColCount() const { return colCount_; }
  // Columns added are empty; the texts and italics of columns cut off are dropped.
  static constexpr int kMaxCols = 256;
  void SetColCount(int colCount);
  int RowCount() const { return rowCount_; }

  // Growing adds empty rows; shrinking drops the texts of the rows cut off, so a row
  // shown again starts empty. Italics belong to the cell's font, not to its text, and stay.
  void SetRowCount(int rowCount);

  // Texts are Windows-1252 bytes. A cell below the last row still holds a text once
  // written, because the phrase stages a new word in a row that is not shown yet; only columns
  // outside the table and rows from kMaxRows on read as empty and ignore writes.
  static constexpr int kMaxRows = 65536;
  const std::string& Cell(int col, int row) const;
  void SetCell(int col, int row, std::string text);

  bool Italic(int col, int row) const;
  void SetItalic(int col, int row, bool italic);
  // The italic cells as (column, row), in no particular order.
  std::vector<std::pair<int, int>> ItalicCells() const;

  int CurrentRow() const { return currentRow_; }
  void SetCurrentRow(int row);

  // At most one observer; nullptr detaches it.
  void SetObserver(Observer* observer) { observer_ = observer; }

 private:
  bool Addressable(int col, int row) const {
    return col >= 0 && col < colCount_ && row >= 0 && row < kMaxRows;
  }

  int colCount_;
  int rowCount_ = 0;
  // Texts of rows 0 to texts_.size() - 1, possibly more rows than rowCount_.
  std::vector<std::vector<std::string>> texts_;
  std::unordered_set<std::uint64_t> italics_;
  int currentRow_ = 0;
  Observer* observer_ = nullptr;
};

}  // namespace vantrel
