// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader sees of the grid, and the keys that pick a row: the table and its
// cells as QAccessible builds them, and the events a screen reader is sent.

#include "LayerGrid.h"
#include "LayerGridAccessible.h"

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QAccessible>
#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace vantrel {
namespace {

struct SeenEvent {
  QAccessible::Event type = QAccessible::InvalidEvent;
  int child = -1;
  int change = -1;  // QAccessibleTableModelChangeEvent::ModelChangeType
  int firstRow = -1;
  int lastRow = -1;
  int firstCol = -1;
  int lastCol = -1;
  QString childName;
};

std::vector<SeenEvent>* seen = nullptr;

void Record(QAccessibleEvent* event) {
  if (seen == nullptr) {
    return;
  }
  SeenEvent e;
  e.type = event->type();
  e.child = event->child();
  if (event->type() == QAccessible::TableModelChanged) {
    auto* change = static_cast<QAccessibleTableModelChangeEvent*>(event);
    e.change = change->modelChangeType();
    e.firstRow = change->firstRow();
    e.lastRow = change->lastRow();
    e.firstCol = change->firstColumn();
    e.lastCol = change->lastColumn();
  }
  if (QAccessibleInterface* target = event->accessibleInterface(); target != nullptr) {
    e.childName = target->text(QAccessible::Name);
  }
  seen->push_back(e);
}

// The platform's accessibility, which a screen reader switches on; nothing is sent while
// it is off.
QPlatformAccessibility* PlatformAccessibility() {
  QPlatformIntegration* platform = QGuiApplicationPrivate::platformIntegration();
  return platform != nullptr ? platform->accessibility() : nullptr;
}

// Records every accessibility event for the life of the fixture, as a screen reader
// would receive it.
class RecordedEvents {
 public:
  RecordedEvents() {
    seen = &events;
    QAccessible::installUpdateHandler(Record);
    if (QPlatformAccessibility* platform = PlatformAccessibility()) {
      platform->setActive(true);
    }
  }
  ~RecordedEvents() {
    if (QPlatformAccessibility* platform = PlatformAccessibility()) {
      platform->setActive(false);
    }
    QAccessible::installUpdateHandler(nullptr);
    seen = nullptr;
  }
  // Lets the grid send what it has gathered, and takes what arrived.
  std::vector<SeenEvent> Take() {
    QCoreApplication::processEvents();
    std::vector<SeenEvent> taken;
    taken.swap(events);
    return taken;
  }
  std::vector<SeenEvent> events;
};

std::vector<SeenEvent> OfType(const std::vector<SeenEvent>& events, QAccessible::Event type) {
  std::vector<SeenEvent> found;
  for (const SeenEvent& e : events) {
    if (e.type == type) {
      found.push_back(e);
    }
  }
  return found;
}

// A candidate list as the main window has it: a header row, two columns, rows of 24.
struct CandidateGrid {
  CandidateGrid(int rows = 6) : grid(nullptr, 2, rows) {
    grid.SetFixedCols(0);
    grid.SetScrollBars(TLayerGrid::ScrollBars::kNone);
    grid.SetColWidth(0, 100);
    grid.SetColWidth(1, 60);
    grid.SetCellText(0, 0, QStringLiteral("Candidate Word"));
    grid.SetCellText(1, 0, QStringLiteral("Represents"));
    grid.setAccessibleName(QStringLiteral("Candidates"));
  }
  void Show() {
    grid.resize(200, 4 * 25 + 2 * grid.frameWidth());
    grid.show();
    grid.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&grid));
    grid.setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
  }
  QAccessibleInterface* Table() { return QAccessible::queryAccessibleInterface(&grid); }
  TLayerGrid grid;
};

