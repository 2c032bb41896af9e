// SPDX-License-Identifier: GPL-3.0-or-later
#include "LayerGridAccessible.h"

#include "LayerGrid.h"

#include <QAccessible>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>
#include <QWindow>

#include <algorithm>

namespace vantrel {
namespace {

bool IsGridCell(const TLayerGrid* grid, int col, int row) {
  return grid != nullptr && col >= 0 && row >= 0 && col < grid->ColCount() &&
         row < grid->RowCount();
}

// The text a cell shows: the grid draws a CR, alone or before an LF, as a line break.
QString ShownText(const TLayerGrid& grid, int col, int row) {
  QString text = grid.CellText(col, row);
  if (text.contains(QLatin1Char('\r'))) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  }
  return text;
}

// The title a screen reader hears for a column: the texts of its fixed rows, or where
// the grid has none, the name the grid gives the column.
QString ColumnTitle(const TLayerGrid& grid, int col) {
  QStringList lines;
  for (int row = 0; row < std::min(grid.FixedRows(), grid.RowCount()); ++row) {
    if (IsGridCell(&grid, col, row)) {
      const QString text = ShownText(grid, col, row);
      if (!text.isEmpty()) {
        lines << text;
      }
    }
  }
  if (lines.isEmpty()) {
    return grid.ColumnName(col);
  }
  return lines.join(QLatin1Char('\n'));
}

LayerGridAccessible* TableOf(TLayerGrid* grid) {
  return dynamic_cast<LayerGridAccessible*>(QAccessible::queryAccessibleInterface(grid));
}

// One cell. Header cells (fixed rows and columns) are plain interfaces with a header role;
// the others are table cells, so that a screen reader can ask for their row, column and
// headers.
class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  GridCellAccessible(TLayerGrid* grid, int col, int row) : grid_(grid), col_(col), row_(row) {}

  bool isValid() const override { return IsGridCell(grid_, col_, row_); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override {
    return grid_ != nullptr && grid_->window() != nullptr ? grid_->window()->windowHandle()
                                                          : nullptr;
  }
  QAccessibleInterface* parent() const override {
    return grid_ != nullptr ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !isValid()) {
      return {};
    }
    return ShownText(*grid_, col_, row_);
  }
  void setText(QAccessible::Text, const QString&) override {}

  QRect rect() const override {
    if (!isValid()) {
      return {};
    }
    const QRect cell = grid_->CellRect(col_, row_);
    if (cell.isEmpty()) {
      return {};
    }
    return QRect(grid_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
  }

  QAccessible::Role role() const override {
    if (!isValid()) {
      return QAccessible::Cell;
    }
    if (row_ < grid_->FixedRows()) {
      return QAccessible::ColumnHeader;
    }
    if (col_ < grid_->FixedCols()) {
      return QAccessible::RowHeader;
    }
    return QAccessible::Cell;
  }

  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    if (!grid_->isVisible()) {
      state.invisible = true;
    }
    if (grid_->CellRect(col_, row_).isEmpty()) {
      state.offscreen = true;
    }
    if (IsHeader()) {
      return state;
    }
    state.selectable = true;
    state.focusable = true;
    if (isSelected()) {
      state.selected = true;
    }
    if (grid_->hasFocus() && col_ == grid_->Col() && row_ == grid_->Row()) {
      state.focused = true;
    }
    return state;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface && isValid() && !IsHeader()) {
      return static_cast<QAccessibleTableCellInterface*>(this);
    }
    return nullptr;
  }

  // QAccessibleTableCellInterface
  bool isSelected() const override {
    return isValid() && !IsHeader() && grid_->Selection().Contains(col_, row_);
  }
  QList<QAccessibleInterface*> columnHeaderCells() const override {
    QList<QAccessibleInterface*> headers;
    if (LayerGridAccessible* table = Table()) {
      for (int row = 0; row < std::min(grid_->FixedRows(), grid_->RowCount()); ++row) {
        headers << table->GridCell(col_, row);
      }
    }
    return headers;
  }
  QList<QAccessibleInterface*> rowHeaderCells() const override {
    QList<QAccessibleInterface*> headers;
    if (LayerGridAccessible* table = Table()) {
      for (int col = 0; col < std::min(grid_->FixedCols(), grid_->ColCount()); ++col) {
        headers << table->GridCell(col, row_);
      }
    }
    return headers;
  }
  int columnIndex() const override { return grid_ != nullptr ? col_ - grid_->FixedCols() : -1; }
  int rowIndex() const override { return grid_ != nullptr ? row_ - grid_->FixedRows() : -1; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  bool IsHeader() const { return row_ < grid_->FixedRows() || col_ < grid_->FixedCols(); }
  LayerGridAccessible* Table() const { return grid_ != nullptr ? TableOf(grid_.data()) : nullptr; }

  QPointer<TLayerGrid> grid_;
  int col_;
  int row_;
};

