// SPDX-License-Identifier: GPL-3.0-or-later
#include "GridDesign.h"

#include "Codepage.h"

namespace vantrel {
namespace {

TLayerFont FontOf(const DesignFont& font) {
  return TLayerFont(font.color, font.height, QString::fromStdString(Cp1252ToUtf8(font.name)),
                    font.pitch, font.style);
}

DesignFont DesignOf(const TLayerFont& font) {
  DesignFont design;
  design.color = font.ColorRef();
  design.height = font.Height();
  design.name = Utf8ToCp1252(font.Name().toStdString());
  design.pitch = font.Pitch();
  design.style = font.Style();
  return design;
}

DesignBrush DesignOf(const TLayerBrush& brush) {
  return DesignBrush{brush.ColorRef(), brush.Style()};
}

void Fill(TCellProperties& entry, const DesignEntry& design) {
  entry.SetAlign(static_cast<TCellAlign>(design.align));
  entry.SetWordwrap(static_cast<TCellWordwrap>(design.wordwrap));
  entry.SetEditable(design.editable);
  if (design.brush) {
    entry.SetBrush(TLayerBrush(design.brush->color, design.brush->style));
  }
  if (design.selectedBrush) {
    entry.SetSelectedBrush(TLayerBrush(design.selectedBrush->color, design.selectedBrush->style));
  }
  if (design.font) {
    entry.SetFont(FontOf(*design.font));
  }
  if (design.selectedFont) {
    entry.SetSelectedFont(FontOf(*design.selectedFont));
  }
}

DesignEntry DesignOf(const TCellProperties& entry) {
  DesignEntry design;
  design.align = entry.Align();
  design.wordwrap = entry.Wordwrap();
  design.editable = entry.Editable();
  if (const TLayerBrush* brush = entry.Brush()) {
    design.brush = DesignOf(*brush);
  }
  if (const TLayerBrush* brush = entry.SelectedBrush()) {
    design.selectedBrush = DesignOf(*brush);
  }
  if (const TLayerFont* font = entry.Font()) {
    design.font = DesignOf(*font);
  }
  if (const TLayerFont* font = entry.SelectedFont()) {
    design.selectedFont = DesignOf(*font);
  }
  return design;
}

void ApplyIndexed(TCellLayers& layers, TLayerKind kind,
                  const std::vector<DesignIndexEntry>& entries) {
  for (const DesignIndexEntry& item : entries) {
    Fill(layers.ReplaceEntry(kind, item.index), item.entry);
  }
}

std::vector<DesignIndexEntry> ExtractIndexed(const TCellLayers& layers, TLayerKind kind,
                                             int count) {
  std::vector<DesignIndexEntry> entries;
  for (const auto& [index, unused] : layers.EntryIndexes(kind)) {
    const TCellProperties* entry = layers.FindEntry(kind, index);
    if (index < count && entry != nullptr && !entry->Empty()) {
      entries.push_back({index, DesignOf(*entry)});
    }
  }
  return entries;
}

}  // namespace

void ApplyDesignLayers(TCellLayers& layers, const DesignLayers& design) {
  for (const DesignCellEntry& item : design.cells) {
    Fill(layers.ReplaceEntry(TLayerKind::Cell, item.col, item.row), item.entry);
  }
  ApplyIndexed(layers, TLayerKind::Column, design.cols);
  ApplyIndexed(layers, TLayerKind::Row, design.rows);
  ApplyIndexed(layers, TLayerKind::FixedColumn, design.fixedCols);
  ApplyIndexed(layers, TLayerKind::FixedRow, design.fixedRows);
}

DesignLayers ExtractDesignLayers(const TCellLayers& layers, int colCount, int rowCount) {
  DesignLayers design;
  for (const auto& [col, row] : layers.EntryIndexes(TLayerKind::Cell)) {
    const TCellProperties* entry = layers.FindEntry(TLayerKind::Cell, col, row);
    if (col < colCount && row < rowCount && entry != nullptr && !entry->Empty()) {
      design.cells.push_back({col, row, DesignOf(*entry)});
    }
  }
  design.cols = ExtractIndexed(layers, TLayerKind::Column, colCount);
  design.rows = ExtractIndexed(layers, TLayerKind::Row, rowCount);
  design.fixedCols = ExtractIndexed(layers, TLayerKind::FixedColumn, colCount);
  design.fixedRows = ExtractIndexed(layers, TLayerKind::FixedRow, rowCount);
  return design;
}

}  // namespace vantrel
