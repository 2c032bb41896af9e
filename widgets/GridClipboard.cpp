// SPDX-License-Identifier: GPL-3.0-or-later
#include "GridClipboard.h"

#include <algorithm>
#include <cstdint>

namespace vantrel {
namespace {

// Lines of clipboard text, read in place. A line break at the very end starts no
// further, empty line.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}

  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) {
      return false;
    }
    const std::size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) {
      line = text_.substr(pos_);
      pos_ = text_.size();
      return true;
    }
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') {
      ++pos_;
    }
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

void PasteLine(CellTable& table, const CellRange& range, int row, std::string_view line) {
  // Copy ends every cell with a TAB; that last one separates nothing.
  if (!line.empty() && line.back() == '\t') {
    line.remove_suffix(1);
  }
  const std::int64_t lastCol = std::min<std::int64_t>(range.right, table.ColCount() - 1);
  std::int64_t col = range.left;
  std::size_t start = 0;
  while (col <= lastCol) {
    const std::size_t tab = line.find('\t', start);
    const std::string_view field =
        line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
    table.SetCell(static_cast<int>(col), row, std::string(field));
    if (tab == std::string_view::npos) {
      break;
    }
    start = tab + 1;
    ++col;
  }
}

}  // namespace

CellRange CopyRange(const CellRange& selection, int colCount, int rowCount) {
  CellRange range;
  range.left = std::max(selection.left, 0);
  range.top = std::max(selection.top, 0);
  range.right =
      selection.right < selection.left ? colCount - 1 : std::min(selection.right, colCount - 1);
  range.bottom =
      selection.bottom < selection.top ? rowCount - 1 : std::min(selection.bottom, rowCount - 1);
  return range;
}

CellRange PasteRange(const CellRange& selection) {
  CellRange range;
  range.left = std::max(selection.left, 0);
  range.top = std::max(selection.top, 0);
  range.right = selection.right < selection.left ? INT_MAX : selection.right;
  range.bottom = selection.bottom < selection.top ? INT_MAX : selection.bottom;
  return range;
}

std::string SelectionText(const CellTable& table, const CellRange& selection) {
  const CellRange range = CopyRange(selection, table.ColCount(), table.RowCount());
  std::string text;
  for (int row = range.top; row <= range.bottom; ++row) {
    for (int col = range.left; col <= range.right; ++col) {
      text += table.Cell(col, row);
      text += '\t';
    }
    text += "\r\n";
  }
  return text;
}

void ClearSelection(CellTable& table, const CellRange& selection) {
  const CellRange range = CopyRange(selection, table.ColCount(), table.RowCount());
  for (int row = range.top; row <= range.bottom; ++row) {
    for (int col = range.left; col <= range.right; ++col) {
      table.SetCell(col, row, std::string());
    }
  }
}

void PasteIntoTable(CellTable& table, const CellRange& selection, std::string_view text) {
  const CellRange range = PasteRange(selection);
  const std::int64_t rowLimit =
      std::min<std::int64_t>(range.bottom, std::int64_t{table.RowCount()} - 1 + kPasteRowLimit);

  // Grow the table once, to the last row and column that the text reaches and may be
  // written.
  std::int64_t lastRow = std::int64_t{range.top} - 1;
  std::int64_t fields = 0;
  LineCursor counter(text);
  std::string_view line;
  while (lastRow < rowLimit && counter.Next(line)) {
    ++lastRow;
    if (!line.empty() && line.back() == '\t') {
      line.remove_suffix(1);
    }
    fields = std::max<std::int64_t>(fields, std::count(line.begin(), line.end(), '\t') + 1);
  }
  if (lastRow < range.top) {
    return;
  }
  if (lastRow >= table.RowCount()) {
    table.SetRowCount(static_cast<int>(lastRow + 1));
  }
  const std::int64_t lastCol = std::min<std::int64_t>(
      {range.right, std::int64_t{range.left} + fields - 1, CellTable::kMaxCols - 1});
  if (lastCol >= table.ColCount()) {
    table.SetColCount(static_cast<int>(lastCol + 1));
  }

  LineCursor lines(text);
  for (std::int64_t row = range.top; row <= lastRow && lines.Next(line); ++row) {
    PasteLine(table, range, static_cast<int>(row), line);
  }
}

}  // namespace vantrel