// The in-place editor, a child of the grid's table rather than of the viewport it lies
// over: a screen reader that walks the table finds the editor there, and the editor's
// parent is the table whose cell it edits. Its name is the title of the edited column,
// its value the text being typed.
class GridEditorAccessible : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
 public:
  GridEditorAccessible(QLineEdit* editor, TLayerGrid* grid)
      : QAccessibleWidget(editor, QAccessible::EditableText), grid_(grid) {}

  QAccessibleInterface* parent() const override {
    return grid_ != nullptr ? QAccessible::queryAccessibleInterface(grid_.data())
                            : QAccessibleWidget::parent();
  }

  QString text(QAccessible::Text t) const override {
    switch (t) {
      case QAccessible::Name: {
        if (!Editor()->accessibleName().isEmpty()) {
          return Editor()->accessibleName();
        }
        if (grid_ == nullptr || !grid_->Editing()) {
          return {};
        }
        return ColumnTitle(*grid_, grid_->EditingCell().col);
      }
      case QAccessible::Value:
        return Editor()->text();
      default:
        return QAccessibleWidget::text(t);
    }
  }
  void setText(QAccessible::Text t, const QString& text) override {
    if (t == QAccessible::Value && Accepts(text)) {
      Editor()->setText(text);
    }
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !Editor()->isReadOnly();
    state.readOnly = Editor()->isReadOnly();
    state.selectableText = true;
    return state;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) {
      return static_cast<QAccessibleTextInterface*>(this);
    }
    if (type == QAccessible::EditableTextInterface) {
      return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }

  // QAccessibleTextInterface: one selection at most, as QLineEdit has.
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && Editor()->hasSelectedText()) {
      *startOffset = Editor()->selectionStart();
      *endOffset = *startOffset + static_cast<int>(Editor()->selectedText().size());
    }
  }
  int selectionCount() const override { return Editor()->hasSelectedText() ? 1 : 0; }
  void addSelection(int startOffset, int endOffset) override {
    setSelection(0, startOffset, endOffset);
  }
  void removeSelection(int selectionIndex) override {
    if (selectionIndex == 0) {
      Editor()->deselect();
    }
  }
  void setSelection(int selectionIndex, int startOffset, int endOffset) override {
    if (selectionIndex == 0) {
      Editor()->setSelection(startOffset, endOffset - startOffset);
    }
  }
  int cursorPosition() const override { return Editor()->cursorPosition(); }
  void setCursorPosition(int position) override { Editor()->setCursorPosition(position); }
  QString text(int startOffset, int endOffset) const override {
    if (startOffset < 0 || endOffset < startOffset) {
      return {};
    }
    return Editor()->text().mid(startOffset, endOffset - startOffset);
  }
  int characterCount() const override { return static_cast<int>(Editor()->text().size()); }
  QRect characterRect(int offset) const override {
    const QString text = Editor()->text();
    if (offset < 0 || offset >= text.size()) {
      return {};
    }
    // The line is laid out as the editor's alignment says within its contents.
    const QFontMetrics metrics(Editor()->font());
    const QRect contents = Editor()->contentsRect().adjusted(2, 0, -2, 0);
    const int width = metrics.horizontalAdvance(text);
    int left = contents.left();
    if (Editor()->alignment() & Qt::AlignRight) {
      left = contents.right() + 1 - width;
    } else if (Editor()->alignment() & Qt::AlignHCenter) {
      left = contents.left() + (contents.width() - width) / 2;
    }
    const QRect local(left + metrics.horizontalAdvance(text.left(offset)),
                      contents.top() + (contents.height() - metrics.height()) / 2,
                      metrics.horizontalAdvance(text.at(offset)), metrics.height());
    return QRect(Editor()->mapToGlobal(local.topLeft()), local.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint local = Editor()->mapFromGlobal(point);
    return Editor()->rect().contains(local) ? Editor()->cursorPositionAt(local) : -1;
  }
  void scrollToSubstring(int startIndex, int endIndex) override {
    Editor()->setCursorPosition(endIndex);
    Editor()->setCursorPosition(startIndex);
  }
  QString attributes(int offset, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = offset;
    return {};
  }

  // QAccessibleEditableTextInterface: a change goes through the editor's own limits.
  void deleteText(int startOffset, int endOffset) override {
    replaceText(startOffset, endOffset, QString());
  }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int startOffset, int endOffset, const QString& text) override {
    QString changed = Editor()->text();
    if (startOffset < 0 || endOffset < startOffset || endOffset > changed.size()) {
      return;
    }
    changed.replace(startOffset, endOffset - startOffset, text);
    if (Accepts(changed)) {
      Editor()->setText(changed);
    }
  }

 private:
  QLineEdit* Editor() const { return static_cast<QLineEdit*>(widget()); }

  // Whether the editor would take the text typed: its length limit and validator.
  bool Accepts(const QString& text) const {
    if (Editor()->isReadOnly() || text.size() > Editor()->maxLength()) {
      return false;
    }
    if (const QValidator* validator = Editor()->validator()) {
      QString checked = text;
      int position = static_cast<int>(checked.size());
      return validator->validate(checked, position) != QValidator::Invalid;
    }
    return true;
  }

  QPointer<TLayerGrid> grid_;
};

