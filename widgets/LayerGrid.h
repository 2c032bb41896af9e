// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TLayerGrid: the string grid of every list of the program. It shows a cell table
// (texts, row count, current row and italics, written by the word engine), paints each
// cell by the values its appearance layers resolve to, stretches its last column on
// request, reports every change of a column width, shows per-cell hints and copies, cuts
// and pastes cells with Ctrl+Insert, Shift+Delete and Shift+Insert.
//
// Only the cells on screen are painted, and no cell has a widget or any memory of its
// own beyond its text: a grid of thousands of rows costs what is set and what is seen.
// Positions in events and in CellAt() are in client (viewport) coordinates.

#include "CellLayers.h"
#include "CellTable.h"
#include "DesignData.h"
#include "GridCursor.h"
#include "GridGeometry.h"
#include "GridTypes.h"

#include <QAbstractScrollArea>
#include <QPalette>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>

class QKeyEvent;
class QLabel;
class QLineEdit;

namespace vantrel {

class GridAccessNotes;

class TLayerGrid : public QAbstractScrollArea {
  Q_OBJECT
  // A property, so that the window's translation translates the names with its other
  // texts, line by line, and again at a change of language.
  Q_PROPERTY(QStringList columnNames READ ColumnNames WRITE SetColumnNames)

 public:
  enum GridOption {
    kFixedVertLine = 0x001,
    kFixedHorzLine = 0x002,
    kVertLine = 0x004,
    kHorzLine = 0x008,
    kRangeSelect = 0x010,
    kColSizing = 0x040,
    kEditing = 0x080,
    kRowSelect = 0x100,
  };
  Q_DECLARE_FLAGS(GridOptions, GridOption)

  enum class ScrollBars { kNone, kHorizontal, kVertical, kBoth };

  // Called before a cell becomes the current cell; returning false refuses it.
  using SelectCellHandler = std::function<bool(int col, int row)>;
  // Called before a cell hint shows; may change its text and its place (client
  // coordinates of the hint's top-left corner).
  using ShowHintCellHandler = std::function<void(int col, int row, QString& text, QPoint& place)>;

  // The grid starts with a cell table of its own of the given size.
  explicit TLayerGrid(QWidget* parent = nullptr, int colCount = 5, int rowCount = 5);
  ~TLayerGrid() override;

  // Shows the given table instead of the grid's own: its texts, row count, current row
  // and italics appear at once, and the grid's edits go into it. The table is not owned;
  // nullptr, or the table's end, returns the grid to its own.
  void SetTable(CellTable* table);
  CellTable& Table() { return *table_; }
  const CellTable& Table() const { return *table_; }

  // Cell texts, as Windows-1252 bytes or as Unicode.
  const std::string& Cell(int col, int row) const { return table_->Cell(col, row); }
  void SetCell(int col, int row, std::string text) { table_->SetCell(col, row, std::move(text)); }
  QString CellText(int col, int row) const;
  void SetCellText(int col, int row, const QString& text);

  int ColCount() const { return geometry_.ColCount(); }
  // Sets the column count of the table shown, the grid's own or an attached one.
  void SetColCount(int count);
  int RowCount() const { return table_->RowCount(); }
  void SetRowCount(int count) { table_->SetRowCount(count); }
  int FixedCols() const { return geometry_.FixedCols(); }
  int FixedRows() const { return geometry_.FixedRows(); }
  void SetFixedCols(int count);
  void SetFixedRows(int count);

  static constexpr int kMaxColWidth = 100000;
  int ColWidth(int col) const;
  // Raises ColWidthsChanged after a real change. A column beyond the last is a fault of
  // the caller, not of any input: std::out_of_range "Grid index out of range", as the
  // layers answer a bad index.
  void SetColWidth(int col, int width);
  // Gives every column this width.
  void SetDefaultColWidth(int width);
  int DefaultRowHeight() const { return geometry_.RowHeight(); }
  void SetDefaultRowHeight(int height);
  int GridLineWidth() const { return geometry_.LineWidth(); }
  void SetGridLineWidth(int width);

  GridOptions Options() const { return options_; }
  void SetOptions(GridOptions options);
  void SetScrollBars(ScrollBars bars);