TEST(LayerGridAccessible, IsATableOfTheScrollableCellsWithTheFixedRowAsHeaders) {
  CandidateGrid g;
  g.grid.SetCell(0, 1, "caf\xE9");
  g.grid.SetCell(1, 1, "223");
  g.grid.SetCell(0, 2, "two\r\nlines");
  QAccessibleInterface* table = g.Table();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->role(), QAccessible::Table);
  EXPECT_EQ(table->text(QAccessible::Name), QStringLiteral("Candidates"));
  QAccessibleTableInterface* cells = table->tableInterface();
  ASSERT_NE(cells, nullptr);
  EXPECT_EQ(cells->rowCount(), 5);
  EXPECT_EQ(cells->columnCount(), 2);
  EXPECT_EQ(table->childCount(), 12);
  EXPECT_EQ(cells->columnDescription(0), QStringLiteral("Candidate Word"));
  EXPECT_EQ(cells->columnDescription(1), QStringLiteral("Represents"));

  struct Row {
    int row, col;
    QString name;
  };
  for (const Row& r : {Row{0, 0, QString::fromUtf8("café")}, Row{0, 1, QStringLiteral("223")},
                       Row{1, 0, QStringLiteral("two\nlines")}, Row{4, 1, QString()}}) {
    SCOPED_TRACE(testing::Message() << "row " << r.row << " column " << r.col);
    QAccessibleInterface* cell = cells->cellAt(r.row, r.col);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->text(QAccessible::Name), r.name);
    EXPECT_EQ(cell->parent(), table);
    // Children are numbered row by row, the header row first.
    EXPECT_EQ(table->indexOfChild(cell), (r.row + 1) * 2 + r.col);
    EXPECT_EQ(table->child((r.row + 1) * 2 + r.col), cell);
    QAccessibleTableCellInterface* place = cell->tableCellInterface();
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->rowIndex(), r.row);
    EXPECT_EQ(place->columnIndex(), r.col);
    const QList<QAccessibleInterface*> headers = place->columnHeaderCells();
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(headers.front()->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(headers.front()->text(QAccessible::Name),
              r.col == 0 ? QStringLiteral("Candidate Word") : QStringLiteral("Represents"));
  }
  EXPECT_EQ(cells->cellAt(5, 0), nullptr);
  EXPECT_EQ(cells->cellAt(0, 2), nullptr);
}

// With fixed columns, a cell still reports its place among the scrollable cells, the
// place cellAt() takes, and the fixed cells of its row are its row headers.
TEST(LayerGridAccessible, CellsCountTheirPlaceFromTheFirstScrollableColumnAndRow) {
  for (const int fixedCols : {1, 2}) {
    SCOPED_TRACE(testing::Message() << fixedCols << " fixed columns");
    TLayerGrid grid(nullptr, fixedCols + 2, 4);
    grid.SetFixedCols(fixedCols);
    grid.SetFixedRows(1);
    for (int col = 0; col < grid.ColCount(); ++col) {
      for (int row = 0; row < grid.RowCount(); ++row) {
        grid.SetCell(col, row, std::to_string(col) + "/" + std::to_string(row));
      }
    }
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(table, nullptr);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    ASSERT_EQ(cells->columnCount(), 2);
    ASSERT_EQ(cells->rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 2; ++col) {
        SCOPED_TRACE(testing::Message() << "row " << row << " column " << col);
        QAccessibleInterface* cell = cells->cellAt(row, col);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(
            cell->text(QAccessible::Name),
            QString::number(col + fixedCols) + QStringLiteral("/") + QString::number(row + 1));
        QAccessibleTableCellInterface* place = cell->tableCellInterface();
        ASSERT_NE(place, nullptr);
        EXPECT_EQ(place->columnIndex(), col);
        EXPECT_EQ(place->rowIndex(), row);
        EXPECT_EQ(cells->cellAt(place->rowIndex(), place->columnIndex()), cell);
        const QList<QAccessibleInterface*> rowHeaders = place->rowHeaderCells();
        ASSERT_EQ(rowHeaders.size(), fixedCols);
        EXPECT_EQ(rowHeaders.front()->text(QAccessible::Name),
                  QStringLiteral("0/") + QString::number(row + 1));
      }
    }
  }
}

TEST(LayerGridAccessible, GridWithoutFixedRowsHasNoHeaders) {
  TLayerGrid grid(nullptr, 1, 3);
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  grid.SetCell(0, 0, "4357");
  QAccessibleTableInterface* cells = QAccessible::queryAccessibleInterface(&grid)->tableInterface();
  ASSERT_NE(cells, nullptr);
  EXPECT_EQ(cells->rowCount(), 3);
  EXPECT_EQ(cells->columnCount(), 1);
  EXPECT_EQ(cells->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("4357"));
  EXPECT_TRUE(cells->cellAt(0, 0)->tableCellInterface()->columnHeaderCells().isEmpty());
}