QAccessibleInterface* GridFactory(const QString&, QObject* object) {
  if (auto* grid = qobject_cast<TLayerGrid*>(object)) {
    return new LayerGridAccessible(grid);
  }
  if (auto* editor = qobject_cast<QLineEdit*>(object)) {
    QWidget* viewport = editor->parentWidget();
    auto* grid =
        viewport != nullptr ? qobject_cast<TLayerGrid*>(viewport->parentWidget()) : nullptr;
    if (grid != nullptr && grid->Editor() == editor) {
      return new GridEditorAccessible(editor, grid);
    }
  }
  return nullptr;
}

}  // namespace

void InstallLayerGridAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(GridFactory);
    return true;
  }();
  (void)installed;
}

// ----- the table -----

LayerGridAccessible::LayerGridAccessible(TLayerGrid* grid)
    : QAccessibleWidget(grid, QAccessible::Table) {}

LayerGridAccessible::~LayerGridAccessible() {
  for (const auto& [key, id] : cells_) {
    QAccessible::deleteAccessibleInterface(id);
  }
}

TLayerGrid* LayerGridAccessible::Grid() const {
  return static_cast<TLayerGrid*>(widget());
}

void* LayerGridAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TableInterface) {
    return static_cast<QAccessibleTableInterface*>(this);
  }
  return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* LayerGridAccessible::GridCell(int col, int row) const {
  TLayerGrid* grid = Grid();
  if (!IsGridCell(grid, col, row)) {
    return nullptr;
  }
  const std::uint64_t key = CellKey(col, row);
  if (const auto it = cells_.find(key); it != cells_.end()) {
    if (QAccessibleInterface* cell = QAccessible::accessibleInterface(it->second)) {
      return cell;
    }
    cells_.erase(it);
  }
  auto* cell = new GridCellAccessible(grid, col, row);
  cells_[key] = QAccessible::registerAccessibleInterface(cell);
  return cell;
}