  // The current cell and the selection.
  int Col() const { return cursor_.Current().col; }
  int Row() const { return cursor_.Current().row; }
  // Makes a cell current (if the select-cell handler allows) and scrolls it into view.
  // byUser: the user chose it (through a screen reader), so Click follows as it follows
  // a click or a key; the program's own moves send no Click.
  bool FocusCell(int col, int row, bool byUser = false);
  CellRange Selection() const { return cursor_.Selection(); }
  // Kept as given, even with edges out of order; the current cell does not move.
  void SetSelection(const CellRange& selection);

  int TopRow() const { return geometry_.TopRow(); }
  void SetTopRow(int row);
  int LeftCol() const { return geometry_.LeftCol(); }
  // Scrollable rows shown wholly.
  int VisibleRowCount() const { return geometry_.VisibleRowCount(); }
  CellCoord CellAt(QPoint point) const { return geometry_.CellAt(point); }
  QRect CellRect(int col, int row) const { return geometry_.CellRect(col, row); }
  const GridGeometry& Geometry() const { return geometry_; }

  // The appearance layers. Changing an entry, or a font or brush obtained from one,
  // repaints the grid.
  CellLayers& Layers() { return layers_; }
  const CellLayers& Layers() const { return layers_; }
  // The font a cell is drawn with: its resolved font. Where the cell table marks a cell
  // italic, the cell's own font (Layers().CellFont) is italic.
  QFont DisplayFont(int col, int row) const;

  // Grid-wide values.
  void SetEditable(bool editable) { layers_.SetEditable(editable); }
  void SetDrawSelection(bool draw);
  // A cell opens an editor only with the editing option and an editable cell.
  bool CanEditCell(int col, int row) const;

  // In-place editing. With kEditing, a double click on an editable cell, F2 on the
  // current one or typing on it (the typed text replaces the cell's) opens a line editor
  // over the cell, drawn with the cell's font and alignment. Enter, or leaving the editor
  // for another control, commits; Esc cancels. A context menu or the window losing the
  // focus leaves the edit open.
  // Takes a text only where the accept handler, if any, agrees; a refused text leaves the
  // cell as it was.
  using AcceptEditHandler = std::function<bool(int col, int row, const QString& text)>;
  void SetOnAcceptEdit(AcceptEditHandler handler) { onAcceptEdit_ = std::move(handler); }
  // The editor, for the owner's limits on what may be typed (length, validator).
  QLineEdit* Editor() const { return editor_; }
  bool Editing() const { return editing_.Valid(); }
  CellCoord EditingCell() const { return editing_; }
  // Closes the editor and writes its text into the cell (see the accept handler). Does
  // nothing when no edit is open.
  void CommitEdit();
  void CancelEdit();

  bool AutoAdjustLastCol() const { return autoAdjustLastCol_; }
  void SetAutoAdjustLastCol(bool on);
  // Stretches the last column to the client width, when AutoAdjustLastCol is on.
  void AdjustLastCol();

  // The names a screen reader hears as the titles of columns that have no text in a fixed
  // row (a list without a header row): one per column, from column 0.
  QStringList ColumnNames() const { return columnNames_; }
  void SetColumnNames(const QStringList& names) { columnNames_ = names; }
  QString ColumnName(int col) const { return columnNames_.value(col); }

  // Hints. With ShowCellHints on, the cell under the mouse shows its own hint (none
  // when it has none) and the grid's hint is never used; otherwise the grid's hint (the
  // widget's tool tip) shows when ShowHint is on.
  void SetShowCellHints(bool on) { showCellHints_ = on; }
  void SetShowHint(bool on) { showHint_ = on; }
  QString Hint() const { return toolTip(); }
  void SetHint(const QString& hint) { setToolTip(hint); }
  QString CellHint(int col, int row) const;
  void SetCellHint(int col, int row, const QString& hint);
  void SetOnShowHintCell(ShowHintCellHandler handler) { onShowHintCell_ = std::move(handler); }

  void SetOnSelectCell(SelectCellHandler handler) { onSelectCell_ = std::move(handler); }