TEST(LayerGridAccessible, TheCurrentCellIsFocusedAndSelected) {
  CandidateGrid g;
  g.Show();
  ASSERT_TRUE(g.grid.FocusCell(1, 3));
  QAccessibleTableInterface* cells = g.Table()->tableInterface();
  QAccessibleInterface* current = cells->cellAt(2, 1);
  EXPECT_TRUE(current->state().focused);
  EXPECT_TRUE(current->state().selected);
  EXPECT_TRUE(current->tableCellInterface()->isSelected());
  EXPECT_EQ(g.Table()->focusChild(), current);
  EXPECT_EQ(cells->selectedCellCount(), 1);
  ASSERT_EQ(cells->selectedCells().size(), 1);
  EXPECT_EQ(cells->selectedCells().front(), current);
  QAccessibleInterface* other = cells->cellAt(2, 0);
  EXPECT_FALSE(other->state().focused);
  EXPECT_FALSE(other->state().selected);
  // The cell's place on the screen is the one the grid draws it at.
  EXPECT_EQ(current->rect(), QRect(g.grid.viewport()->mapToGlobal(g.grid.CellRect(1, 3).topLeft()),
                                   g.grid.CellRect(1, 3).size()));
  EXPECT_EQ(g.Table()->childAt(current->rect().center().x(), current->rect().center().y()),
            current);
}

