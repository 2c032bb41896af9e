// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The five appearance layers of a grid and the grid-wide values behind them, and the
// resolution of a cell's alignment, word wrap, editability, font, brush and selection
// colours from them. No painting and no widget: the grid paints what this class says.
//
// Layers are sparse: an entry exists only for a cell, column or row that something was
// set for, so a grid of thousands of rows with one row entry holds one entry.
// Resolution looks at no more than three entries per value and allocates nothing.

#include "CellProperties.h"
#include "CellTable.h"

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace vantrel {

enum class TLayerKind { Cell, Column, Row, FixedColumn, FixedRow };

// A cell's values as painting needs them. The font and brush point into the layers or
// the grid-wide values and stay valid until those change.
struct TResolvedCell {
  TCellAlign align = alLeft;
  TCellWordwrap wordwrap = ww_none;
  bool editable = true;
  const TLayerFont* font = nullptr;
  const QBrush* brush = nullptr;
  QColor selectedBackground;
  QColor selectedText;
};

class TCellLayers : private LayerListener {
 public:
  // onChange runs after every change of an entry, its fonts and brushes, or a
  // grid-wide value.
  explicit TCellLayers(std::function<void()> onChange = {});
  TCellLayers(const TCellLayers&) = delete;
  TCellLayers& operator=(const TCellLayers&) = delete;

  // The entry of a cell, column, row, fixed column or fixed row; created empty on first
  // use. The index of a cell is its column, and row is its row; the others ignore row.
  // Indexes run from 0 to 65535. References stay valid until the entry is replaced.
  TCellProperties& Entry(TLayerKind kind, int index, int row = 0);
  const TCellProperties* FindEntry(TLayerKind kind, int index, int row = 0) const;
  // A fresh, empty entry in place of whatever the index held.
  TCellProperties& ReplaceEntry(TLayerKind kind, int index, int row = 0);
  // Indexes of a layer's entries in ascending order (cells by column, then row).
  std::vector<std::pair<int, int>> EntryIndexes(TLayerKind kind) const;
  std::size_t EntryCount() const;

  // The font of a cell, for changing it. A cell without a font of its own first gets
  // an entry and a copy of the grid's font (not the column's, row's or fixed font).
  TLayerFont& CellFont(int col, int row);

  // Grid-wide values, used where no layer sets one.
  TCellAlign Alignment() const { return alignment_; }
  void SetAlignment(TCellAlign align);
  TCellWordwrap Wordwrap() const { return wordwrap_; }
  void SetWordwrap(TCellWordwrap wordwrap);
  bool Editable() const { return editable_; }
  void SetEditable(bool editable);
  // The grid's font, and the font and brush of fixed cells that no layer covers.
  TLayerFont& GridFont() { return gridFont_; }
  const TLayerFont& GridFont() const { return gridFont_; }
  TLayerFont& FixedFont() { return fixedFont_; }
  TLayerBrush& FixedBrush() { return fixedBrush_; }
  const TLayerBrush& FixedBrush() const { return fixedBrush_; }
  TLayerBrush& Background() { return background_; }
  const TLayerBrush& Background() const { return background_; }
  QColor SelectedCellColor() const { return selectedCellColor_; }
  void SetSelectedCellColor(const QColor& color);
  QColor SelectedFontColor() const { return selectedFontColor_; }
  void SetSelectedFontColor(const QColor& color);

  int FixedCols() const { return fixedCols_; }
  int FixedRows() const { return fixedRows_; }
  void SetFixed(int fixedCols, int fixedRows);
  bool IsFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }

  void Resolve(int col, int row, TResolvedCell& out) const;
  TCellAlign ResolvedAlign(int col, int row) const;
  TCellWordwrap ResolvedWordwrap(int col, int row) const;
  bool ResolvedEditable(int col, int row) const;
  const TLayerFont& ResolvedFont(int col, int row) const;
  const QBrush& ResolvedBrush(int col, int row) const;
  QColor ResolvedSelectedBackground(int col, int row) const;
  QColor ResolvedSelectedText(int col, int row) const;

  // Looks up every system colour again, after the palette has changed.
  void RefreshColors();

 private:
  using Table = std::unordered_map<std::uint64_t, TCellProperties>;

  // The cell's own entry, then the column's, then the row's: the fixed ones for a fixed
  // cell. Selection colours always take the ordinary column and row.
  struct Chain {
    const TCellProperties* entries[3];
  };
  Chain LookChain(int col, int row, bool fixedLayers) const;

  Table& TableOf(TLayerKind kind);
  const Table& TableOf(TLayerKind kind) const;
  static std::uint64_t KeyOf(TLayerKind kind, int index, int row);
  void LayerChanged() override;

  std::function<void()> onChange_;
  Table cells_;
  Table cols_;
  Table rows_;
  Table fixedColLayer_;
  Table fixedRowLayer_;

  TCellAlign alignment_ = alLeft;
  TCellWordwrap wordwrap_ = ww_none;
  bool editable_ = true;
  TLayerFont gridFont_;
  TLayerFont fixedFont_;
  TLayerBrush fixedBrush_{kSysBtnFace, bsSolid};
  TLayerBrush background_{kSysWindow, bsSolid};
  TColorRef selectedCellRef_ = kSysActiveCaption;
  TColorRef selectedFontRef_ = kWhite;
  QColor selectedCellColor_;
  QColor selectedFontColor_;
  int fixedCols_ = 0;
  int fixedRows_ = 0;
};

}  // namespace vantrel