void LayerGridAccessible::ForgetCellsOutside(int colCount, int rowCount) {
  for (auto it = cells_.begin(); it != cells_.end();) {
    const int col = static_cast<int>(it->first >> 32);
    const int row = static_cast<int>(it->first & 0xFFFFFFFFu);
    if (col >= colCount || row >= rowCount) {
      QAccessible::deleteAccessibleInterface(it->second);
      it = cells_.erase(it);
    } else {
      ++it;
    }
  }
}

QLineEdit* LayerGridAccessible::ShownEditor() const {
  const TLayerGrid* grid = Grid();
  return grid->Editing() && grid->Editor() != nullptr && grid->Editor()->isVisible()
             ? grid->Editor()
             : nullptr;
}

int LayerGridAccessible::CellCount() const {
  const TLayerGrid* grid = Grid();
  return grid->ColCount() * grid->RowCount();
}

QAccessibleInterface* LayerGridAccessible::child(int index) const {
  const TLayerGrid* grid = Grid();
  const int cols = grid->ColCount();
  if (index < 0 || cols <= 0) {
    return nullptr;
  }
  if (index >= CellCount()) {
    // The open editor follows the cells.
    QLineEdit* editor = ShownEditor();
    return index == CellCount() && editor != nullptr ? QAccessible::queryAccessibleInterface(editor)
                                                     : nullptr;
  }
  return GridCell(index % cols, index / cols);
}

int LayerGridAccessible::childCount() const {
  return CellCount() + (ShownEditor() != nullptr ? 1 : 0);
}

int LayerGridAccessible::indexOfChild(const QAccessibleInterface* child) const {
  if (child == nullptr) {
    return -1;
  }
  if (QLineEdit* editor = ShownEditor(); editor != nullptr && child->object() == editor) {
    return CellCount();
  }
  for (const auto& [key, id] : cells_) {
    if (QAccessible::accessibleInterface(id) == child) {
      const int col = static_cast<int>(key >> 32);
      const int row = static_cast<int>(key & 0xFFFFFFFFu);
      return row * Grid()->ColCount() + col;
    }
  }
  return -1;
}

QAccessibleInterface* LayerGridAccessible::childAt(int x, int y) const {
  const TLayerGrid* grid = Grid();
  if (QLineEdit* editor = ShownEditor();
      editor != nullptr && editor->rect().contains(editor->mapFromGlobal(QPoint(x, y)))) {
    return QAccessible::queryAccessibleInterface(editor);
  }
  const QPoint point = grid->viewport()->mapFromGlobal(QPoint(x, y));
  const CellCoord cell = grid->CellAt(point);
  return cell.Valid() ? GridCell(cell.col, cell.row) : nullptr;
}

QAccessibleInterface* LayerGridAccessible::focusChild() const {
  const TLayerGrid* grid = Grid();
  if (QLineEdit* editor = ShownEditor(); editor != nullptr && editor->hasFocus()) {
    return QAccessible::queryAccessibleInterface(editor);
  }
  if (!grid->hasFocus()) {
    return nullptr;
  }
  return GridCell(grid->Col(), grid->Row());
}

QAccessibleInterface* LayerGridAccessible::cellAt(int row, int column) const {
  const TLayerGrid* grid = Grid();
  if (row < 0 || column < 0) {
    return nullptr;
  }
  return GridCell(column + grid->FixedCols(), row + grid->FixedRows());
}

int LayerGridAccessible::columnCount() const {
  const TLayerGrid* grid = Grid();
  return std::max(grid->ColCount() - grid->FixedCols(), 0);
}

int LayerGridAccessible::rowCount() const {
  const TLayerGrid* grid = Grid();
  return std::max(grid->RowCount() - grid->FixedRows(), 0);
}

QString LayerGridAccessible::columnDescription(int column) const {
  const TLayerGrid* grid = Grid();
  if (column < 0 || column >= columnCount()) {
    return {};
  }
  return ColumnTitle(*grid, column + grid->FixedCols());
}