// Two lists in one window, the left one selecting cells and the right one whole rows: a
// screen reader hears the current cell as focused only in the grid the keyboard is in, and
// as selected in both, with the rest of its row where the grid selects rows, just as the
// grids draw it (the focused one in the highlight, the other in the inactive highlight).
TEST(LayerGridAccessible, OnlyTheFocusedGridsCurrentCellIsFocused) {
  QWidget window;
  auto* layout = new QHBoxLayout(&window);
  TLayerGrid* left = new TLayerGrid(&window, 2, 6);
  TLayerGrid* right = new TLayerGrid(&window, 2, 6);
  for (TLayerGrid* grid : {left, right}) {
    grid->SetFixedCols(0);
    grid->SetScrollBars(TLayerGrid::ScrollBars::kNone);
    layout->addWidget(grid);
  }
  right->SetOptions(right->Options() | TLayerGrid::kRowSelect);
  window.resize(400, 200);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ASSERT_TRUE(left->FocusCell(1, 2));
  ASSERT_TRUE(right->FocusCell(0, 4));

  struct Cell {
    TLayerGrid* grid;
    int row, col;  // in the table, which leaves out the header row
    bool focused;
    bool selected;
  };
  struct Case {
    const char* name;
    TLayerGrid* focus;
    std::vector<Cell> cells;
  };
  const Case cases[] = {
      {"left focused",
       left,
       {{left, 1, 1, true, true},
        {left, 1, 0, false, false},
        {left, 2, 1, false, false},
        {right, 3, 0, false, true},
        {right, 3, 1, false, true},
        {right, 2, 0, false, false}}},
      {"right focused",
       right,
       {{left, 1, 1, false, true},
        {left, 1, 0, false, false},
        {right, 3, 0, true, true},
        {right, 3, 1, false, true},
        {right, 4, 0, false, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.focus->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(c.focus->hasFocus());
    for (const Cell& cell : c.cells) {
      SCOPED_TRACE(testing::Message() << (cell.grid == left ? "left" : "right") << " table cell "
                                      << cell.row << ", " << cell.col);
      QAccessibleInterface* table = QAccessible::queryAccessibleInterface(cell.grid);
      ASSERT_NE(table, nullptr);
      QAccessibleInterface* heard = table->tableInterface()->cellAt(cell.row, cell.col);
      ASSERT_NE(heard, nullptr);
      EXPECT_EQ(heard->state().focused, cell.focused);
      EXPECT_EQ(heard->state().selected, cell.selected);
      EXPECT_EQ(heard->tableCellInterface()->isSelected(), cell.selected);
      if (cell.focused) {
        EXPECT_EQ(table->focusChild(), heard);
      } else if (cell.grid != c.focus) {
        // The grid the keyboard is not in has no focused child either.
        EXPECT_EQ(table->focusChild(), nullptr);
      }
    }
  }
}

// A screen reader asks by the table's own row numbers, which leave out the fixed rows:
// the row it hears of as selected must be the one the grid shows selected, not a
// neighbour of it.
TEST(LayerGridAccessible, TheSelectedRowIsTheOneTheGridShowsSelected) {
  struct Case {
    const char* name;
    int fixedRows;
    int fixedCols;
    int top, bottom;      // the selection, in grid rows
    QList<int> selected;  // the table rows a screen reader must hear of as selected
  };
  const Case cases[] = {
      {"first row under one header row", 1, 0, 1, 1, {0}},
      {"middle row under one header row", 1, 0, 3, 3, {2}},
      {"last row under one header row", 1, 1, 6, 6, {5}},
      {"first row under two header rows", 2, 0, 2, 2, {0}},
      {"middle row under two header rows", 2, 1, 4, 4, {2}},
      {"two rows under two header rows", 2, 0, 3, 4, {1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TLayerGrid grid(nullptr, c.fixedCols + 2, 7);
    grid.SetFixedCols(c.fixedCols);
    grid.SetFixedRows(c.fixedRows);
    grid.SetOptions(grid.Options() | TLayerGrid::kRowSelect);
    ASSERT_TRUE(grid.FocusCell(c.fixedCols, c.top));
    if (c.bottom != c.top) {
      grid.SetSelection({c.fixedCols, c.top, grid.ColCount() - 1, c.bottom});
    }
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(table, nullptr);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    ASSERT_EQ(cells->rowCount(), 7 - c.fixedRows);

    EXPECT_EQ(cells->selectedRows(), c.selected);
    EXPECT_EQ(cells->selectedRowCount(), c.selected.size());
    // The grid selects rows, never a whole column on its own.
    EXPECT_EQ(cells->selectedColumnCount(), 0);
    EXPECT_TRUE(cells->selectedColumns().isEmpty());
    for (int row = 0; row < cells->rowCount(); ++row) {
      SCOPED_TRACE(testing::Message() << "table row " << row);
      const bool selected = c.selected.contains(row);
      EXPECT_EQ(cells->isRowSelected(row), selected);
      // The row and the cells in it tell the same.
      for (int col = 0; col < cells->columnCount(); ++col) {
        QAccessibleInterface* cell = cells->cellAt(row, col);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->tableCellInterface()->isSelected(), selected);
        EXPECT_EQ(cell->state().selected, selected);
      }
    }
  }
}

// A screen reader's row selection is the user's choice, as with the arrow keys: the row
// becomes current and the grid's Click follows (the lookup window then offers the row for
// Copy). A move the program makes sends no Click.
TEST(LayerGridAccessible, ARowSelectedByAScreenReaderIsTheUsersChoice) {
  TLayerGrid grid(nullptr, 2, 7);
  grid.SetFixedRows(1);
  grid.SetOptions(grid.Options() | TLayerGrid::kRowSelect);
  QSignalSpy clicks(&grid, &TLayerGrid::Click);
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
  ASSERT_NE(table, nullptr);
  QAccessibleTableInterface* cells = table->tableInterface();
  ASSERT_NE(cells, nullptr);
  EXPECT_TRUE(cells->selectRow(2));
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(cells->selectedRows(), QList<int>{2});
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_TRUE(grid.FocusCell(grid.Col(), 5));
  EXPECT_EQ(cells->selectedRows(), QList<int>{4});
  EXPECT_EQ(clicks.count(), 1);
}

TEST(LayerGridAccessible, ChangedCellsAreSentAsOneChangeOfTheTable) {
  RecordedEvents recorder;
  CandidateGrid g(40);
  recorder.Take();
  // A search writes cell after cell; the screen reader hears of the rows once.
  for (int row = 2; row < 30; ++row) {
    g.grid.SetCell(0, row, "word");
    g.grid.SetCell(1, row, "9673");
  }
  const std::vector<SeenEvent> changes = OfType(recorder.Take(), QAccessible::TableModelChanged);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].change, QAccessibleTableModelChangeEvent::DataChanged);
  EXPECT_EQ(changes[0].firstRow, 1);
  EXPECT_EQ(changes[0].lastRow, 28);
  EXPECT_EQ(changes[0].firstCol, 0);
  EXPECT_EQ(changes[0].lastCol, 1);
}

TEST(LayerGridAccessible, RowCountChangesAreSentAsRowsInsertedOrRemoved) {
  RecordedEvents recorder;
  CandidateGrid g(6);
  QAccessibleTableInterface* cells = g.Table()->tableInterface();
  ASSERT_NE(cells->cellAt(4, 0), nullptr);
  recorder.Take();

  struct Step {
    const char* name;
    std::vector<int> rows;  // the counts set one after the other before the event is sent
    int change;
    int firstRow, lastRow;
  };
  const Step steps[] = {
      {"grows", {10}, QAccessibleTableModelChangeEvent::RowsInserted, 5, 8},
      {"shrinks", {3}, QAccessibleTableModelChangeEvent::RowsRemoved, 2, 8},
      // Told once, from the count the screen reader last heard of to the last one.
      {"grows, then shrinks part way",
       {9, 7},
       QAccessibleTableModelChangeEvent::RowsInserted,
       2,
       5},
      {"shrinks, then grows part way", {2, 5}, QAccessibleTableModelChangeEvent::RowsRemoved, 4, 5},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    for (const int rows : s.rows) {
      g.grid.SetRowCount(rows);
    }
    const std::vector<SeenEvent> changes = OfType(recorder.Take(), QAccessible::TableModelChanged);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].change, s.change);
    EXPECT_EQ(changes[0].firstRow, s.firstRow);
    EXPECT_EQ(changes[0].lastRow, s.lastRow);
    EXPECT_EQ(cells->rowCount(), s.rows.back() - 1);
  }
  EXPECT_EQ(cells->cellAt(4, 0), nullptr);
  EXPECT_EQ(g.Table()->childCount(), 10);
}

