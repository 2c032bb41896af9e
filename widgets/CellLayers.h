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

enum class LayerKind { kCell, kColumn, kRow, kFixedColumn, kFixedRow };

// A cell's values as painting needs them. The font and brush point into the layers or
// the grid-wide values and stay valid until those change.
struct ResolvedCell {
  TCellAlign align = alLeft;
  TCellWordwrap wordwrap = ww_none;
  bool editable = true;
  const TLayerFont* font = nullptr;
  const QBrush* brush = nullptr;
  QColor selectedBackground;
  QColor selectedText;
};

class CellLayers : private LayerListener {
 public:
  // onChange runs after every change of an entry, its fonts and brushes, or a
  // grid-wide value.
  explicit CellLayers(std::function<void()> onChange = {});
  CellLayers(const CellLayers&) = delete;
  CellLayers& operator=(const CellLayers&) = delete;

  // The entry of a cell, column, row, fixed column or fixed row; created empty on first
  // use. The index of a cell is its column, and row is its row; the others ignore row.
  // Indexes run from 0 to 65535. References stay valid until the entry is replaced.
  TCellProperties& Entry(LayerKind kind, int index, int row = 0);
  const TCellProperties* FindEntry(LayerKind kind, int index, int row = 0) const;
  // A fresh, empty entry in place of whatever the index held.
  TCellProperties& ReplaceEntry(LayerKind kind, int index, int row = 0);
  // Indexes of a layer's entries in ascending order (cells by column, then row).
  std::vector<std::pair<int, int>> EntryIndexes(LayerKind kind) const;
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

  // The cell's values after the layers' precedence; painting reuses one ResolvedCell.
  void Resolve(int col, int row, ResolvedCell& out) const;
  ResolvedCell Resolve(int col, int row) const {
    ResolvedCell cell;
    Resolve(col, row, cell);
    return cell;
  }

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

  Table& TableOf(LayerKind kind);
  const Table& TableOf(LayerKind kind) const;
  static std::uint64_t KeyOf(LayerKind kind, int index, int row);
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
  TLayerBrush fixedBrush_{kSysBtnFace, kSolid};
  TLayerBrush background_{kSysWindow, kSolid};
  StoredColor selectedCellRef_ = kSysActiveCaption;
  StoredColor selectedFontRef_ = kWhite;
  QColor selectedCellColor_;
  QColor selectedFontColor_;
  int fixedCols_ = 0;
  int fixedRows_ = 0;
};

}  // namespace vantrel