QString LayerGridAccessible::rowDescription(int row) const {
  const TLayerGrid* grid = Grid();
  QStringList texts;
  for (int col = 0; col < std::min(grid->FixedCols(), grid->ColCount()); ++col) {
    if (IsGridCell(grid, col, row + grid->FixedRows())) {
      texts << ShownText(*grid, col, row + grid->FixedRows());
    }
  }
  return texts.join(QLatin1Char(' '));
}

// The selection as far as it lies on scrollable cells of the grid.
static CellRange ShownSelection(const TLayerGrid& grid) {
  CellRange s = grid.Selection();
  s.left = std::max(s.left, grid.FixedCols());
  s.top = std::max(s.top, grid.FixedRows());
  s.right = std::min(s.right, grid.ColCount() - 1);
  s.bottom = std::min(s.bottom, grid.RowCount() - 1);
  return s;
}

int LayerGridAccessible::selectedCellCount() const {
  const CellRange s = ShownSelection(*Grid());
  if (s.right < s.left || s.bottom < s.top) {
    return 0;
  }
  return (s.right - s.left + 1) * (s.bottom - s.top + 1);
}

QList<QAccessibleInterface*> LayerGridAccessible::selectedCells() const {
  const CellRange s = ShownSelection(*Grid());
  QList<QAccessibleInterface*> cells;
  for (int row = s.top; row <= s.bottom; ++row) {
    for (int col = s.left; col <= s.right; ++col) {
      cells << GridCell(col, row);
    }
  }
  return cells;
}

bool LayerGridAccessible::isRowSelected(int row) const {
  const TLayerGrid* grid = Grid();
  const CellRange s = ShownSelection(*grid);
  const int gridRow = row + grid->FixedRows();
  return gridRow >= s.top && gridRow <= s.bottom && s.left <= grid->FixedCols() &&
         s.right >= grid->ColCount() - 1;
}

int LayerGridAccessible::selectedRowCount() const {
  return static_cast<int>(selectedRows().size());
}

QList<int> LayerGridAccessible::selectedRows() const {
  QList<int> rows;
  for (int row = 0; row < rowCount(); ++row) {
    if (isRowSelected(row)) {
      rows << row;
    }
  }
  return rows;
}

bool LayerGridAccessible::selectRow(int row) {
  TLayerGrid* grid = Grid();
  // A row chosen in the screen reader is the user's choice, as with the arrow keys.
  return grid->FocusCell(grid->Col(), row + grid->FixedRows(), true);
}

void LayerGridAccessible::modelChange(QAccessibleTableModelChangeEvent*) {
  ForgetCellsOutside(Grid()->ColCount(), Grid()->RowCount());
}

// ----- the notes -----

GridAccessNotes::GridAccessNotes(TLayerGrid& grid) : QObject(&grid), grid_(grid) {}

void GridAccessNotes::CellChanged(int col, int row) {
  if (!cellsChanged_) {
    cellsChanged_ = true;
    firstCol_ = lastCol_ = col;
    firstRow_ = lastRow_ = row;
  } else {
    firstCol_ = std::min(firstCol_, col);
    lastCol_ = std::max(lastCol_, col);
    firstRow_ = std::min(firstRow_, row);
    lastRow_ = std::max(lastRow_, row);
  }
  Schedule();
}

void GridAccessNotes::RowCountChanged(int oldCount) {
  if (oldRowCount_ < 0) {
    oldRowCount_ = oldCount;
  }
  Schedule();
}

void GridAccessNotes::ColCountChanged() {
  reset_ = true;
  Schedule();
}

void GridAccessNotes::CurrentChanged() {
  currentChanged_ = true;
  Schedule();
}

void GridAccessNotes::FocusGained() {
  focusGained_ = true;
  Schedule();
}