// Columns added or taken away change the whole table: the screen reader is told to read
// it anew, once, and finds the new columns.
TEST(LayerGridAccessible, AChangeOfTheColumnsIsSentAsANewTable) {
  RecordedEvents recorder;
  CandidateGrid g(6);
  QAccessibleTableInterface* cells = g.Table()->tableInterface();
  const int before = cells->columnCount();
  recorder.Take();
  g.grid.SetColCount(g.grid.ColCount() + 1);
  const std::vector<SeenEvent> changes = OfType(recorder.Take(), QAccessible::TableModelChanged);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].change, QAccessibleTableModelChangeEvent::ModelReset);
  EXPECT_EQ(cells->columnCount(), before + 1);
}

// A cell whose row is gone is gone for the screen reader too: what it kept of the cell
// leads nowhere, also after rows are added again where it stood.
TEST(LayerGridAccessible, TheCellsOfRemovedRowsAreGone) {
  RecordedEvents recorder;
  CandidateGrid g(6);
  QAccessibleTableInterface* cells = g.Table()->tableInterface();
  QAccessibleInterface* last = cells->cellAt(4, 1);
  QAccessibleInterface* kept = cells->cellAt(1, 1);
  ASSERT_NE(last, nullptr);
  ASSERT_NE(kept, nullptr);
  const QAccessible::Id lastId = QAccessible::uniqueId(last);
  const QAccessible::Id keptId = QAccessible::uniqueId(kept);
  recorder.Take();

  g.grid.SetRowCount(3);
  recorder.Take();
  EXPECT_EQ(QAccessible::accessibleInterface(lastId), nullptr);
  EXPECT_EQ(QAccessible::accessibleInterface(keptId), kept);
  g.grid.SetRowCount(6);
  recorder.Take();
  EXPECT_EQ(QAccessible::accessibleInterface(lastId), nullptr);
  EXPECT_NE(QAccessible::uniqueId(cells->cellAt(4, 1)), lastId);
}

// Moving to a cell and writing it at once (a new search while the user is in the list) is
// one focus on the cell with its new text: the screen reader reads it out once.
TEST(LayerGridAccessible, ACellMovedToAndRewrittenAtOnceIsReadOutOnce) {
  RecordedEvents recorder;
  CandidateGrid g;
  g.grid.SetCell(0, 2, "bat");
  g.Show();
  g.grid.FocusCell(0, 1);
  recorder.Take();

  g.grid.FocusCell(0, 2);
  g.grid.SetCell(0, 2, "cat");
  const std::vector<SeenEvent> events = recorder.Take();
  const std::vector<SeenEvent> focus = OfType(events, QAccessible::Focus);
  ASSERT_EQ(focus.size(), 1u);
  EXPECT_EQ(focus[0].child, 2 * 2 + 0);
  EXPECT_EQ(focus[0].childName, QStringLiteral("cat"));
  EXPECT_TRUE(OfType(events, QAccessible::NameChanged).empty());
}

TEST(LayerGridAccessible, MovingTheCurrentCellSendsFocusToThatCell) {
  RecordedEvents recorder;
  CandidateGrid g;
  g.grid.SetCell(0, 2, "bat");
  g.Show();
  g.grid.FocusCell(0, 1);
  recorder.Take();

  QTest::keyClick(&g.grid, Qt::Key_Down);
  const std::vector<SeenEvent> focus = OfType(recorder.Take(), QAccessible::Focus);
  ASSERT_EQ(focus.size(), 1u);
  EXPECT_EQ(focus[0].child, 2 * 2 + 0);
  EXPECT_EQ(focus[0].childName, QStringLiteral("bat"));

  // A new text under the cell the user is on is read out again.
  g.grid.SetCell(0, 2, "cat");
  const std::vector<SeenEvent> named = OfType(recorder.Take(), QAccessible::NameChanged);
  ASSERT_EQ(named.size(), 1u);
  EXPECT_EQ(named[0].childName, QStringLiteral("cat"));
}

