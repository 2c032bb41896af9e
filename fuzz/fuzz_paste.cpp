// SPDX-License-Identifier: GPL-3.0-or-later
// Any clipboard text pasted into any selection of a grid: the paste writes exactly the
// fields of its lines into the selection from its top-left cell, leaves every other cell
// as it was, and grows the table no further than its limits.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CellTable.h"
#include "GridClipboard.h"

namespace {

std::string Old(int col, int row) {
  return "x" + std::to_string(col) + "," + std::to_string(row);
}

// The lines of the text: CR LF, LF or CR end one; a break at the very end starts none.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
      ++end;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size()) {
      pos += text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
    }
  }
  return lines;
}

std::vector<std::string> Fields(std::string_view line) {
  if (!line.empty() && line.back() == '\t') {
    line.remove_suffix(1);
  }
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) {
      return fields;
    }
    start = tab + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) {
    return 0;
  }
  const int cols = 1 + data[0] % 4;
  const int rows = data[1] % 8;
  // Edges from -2 on, a right or bottom edge before its left or top one included; 0xFF
  // stands for an edge far beyond the table.
  auto edge = [](std::uint8_t byte) { return byte == 0xFF ? 1000000 : byte % 12 - 2; };
  const vantrel::CellRange selection{edge(data[2]), edge(data[3]), edge(data[4]), edge(data[5])};
  const std::string_view text(reinterpret_cast<const char*>(data) + 6, size - 6);

  vantrel::CellTable table(cols, rows);
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      table.SetCell(col, row, Old(col, row));
    }
  }
  vantrel::PasteIntoTable(table, selection, text);

  if (table.RowCount() < rows || table.RowCount() > rows + vantrel::kPasteRowLimit ||
      table.ColCount() < cols || table.ColCount() > vantrel::CellTable::kMaxCols) {
    __builtin_trap();
  }
  const vantrel::CellRange range = vantrel::PasteRange(selection);
  const std::vector<std::string_view> lines = Lines(text);
  for (int row = 0; row < table.RowCount(); ++row) {
    const std::int64_t line = std::int64_t{row} - range.top;
    const bool rowPasted =
        row >= range.top && row <= range.bottom && line < static_cast<std::int64_t>(lines.size());
    const std::vector<std::string> fields =
        rowPasted ? Fields(lines[static_cast<std::size_t>(line)]) : std::vector<std::string>{};
    for (int col = 0; col < table.ColCount(); ++col) {
      const std::int64_t field = std::int64_t{col} - range.left;
      std::string want = row < rows && col < cols ? Old(col, row) : std::string();
      if (rowPasted && col >= range.left && col <= range.right &&
          field < static_cast<std::int64_t>(fields.size())) {
        want = fields[static_cast<std::size_t>(field)];
      }
      if (table.Cell(col, row) != want) {
        __builtin_trap();
      }
    }
  }
  return 0;
}