void GridAccessNotes::Schedule() {
  // With no assistive technology listening nobody hears the notes: they are dropped at
  // once, and no interface is made for the grid only to tell nobody.
  if (!QAccessible::isActive()) {
    Forget();
    return;
  }
  if (!scheduled_) {
    scheduled_ = true;
    QTimer::singleShot(0, this, &GridAccessNotes::Flush);
  }
}

void GridAccessNotes::Send(QAccessibleEvent& event) {
  QAccessible::updateAccessibility(&event);
}

void GridAccessNotes::Flush() {
  scheduled_ = false;
  const int cols = grid_.ColCount();
  const int rows = grid_.RowCount();
  const int fixedRows = grid_.FixedRows();
  const int fixedCols = grid_.FixedCols();
  if (LayerGridAccessible* table = TableOf(&grid_)) {
    table->ForgetCellsOutside(cols, rows);
  }

  if (reset_) {
    QAccessibleTableModelChangeEvent event(&grid_, QAccessibleTableModelChangeEvent::ModelReset);
    Send(event);
  } else if (oldRowCount_ >= 0 && oldRowCount_ != rows) {
    const bool grew = rows > oldRowCount_;
    QAccessibleTableModelChangeEvent event(&grid_,
                                           grew ? QAccessibleTableModelChangeEvent::RowsInserted
                                                : QAccessibleTableModelChangeEvent::RowsRemoved);
    event.setFirstRow(std::max(std::min(rows, oldRowCount_) - fixedRows, 0));
    event.setLastRow(std::max(std::max(rows, oldRowCount_) - 1 - fixedRows, 0));
    event.setFirstColumn(0);
    event.setLastColumn(std::max(cols - 1 - fixedCols, 0));
    Send(event);
  }

  if (cellsChanged_ && !reset_) {
    // Header texts are names of their own: say each one that changed.
    for (int row = firstRow_; row <= std::min(lastRow_, fixedRows - 1); ++row) {
      for (int col = firstCol_; col <= std::min(lastCol_, cols - 1); ++col) {
        QAccessibleEvent event(&grid_, QAccessible::NameChanged);
        event.setChild(row * cols + col);
        Send(event);
      }
    }
    const int top = std::max(firstRow_, fixedRows);
    const int bottom = std::min(lastRow_, rows - 1);
    const int left = std::max(firstCol_, fixedCols);
    const int right = std::min(lastCol_, cols - 1);
    if (top <= bottom && left <= right) {
      QAccessibleTableModelChangeEvent event(&grid_, QAccessibleTableModelChangeEvent::DataChanged);
      event.setFirstRow(top - fixedRows);
      event.setLastRow(bottom - fixedRows);
      event.setFirstColumn(left - fixedCols);
      event.setLastColumn(right - fixedCols);
      Send(event);
      // The cell the user is on has a new text: that is what the screen reader reads out.
      const int col = grid_.Col();
      const int row = grid_.Row();
      if (grid_.hasFocus() && !currentChanged_ && col >= left && col <= right && row >= top &&
          row <= bottom) {
        QAccessibleEvent named(&grid_, QAccessible::NameChanged);
        named.setChild(row * cols + col);
        Send(named);
      }
    }
  }

  const bool onCell = IsGridCell(&grid_, grid_.Col(), grid_.Row()) && grid_.Row() >= fixedRows &&
                      grid_.Col() >= fixedCols;
  const int currentIndex = grid_.Row() * cols + grid_.Col();
  if ((currentChanged_ || reset_) && onCell) {
    QAccessibleEvent event(&grid_, QAccessible::Selection);
    event.setChild(currentIndex);
    Send(event);
  }
  if ((currentChanged_ || focusGained_ || reset_) && onCell && grid_.hasFocus()) {
    QAccessibleEvent event(&grid_, QAccessible::Focus);
    event.setChild(currentIndex);
    Send(event);
  }

  Forget();
}

void GridAccessNotes::Forget() {
  reset_ = false;
  oldRowCount_ = -1;
  cellsChanged_ = false;
  currentChanged_ = false;
  focusGained_ = false;
}

}  // namespace vantrel