// A column title rewritten (a change of language) is a new name of that header cell, said
// once; a title written again as it was says nothing.
TEST(LayerGridAccessible, ANewColumnTitleIsSaidAsTheHeadersNewName) {
  RecordedEvents recorder;
  CandidateGrid g;
  g.Show();
  recorder.Take();

  g.grid.SetCellText(1, 0, QStringLiteral("stellt dar"));
  QCoreApplication::processEvents();
  const std::vector<SeenEvent> named = OfType(recorder.Take(), QAccessible::NameChanged);
  ASSERT_EQ(named.size(), 1u);
  EXPECT_EQ(named[0].child, 1);
  EXPECT_EQ(named[0].childName, QStringLiteral("stellt dar"));
}

// The list grows shorter under the user (a new search): the current cell moves up to the
// last row, and the screen reader is told where the user now is.
TEST(LayerGridAccessible, ACurrentCellMovedByFewerRowsSendsFocusThere) {
  RecordedEvents recorder;
  CandidateGrid g;
  g.grid.SetCell(0, 2, "bat");
  g.grid.SetCell(0, 5, "cat");
  g.Show();
  g.grid.FocusCell(0, 5);
  recorder.Take();

  g.grid.SetRowCount(3);
  QCoreApplication::processEvents();
  const std::vector<SeenEvent> focus = OfType(recorder.Take(), QAccessible::Focus);
  ASSERT_FALSE(focus.empty());
  EXPECT_EQ(focus.back().child, 2 * 2 + 0);
  EXPECT_EQ(focus.back().childName, QStringLiteral("bat"));
}

TEST(LayerGridAccessible, TakingTheFocusSendsFocusToTheCurrentCell) {
  RecordedEvents recorder;
  CandidateGrid g;
  g.grid.SetCell(1, 1, "228");
  g.grid.FocusCell(1, 1);
  g.Show();
  const std::vector<SeenEvent> focus = OfType(recorder.Take(), QAccessible::Focus);
  ASSERT_FALSE(focus.empty());
  // The grid's own focus comes first; the cell's follows, so it is the one read out.
  EXPECT_EQ(focus.back().child, 1 * 2 + 1);
  EXPECT_EQ(focus.back().childName, QStringLiteral("228"));
  // Once: what changes later in the grid, the current cell staying, is no new focus.
  g.grid.SetCell(0, 2, "bat");
  g.grid.SetRowCount(g.grid.RowCount() + 1);
  EXPECT_TRUE(OfType(recorder.Take(), QAccessible::Focus).empty());
}

// The affix window's grid: a header row, the proposed word editable in place.
struct EditedGrid {
  EditedGrid() {
    grid = new TLayerGrid(&window, 2, 2);
    grid->SetFixedCols(0);
    grid->SetOptions(grid->Options() | TLayerGrid::kEditing);
    grid->SetColWidth(0, 120);
    grid->SetColWidth(1, 100);
    grid->SetCellText(0, 0, QStringLiteral("Candidate Word"));
    grid->SetCellText(1, 0, QStringLiteral("Represents"));
    grid->SetCell(0, 1, "balling");
    grid->SetCell(1, 1, "2255464");
    grid->resize(240, 60);
    window.resize(260, 80);
    window.show();
    QApplication::setActiveWindow(&window);
    ok = QTest::qWaitForWindowActive(&window);
    grid->setFocus(Qt::OtherFocusReason);
    grid->FocusCell(0, 1);
  }
  QWidget window;
  TLayerGrid* grid = nullptr;
  bool ok = false;
};

