// SPDX-License-Identifier: GPL-3.0-or-later
#include "CellLayers.h"

#include <QGuiApplication>

#include <algorithm>
#include <stdexcept>

namespace vantrel {
namespace {

constexpr int kMaxLayerIndex = 65535;

const TCellProperties* Find(const std::unordered_map<std::uint64_t, TCellProperties>& table,
                            std::uint64_t key) {
  if (table.empty()) {
    return nullptr;
  }
  const auto it = table.find(key);
  return it == table.end() ? nullptr : &it->second;
}

}  // namespace

TCellLayers::TCellLayers(std::function<void()> onChange)
    : onChange_(std::move(onChange)),
      gridFont_(QGuiApplication::font(), kSysWindowText),
      // The fixed cells keep the application font, whatever font the grid is given.
      fixedFont_(QGuiApplication::font(), kSysWindowText),
      selectedCellColor_(ColorFromRef(selectedCellRef_)),
      selectedFontColor_(ColorFromRef(selectedFontRef_)) {
  LayerListener* listener = this;
  gridFont_.SetListener(listener);
  fixedFont_.SetListener(listener);
  fixedBrush_.SetListener(listener);
  background_.SetListener(listener);
}

TCellLayers::Table& TCellLayers::TableOf(TLayerKind kind) {
  return const_cast<Table&>(static_cast<const TCellLayers*>(this)->TableOf(kind));
}

const TCellLayers::Table& TCellLayers::TableOf(TLayerKind kind) const {
  switch (kind) {
    case TLayerKind::Cell:
      return cells_;
    case TLayerKind::Column:
      return cols_;
    case TLayerKind::Row:
      return rows_;
    case TLayerKind::FixedColumn:
      return fixedColLayer_;
    case TLayerKind::FixedRow:
      break;
  }
  return fixedRowLayer_;
}

std::uint64_t TCellLayers::KeyOf(TLayerKind kind, int index, int row) {
  const bool cell = kind == TLayerKind::Cell;
  if (index < 0 || index > kMaxLayerIndex || (cell && (row < 0 || row > kMaxLayerIndex))) {
    throw std::out_of_range("Range check error");
  }
  return cell ? CellKey(index, row) : CellKey(index, 0);
}

TCellProperties& TCellLayers::Entry(TLayerKind kind, int index, int row) {
  return TableOf(kind)
      .try_emplace(KeyOf(kind, index, row), static_cast<LayerListener*>(this))
      .first->second;
}

const TCellProperties* TCellLayers::FindEntry(TLayerKind kind, int index, int row) const {
  return Find(TableOf(kind), KeyOf(kind, index, row));
}

TCellProperties& TCellLayers::ReplaceEntry(TLayerKind kind, int index, int row) {
  TCellProperties& entry = Entry(kind, index, row);
  entry = TCellProperties(static_cast<LayerListener*>(this));
  LayerChanged();
  return entry;
}

std::vector<std::pair<int, int>> TCellLayers::EntryIndexes(TLayerKind kind) const {
  std::vector<std::pair<int, int>> indexes;
  for (const auto& [key, entry] : TableOf(kind)) {
    indexes.emplace_back(CellKeyCol(key), CellKeyRow(key));
  }
  std::sort(indexes.begin(), indexes.end());
  return indexes;
}

std::size_t TCellLayers::EntryCount() const {
  return cells_.size() + cols_.size() + rows_.size() + fixedColLayer_.size() +
         fixedRowLayer_.size();
}

TLayerFont& TCellLayers::CellFont(int col, int row) {
  TCellProperties& entry = Entry(TLayerKind::Cell, col, row);
  if (TLayerFont* font = entry.Font()) {
    return *font;
  }
  return entry.SetFont(gridFont_);
}

void TCellLayers::SetAlignment(TCellAlign align) {
  alignment_ = align;
  LayerChanged();
}

void TCellLayers::SetWordwrap(TCellWordwrap wordwrap) {
  wordwrap_ = wordwrap;
  LayerChanged();
}

void TCellLayers::SetEditable(bool editable) {
  editable_ = editable;
  LayerChanged();
}

void TCellLayers::SetSelectedCellColor(const QColor& color) {
  selectedCellRef_ = RefFromColor(color);
  selectedCellColor_ = ColorFromRef(selectedCellRef_);
  LayerChanged();
}

void TCellLayers::SetSelectedFontColor(const QColor& color) {
  selectedFontRef_ = RefFromColor(color);
  selectedFontColor_ = ColorFromRef(selectedFontRef_);
  LayerChanged();
}

void TCellLayers::SetFixed(int fixedCols, int fixedRows) {
  fixedCols_ = fixedCols;
  fixedRows_ = fixedRows;
  LayerChanged();
}

TCellLayers::Chain TCellLayers::LookChain(int col, int row, bool fixedLayers) const {
  Chain chain{};
  if (col < 0 || row < 0) {
    return chain;
  }
  chain.entries[0] = Find(cells_, CellKey(col, row));
  chain.entries[1] = Find(fixedLayers ? fixedColLayer_ : cols_, CellKey(col, 0));
  chain.entries[2] = Find(fixedLayers ? fixedRowLayer_ : rows_, CellKey(row, 0));
  return chain;
}

void TCellLayers::Resolve(int col, int row, TResolvedCell& out) const {
  const bool fixed = IsFixed(col, row);
  const Chain chain = LookChain(col, row, fixed);

  out.align = alDefault;
  out.wordwrap = ww_default;
  out.font = nullptr;
  out.brush = nullptr;
  std::uint8_t editable = kEditableNotSet;
  for (const TCellProperties* entry : chain.entries) {
    if (entry == nullptr) {
      continue;
    }
    if (out.align == alDefault) {
      out.align = entry->Align();
    }
    if (out.wordwrap == ww_default) {
      out.wordwrap = entry->Wordwrap();
    }
    if (editable == kEditableNotSet) {
      editable = entry->Editable();
    }
    if (out.font == nullptr) {
      out.font = entry->Font();
    }
    if (out.brush == nullptr && entry->Brush() != nullptr) {
      out.brush = &entry->Brush()->Brush();
    }
  }
  if (out.align == alDefault) {
    out.align = alignment_ == alDefault ? alLeft : alignment_;
  }
  if (out.wordwrap == ww_default) {
    out.wordwrap = wordwrap_ == ww_default ? ww_none : wordwrap_;
  }
  // Only 2 makes a cell editable; any other value that is set says no.
  out.editable = editable == kEditableNotSet ? editable_ : editable == kEditable;
  if (out.font == nullptr) {
    out.font = fixed ? &fixedFont_ : &gridFont_;
  }
  if (out.brush == nullptr) {
    out.brush = fixed ? &fixedBrush_.Brush() : &background_.Brush();
  }

  const Chain selection = fixed ? LookChain(col, row, false) : chain;
  out.selectedBackground = selectedCellColor_;
  out.selectedText = selectedFontColor_;
  for (const TCellProperties* entry : selection.entries) {
    if (entry != nullptr && entry->SelectedBrush() != nullptr) {
      out.selectedBackground = entry->SelectedBrush()->Color();
      break;
    }
  }
  for (const TCellProperties* entry : selection.entries) {
    if (entry != nullptr && entry->SelectedFont() != nullptr) {
      out.selectedText = entry->SelectedFont()->Color();
      break;
    }
  }
}

TCellAlign TCellLayers::ResolvedAlign(int col, int row) const {
  TResolvedCell cell;
  Resolve(col, row, cell);
  return cell.align;
}

TCellWordwrap TCellLayers::ResolvedWordwrap(int col, int row) const {
  TResolvedCell cell;
  Resolve(col, row, cell);
  return cell.wordwrap;
}

bool TCellLayers::ResolvedEditable(int col, int row) const {
  TResolvedCell cell;
  Resolve(col, row, cell);
  return cell.editable;
}

const TLayerFont& TCellLayers::ResolvedFont(int col, int row) const {
  TResolvedCell cell;
  Resolve(col, row, cell);
  return *cell.font;
}

const QBrush& TCellLayers::ResolvedBrush(int col, int row) const {
  TResolvedCell cell;
  Resolve(col, row, cell);
  return *cell.brush;
}

QColor TCellLayers::ResolvedSelectedBackground(int col, int row) const {
  TResolvedCell cell;
  Resolve(col, row, cell);
  return cell.selectedBackground;
}

QColor TCellLayers::ResolvedSelectedText(int col, int row) const {
  TResolvedCell cell;
  Resolve(col, row, cell);
  return cell.selectedText;
}

void TCellLayers::RefreshColors() {
  for (Table* table : {&cells_, &cols_, &rows_, &fixedColLayer_, &fixedRowLayer_}) {
    for (auto& [key, entry] : *table) {
      entry.RefreshColors();
    }
  }
  gridFont_.RefreshColor();
  fixedFont_.RefreshColor();
  fixedBrush_.RefreshColor();
  background_.RefreshColor();
  selectedCellColor_ = ColorFromRef(selectedCellRef_);
  selectedFontColor_ = ColorFromRef(selectedFontRef_);
  LayerChanged();
}

void TCellLayers::LayerChanged() {
  if (onChange_) {
    onChange_();
  }
}

}  // namespace vantrel
