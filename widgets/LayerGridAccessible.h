// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader sees of TLayerGrid: a table whose cells are the grid's cells.
// Rows and columns are the grid's scrollable ones; the fixed rows are the column headers
// and the fixed columns the row headers. Each cell reads as the text the grid draws, and
// the current cell is the focused and selected one.
//
// The grid tells GridAccessNotes of every change; the notes are gathered and sent as a
// few events once control returns to the event loop, because a search writes thousands
// of cells one by one and a screen reader wants to hear of the list, not of each cell.
//
// Children are numbered row by row over the whole grid, fixed rows first:
// index = row * column count + column, in grid coordinates. While a cell is edited, the
// in-place editor is one more child, after the last cell.

#include <QAccessibleWidget>
#include <QObject>
#include <QPointer>

class QLineEdit;

#include <cstdint>
#include <unordered_map>

namespace vantrel {

class TLayerGrid;

// Makes QAccessible build the interfaces below for every TLayerGrid. Safe to call again.
void InstallLayerGridAccessibility();

class LayerGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit LayerGridAccessible(TLayerGrid* grid);
  ~LayerGridAccessible() override;

  void* interface_cast(QAccessible::InterfaceType type) override;

  QAccessibleInterface* child(int index) const override;
  int childCount() const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* focusChild() const override;

  // QAccessibleTableInterface, in table coordinates (without the fixed rows and columns).
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  int selectedCellCount() const override;
  QList<QAccessibleInterface*> selectedCells() const override;
  QString columnDescription(int column) const override;
  QString rowDescription(int row) const override;
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override;
  int columnCount() const override;
  int rowCount() const override;
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override;
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int row) const override;
  // Makes a cell of that row current, as the keyboard would.
  bool selectRow(int row) override;
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent* event) override;

  // The interface of a cell in grid coordinates, made on first request and kept.
  QAccessibleInterface* GridCell(int col, int row) const;
  // Lets go of the interfaces of cells the grid no longer has.
  void ForgetCellsOutside(int colCount, int rowCount);

 private:
  TLayerGrid* Grid() const;
  int CellCount() const;
  // The in-place editor while it is open over a cell, else null.
  QLineEdit* ShownEditor() const;

  mutable std::unordered_map<std::uint64_t, QAccessible::Id> cells_;
};

// Gathers the grid's changes and sends them to the accessibility layer.
class GridAccessNotes : public QObject {
 public:
  explicit GridAccessNotes(TLayerGrid& grid);

  void CellChanged(int col, int row);
  void RowCountChanged(int oldCount);
  void ColCountChanged();
  void CurrentChanged();
  void FocusGained();
  // Sends what has been gathered now.
  void Flush();

 private:
  void Schedule();
  void Forget();
  void Send(QAccessibleEvent& event);

  TLayerGrid& grid_;
  bool scheduled_ = false;
  bool reset_ = false;
  int oldRowCount_ = -1;
  bool cellsChanged_ = false;
  int firstCol_ = 0, firstRow_ = 0, lastCol_ = 0, lastRow_ = 0;
  bool currentChanged_ = false;
  bool focusGained_ = false;
};

}  // namespace vantrel