TEST(LayerGridAccessible, TheOpenEditorIsAnEditableChildOfTheTable) {
  EditedGrid g;
  ASSERT_TRUE(g.ok);
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(g.grid);
  ASSERT_NE(table, nullptr);
  const int cells = 2 * 2;
  EXPECT_EQ(table->childCount(), cells);
  EXPECT_EQ(table->child(cells), nullptr);

  QTest::keyClick(g.grid, Qt::Key_F2);
  ASSERT_TRUE(g.grid->Editing());
  QLineEdit* editor = g.grid->Editor();
  ASSERT_EQ(table->childCount(), cells + 1);
  QAccessibleInterface* edit = table->child(cells);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->object(), editor);
  EXPECT_EQ(edit, QAccessible::queryAccessibleInterface(editor));
  EXPECT_EQ(edit->role(), QAccessible::EditableText);
  // Walking up from the editor leads to the table, and back down to the editor.
  EXPECT_EQ(edit->parent(), table);
  EXPECT_EQ(table->indexOfChild(edit), cells);
  EXPECT_EQ(table->focusChild(), edit);
  const QRect place = edit->rect();
  EXPECT_EQ(table->childAt(place.center().x(), place.center().y()), edit);
  EXPECT_TRUE(edit->state().editable);
  EXPECT_TRUE(edit->state().selectableText);
  EXPECT_TRUE(edit->state().focused);
  // It is named after the column it edits and its value is the text being typed.
  EXPECT_EQ(edit->text(QAccessible::Name), QStringLiteral("Candidate Word"));
  EXPECT_EQ(edit->text(QAccessible::Value), QStringLiteral("balling"));
  // A name given to the editor itself comes first.
  editor->setAccessibleName(QStringLiteral("Proposed word"));
  EXPECT_EQ(edit->text(QAccessible::Name), QStringLiteral("Proposed word"));
  editor->setAccessibleName(QString());
  EXPECT_EQ(edit->text(QAccessible::Name), QStringLiteral("Candidate Word"));

  QAccessibleTextInterface* text = edit->textInterface();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->characterCount(), 7);
  EXPECT_EQ(text->text(0, 4), QStringLiteral("ball"));
  EXPECT_EQ(text->text(4, 2), QString());  // a range that ends before it starts
  ASSERT_EQ(text->selectionCount(), 1);
  int start = -1;
  int end = -1;
  text->selection(0, &start, &end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 7);
  // The editor has one selection; there is no second one.
  text->selection(1, &start, &end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 0);
  text->setCursorPosition(4);
  EXPECT_EQ(editor->cursorPosition(), 4);
  EXPECT_EQ(text->cursorPosition(), 4);
  EXPECT_EQ(text->selectionCount(), 0);
  text->setSelection(0, 4, 7);
  EXPECT_EQ(editor->selectedText(), QStringLiteral("ing"));
  // Characters lie inside the editor, one after the other.
  const QRect first = text->characterRect(0);
  const QRect second = text->characterRect(1);
  EXPECT_TRUE(place.contains(first.center()));
  EXPECT_EQ(second.left(), first.right() + 1);
  EXPECT_EQ(text->offsetAtPoint(QPoint(place.right() + 20, place.center().y())), -1);

  QAccessibleEditableTextInterface* editable = edit->editableTextInterface();
  ASSERT_NE(editable, nullptr);
  struct Change {
    const char* name;
    std::function<void()> make;
    const char* after;
  };
  const Change changes[] = {
      {"insert", [&] { editable->insertText(4, QStringLiteral("-")); }, "ball-ing"},
      {"delete", [&] { editable->deleteText(4, 5); }, "balling"},
      {"replace", [&] { editable->replaceText(0, 4, QStringLiteral("bawl")); }, "bawling"},
      {"past the end", [&] { editable->insertText(8, QStringLiteral("x")); }, "bawling"},
      {"value", [&] { edit->setText(QAccessible::Value, QStringLiteral("balling")); }, "balling"},
      {"over the length limit",
       [&] {
         editor->setMaxLength(7);
         editable->insertText(0, QStringLiteral("x"));
       },
       "balling"},
      {"up to the length limit",
       [&] {
         editor->setMaxLength(8);
         editable->insertText(0, QStringLiteral("x"));
       },
       "xballing"},
      {"value over the length limit",
       [&] { edit->setText(QAccessible::Value, QStringLiteral("xxballing")); }, "xballing"},
      {"value up to the length limit",
       [&] { edit->setText(QAccessible::Value, QStringLiteral("xbawling")); }, "xbawling"},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.name);
    change.make();
    EXPECT_EQ(editor->text(), QString::fromLatin1(change.after));
  }

  // Taken into the cell, the editor leaves the table.
  QTest::keyClick(editor, Qt::Key_Return);
  ASSERT_FALSE(g.grid->Editing());
  EXPECT_EQ(table->childCount(), cells);
  EXPECT_EQ(table->child(cells), nullptr);
  EXPECT_EQ(table->indexOfChild(edit), -1);
  EXPECT_EQ(table->focusChild(), table->child(1 * 2 + 0));
}

