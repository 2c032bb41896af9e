// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grid's keyboard clipboard commands on a cell table: the text that copy puts on the
// clipboard, the cells that cut empties and what paste writes. Texts are the table's
// Windows-1252 bytes; the grid converts at the clipboard.

#include "CellTable.h"
#include "GridTypes.h"

#include <climits>
#include <string>
#include <string_view>

namespace vantrel {

// A paste never adds more rows than this, so that a huge clipboard cannot use up memory.
inline constexpr int kPasteRowLimit = 10000;

// Edges below 0 count as 0. A right or bottom edge before its left or top edge reaches
// the last column or row when copying or cutting, and has no bound (INT_MAX) when
// pasting. Copy ranges end at the table's last column and row.
CellRange CopyRange(const CellRange& selection, int colCount, int rowCount);
CellRange PasteRange(const CellRange& selection);

// Every selected row as its cells' texts, each followed by a TAB, the row ended by CR LF.
std::string SelectionText(const CellTable& table, const CellRange& selection);

// Empties every selected cell.
void ClearSelection(CellTable& table, const CellRange& selection);

// Writes text into the selection from its top-left cell: one line per row (CR LF, LF or
// CR end a line), fields separated by TAB, left to right, no further than the
// selection's last column and row. A TAB at the end of a line ends the last field and
// starts no new one. Rows and columns beyond the table's end are added, at most
// kPasteRowLimit rows and up to the table's column limit.
void PasteIntoTable(CellTable& table, const CellRange& selection, std::string_view text);

}  // namespace vantrel