  // With pick keys on, Space and Enter on the current cell raise RowPicked instead of
  // reaching the window's default button, so that a row is chosen from the keyboard as a
  // click would choose it.
  void SetPickKeys(bool on) { pickKeys_ = on; }

  // The keyboard clipboard commands, also callable directly.
  QString SelectionText() const;
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void PasteText(const QString& text);

  // Stored design data of the five layers. ApplyDesign replaces the entries the design
  // names.
  Result<std::string> WriteDesignData() const;
  void ApplyDesign(const DesignLayers& design);
  DesignLayers Design() const;

 signals:
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point);
  void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point);
  // The top row or the left column moved, by whatever means.
  void TopLeftChanged();
  // The user made a cell current, with the mouse or the keyboard.
  void Click();
  void ColWidthsChanged();
  void RowHeightsChanged();
  // An edit was committed and the cell now holds its text.
  void CellEdited(int col, int row);
  // Space or Enter on the current row, with pick keys on.
  void RowPicked(int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  class TableWatch;
  enum class MouseState { kNone, kSelecting, kSizing };

  // Table notifications.
  void TableCellChanged(int col, int row);
  void TableItalicChanged(int col, int row);
  void TableRowCountChanged();
  void TableCurrentRowChanged(int row);
  void TableColCountChanged();
  void TableDestroyed();

  void AttachTable(CellTable* table);
  // After any change of counts, sizes or options: keeps the current cell and the scroll
  // position within the grid, sets the scroll bars and repaints.
  void Relayout();
  // The cursor with the grid's present counts and options.
  GridCursor& Cursor();
  void UpdateScrollBars();
  void ScrollTo(int topRow, int leftCol);
  void ScrollInView(int col, int row);
  bool MoveCurrent(int col, int row, bool moveAnchor, bool byUser);
  void ClampCurrent();
  bool IsSelectedForPaint(int col, int row) const;
  QColor SelectionColor(const QColor& resolved, QPalette::ColorRole role) const;
  void UpdateCell(int col, int row);
  void PaintCell(QPainter& painter, int col, int row, const QRect& rect);
  void PaintLines(QPainter& painter, int col, int row, const QRect& rect);
  int SizingColumnAt(QPoint point) const;
  void DragSelectTo(QPoint point);
  void AutoScrollStep();
  void ShowHintAt(const QPoint& point, const QPoint& globalPoint);
  void HideCellHint();
  void ApplyLineOptions();
  void OpenEditor(int col, int row, const QString* typed);
  bool EditorKey(QKeyEvent* event);
  bool StartEditByKey(QKeyEvent* event);
  void PlaceEditor();
  bool IsPickKey(const QKeyEvent& event) const;

  std::unique_ptr<CellTable> ownTable_;
  CellTable* table_ = nullptr;
  std::unique_ptr<TableWatch> watch_;
  CellLayers layers_;
  GridGeometry geometry_;

  GridOptions options_;
  int defaultColWidth_ = 64;
  bool drawSelection_ = true;
  bool autoAdjustLastCol_ = false;
  bool showCellHints_ = true;
  bool showHint_ = false;
  QStringList columnNames_;
  bool pickKeys_ = false;

  GridCursor cursor_;

  MouseState mouseState_ = MouseState::kNone;
  int sizingCol_ = -1;
  int sizingX_ = 0;
  QPoint lastMousePoint_;
  QTimer autoScroll_;

  std::unordered_map<std::uint64_t, QString> cellHints_;
  ShowHintCellHandler onShowHintCell_;
  SelectCellHandler onSelectCell_;
  QLabel* hintLabel_ = nullptr;  // owned by the grid as its Qt child
  QTimer hintTimer_;
  CellCoord hintCell_;

  QLineEdit* editor_ = nullptr;  // owned by the viewport as its Qt child
  CellCoord editing_;
  AcceptEditHandler onAcceptEdit_;
  GridAccessNotes* accessNotes_ = nullptr;  // owned by the grid as its Qt child
};

}  // namespace vantrel

Q_DECLARE_OPERATORS_FOR_FLAGS(vantrel::TLayerGrid::GridOptions)