// A list without a header row (the affix offers, the lookup's results) names its columns
// by the names the grid is given; a text in a fixed row is the title where there is one.
TEST(LayerGridAccessible, ColumnsWithoutATitleInAFixedRowHaveTheGridsColumnNames) {
  struct Case {
    const char* name;
    int fixedRows;
    QStringList headerTexts;
    QStringList columnNames;
    QStringList heard;
  };
  const QString word = QStringLiteral("Candidate Word");
  const QString digits = QStringLiteral("Represents");
  const Case cases[] = {
      {"no header row", 0, {}, {word, digits}, {word, digits}},
      {"no header row, one name", 0, {}, {word}, {word, QString()}},
      {"no header row, no names", 0, {}, {}, {QString(), QString()}},
      {"titles in the header row",
       1,
       {QStringLiteral("Wort"), QStringLiteral("Ziffern")},
       {word, digits},
       {QStringLiteral("Wort"), QStringLiteral("Ziffern")}},
      {"an empty title",
       1,
       {QString(), QStringLiteral("Ziffern")},
       {word, digits},
       {word, QStringLiteral("Ziffern")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TLayerGrid grid(nullptr, 2, 5);
    grid.SetFixedCols(0);
    grid.SetFixedRows(c.fixedRows);
    for (int col = 0; col < c.headerTexts.size(); ++col) {
      grid.SetCellText(col, 0, c.headerTexts.at(col));
    }
    // Set as the window's translation sets it, through the property.
    ASSERT_TRUE(grid.setProperty("columnNames", c.columnNames));
    EXPECT_EQ(grid.ColumnNames(), c.columnNames);
    QAccessibleTableInterface* cells =
        QAccessible::queryAccessibleInterface(&grid)->tableInterface();
    ASSERT_NE(cells, nullptr);
    for (int col = 0; col < 2; ++col) {
      EXPECT_EQ(cells->columnDescription(col), c.heard.at(col)) << "column " << col;
    }
    EXPECT_EQ(cells->columnDescription(2), QString());
  }
}

TEST(LayerGridPickKeys, SpaceAndEnterPickTheCurrentRowOnlyWithPickKeysOn) {
  for (const bool on : {true, false}) {
    SCOPED_TRACE(on ? "pick keys on" : "pick keys off");
    CandidateGrid g;
    QWidget* window = &g.grid;
    int shortcutRuns = 0;
    // Enter is also the window's default key; the grid must get it first.
    auto* enter = new QShortcut(QKeySequence(Qt::Key_Return), window);
    QObject::connect(enter, &QShortcut::activated, [&] { ++shortcutRuns; });
    g.grid.SetPickKeys(on);
    g.Show();
    g.grid.FocusCell(0, 3);
    QSignalSpy picked(&g.grid, &TLayerGrid::RowPicked);
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
      QTest::keyClick(&g.grid, key);
    }
    if (on) {
      ASSERT_EQ(picked.size(), 3);
      for (const QList<QVariant>& args : picked) {
        EXPECT_EQ(args.at(0).toInt(), 3);
      }
      EXPECT_EQ(shortcutRuns, 0);
    } else {
      EXPECT_EQ(picked.size(), 0);
      EXPECT_EQ(shortcutRuns, 1);
    }
    // With a modifier the keys are no pick.
    QTest::keyClick(&g.grid, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(picked.size(), on ? 3 : 0);
  }
}

TEST(LayerGridPickKeys, TheKeyboardReachesRowsBelowTheFirstPage) {
  CandidateGrid g(30);
  // As in the main window: only rows shown wholly may become current, so that a click
  // never scrolls.
  g.grid.SetOnSelectCell(
      [&g](int, int row) { return row < g.grid.TopRow() + g.grid.VisibleRowCount(); });
  g.Show();
  g.grid.FocusCell(0, 1);
  for (int i = 0; i < 10; ++i) {
    QTest::keyClick(&g.grid, Qt::Key_Down);
  }
  EXPECT_EQ(g.grid.Row(), 11);
  EXPECT_GT(g.grid.TopRow(), 1);
  QTest::keyClick(&g.grid, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(g.grid.Row(), 29);
  QTest::keyClick(&g.grid, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(g.grid.Row(), 1);
  EXPECT_EQ(g.grid.TopRow(), 1);
}

}  // namespace
}  // namespace vantrel
