// SPDX-License-Identifier: GPL-3.0-or-later
// The grid widget: its cell table, column widths and their event, stretching, the mouse,
// hints, the clipboard keys and design data.

#include "LayerGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace vantrel {
namespace {

// Two columns of 100 and 50 pixels, one header row and a client area of the given size
// (no scroll bars, so the size is exact): the header takes 25 pixels, each row 25.
std::unique_ptr<TLayerGrid> ShownGrid(int rows = 50, QSize client = {300, 130}) {
  auto grid = std::make_unique<TLayerGrid>(nullptr, 2, rows);
  grid->SetFixedCols(0);
  grid->SetScrollBars(TLayerGrid::ScrollBars::kNone);
  grid->SetColWidth(0, 100);
  grid->SetColWidth(1, 50);
  const int frame = grid->frameWidth();
  grid->resize(client.width() + 2 * frame, client.height() + 2 * frame);
  grid->show();
  QCoreApplication::processEvents();
  return grid;
}

// Shows a grid and lets its scroll bars settle, which they do through queued events.
void Show(TLayerGrid& grid, QSize size) {
  grid.resize(size);
  grid.show();
  QCoreApplication::processEvents();
}

// A list such as the program's candidates: two columns of 151 and 115 pixels, a header
// row, lines around every cell, borders dragged in the header, a vertical scroll bar, the
// last column stretched; no cell can be edited and the grid's own hint shows.
std::unique_ptr<TLayerGrid> WordList() {
  using Opt = TLayerGrid::GridOption;
  auto grid = std::make_unique<TLayerGrid>(nullptr, 2, 5000);
  grid->SetFixedCols(0);
  grid->SetFixedRows(1);
  grid->SetOptions(Opt::kFixedVertLine | Opt::kFixedHorzLine | Opt::kVertLine | Opt::kHorzLine |
                   Opt::kColSizing);
  grid->SetScrollBars(TLayerGrid::ScrollBars::kVertical);
  grid->SetColWidth(0, 151);
  grid->SetColWidth(1, 115);
  grid->SetEditable(false);
  grid->SetShowCellHints(false);
  grid->SetHint(QStringLiteral("Click to select"));
  grid->SetShowHint(true);
  grid->SetAutoAdjustLastCol(true);
  return grid;
}

// A list such as the lookup results: one column, cell hints on, a grid hint set.
std::unique_ptr<TLayerGrid> ResultList() {
  auto grid = std::make_unique<TLayerGrid>(nullptr, 1, 20);
  grid->SetFixedCols(0);
  grid->SetFixedRows(0);
  grid->SetScrollBars(TLayerGrid::ScrollBars::kVertical);
  grid->SetColWidth(0, 214);
  grid->SetShowCellHints(true);
  grid->SetHint(QStringLiteral("Numeric equivalent"));
  grid->SetShowHint(true);
  grid->SetAutoAdjustLastCol(true);
  return grid;
}

// The middle of a cell in client coordinates.
QPoint Middle(const TLayerGrid& grid, int col, int row) {
  return grid.CellRect(col, row).center();
}

void SendHintRequest(TLayerGrid& grid, QPoint point) {
  QHelpEvent event(QEvent::ToolTip, point, grid.viewport()->mapToGlobal(point));
  QApplication::sendEvent(grid.viewport(), &event);
}

const QLabel* ShownCellHint(const TLayerGrid& grid) {
  const auto* label = grid.findChild<QLabel*>("cellHint");
  return label != nullptr && label->isVisible() ? label : nullptr;
}

void WaitForToolTipToHide() {
  QToolTip::hideText();
  for (int i = 0; i < 100 && QToolTip::isVisible(); ++i) {
    QTest::qWait(20);
  }
}

TEST(LayerGridTable, ShowsAndEditsTheAttachedTable) {
  CellTable table(2, 30);
  table.SetCurrentRow(7);
  TLayerGrid grid(nullptr, 2, 5);
  grid.SetTable(&table);
  EXPECT_EQ(grid.RowCount(), 30);
  EXPECT_EQ(grid.Row(), 7) << "the table's current row is the grid's from the start";

  // Windows-1252 bytes show as Unicode; the placeholder bullet is 0x95.
  table.SetCell(0, 3, "caf\xE9 \x95");
  EXPECT_EQ(grid.CellText(0, 3), QString::fromUtf8("café •"));
  grid.SetCellText(1, 2, QString::fromUtf8("naïve"));
  EXPECT_EQ(table.Cell(1, 2), "na\xEFve");

  grid.SetRowCount(40);
  EXPECT_EQ(table.RowCount(), 40);
  table.SetRowCount(10);
  EXPECT_EQ(grid.RowCount(), 10);

  table.SetItalic(0, 3, true);
  EXPECT_TRUE(grid.DisplayFont(0, 3).italic());
  EXPECT_FALSE(grid.DisplayFont(1, 3).italic());

  grid.SetTable(nullptr);
  EXPECT_EQ(grid.RowCount(), 5);
  table.SetCell(0, 1, "gone");
  EXPECT_EQ(grid.CellText(0, 1), QString());
}

TEST(LayerGridTable, CurrentRowIsTheTables) {
  CellTable table(2, 100);
  auto grid = ShownGrid();
  grid->SetTable(&table);
  QSignalSpy topLeft(grid.get(), &TLayerGrid::TopLeftChanged);

  table.SetCurrentRow(60);
  EXPECT_EQ(grid->Row(), 60);
  EXPECT_GE(topLeft.count(), 1) << "the current row was scrolled into view";
  EXPECT_LE(grid->TopRow(), 60);
  EXPECT_GT(grid->TopRow() + grid->VisibleRowCount(), 60);

  grid->SetOnSelectCell([](int, int row) { return row < 70; });
  table.SetCurrentRow(80);
  EXPECT_EQ(grid->Row(), 60);
  EXPECT_EQ(table.CurrentRow(), 60) << "a refused row is put back";

  table.SetCurrentRow(0);
  EXPECT_EQ(table.CurrentRow(), 60) << "the header row cannot be current";

  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, Middle(*grid, 1, grid->TopRow() + 1));
  EXPECT_EQ(table.CurrentRow(), grid->TopRow() + 1);
  grid->SetTable(nullptr);
}

TEST(LayerGridTable, ColumnCountBelongsToAnAttachedTable) {
  CellTable table(2, 3);
  TLayerGrid grid(nullptr, 3, 3);
  grid.SetCellText(1, 1, "kept");
  grid.Table().SetItalic(1, 1, true);
  grid.SetColCount(2);
  EXPECT_EQ(grid.ColCount(), 2);
  EXPECT_EQ(grid.CellText(1, 1), "kept");
  EXPECT_TRUE(grid.Table().Italic(1, 1));
  grid.SetTable(&table);
  grid.SetColCount(4);
  EXPECT_EQ(table.ColCount(), 4);
  EXPECT_EQ(grid.ColCount(), 4);
  grid.SetTable(nullptr);
}

TEST(LayerGridTable, ATableThatGoesAwayLeavesTheGridItsOwn) {
  TLayerGrid grid(nullptr, 3, 3);
  grid.SetCellText(0, 0, "own");
  {
    CellTable table(2, 40);
    grid.SetTable(&table);
    EXPECT_EQ(grid.RowCount(), 40);
  }
  EXPECT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.CellText(0, 0), "own");
  grid.grab();  // painting after the loss touches nothing freed
}

TEST(LayerGridWidths, AbsurdWidthsAreBounded) {
  TLayerGrid grid(nullptr, 2, 5);
  grid.SetColWidth(0, INT_MAX);
  grid.SetColWidth(1, INT_MAX);
  EXPECT_EQ(grid.ColWidth(0), TLayerGrid::kMaxColWidth);
  grid.SetColWidth(1, -5);
  EXPECT_EQ(grid.ColWidth(1), 0);
  grid.resize(300, 200);
  grid.grab();  // paints without overflowing its sums
}

TEST(LayerGridWidths, EventAfterEveryRealChangeOnly) {
  TLayerGrid grid(nullptr, 2, 5);
  QSignalSpy changed(&grid, &TLayerGrid::ColWidthsChanged);
  grid.SetColWidth(1, 80);
  EXPECT_EQ(changed.count(), 1);
  grid.SetColWidth(1, 80);
  EXPECT_EQ(changed.count(), 1) << "an unchanged width raises nothing";
  EXPECT_EQ(grid.ColWidth(1), 80);

  for (int col : {2, -1}) {
    SCOPED_TRACE(col);
    try {
      grid.SetColWidth(col, 10);
      ADD_FAILURE() << "accepted";
    } catch (const std::out_of_range& error) {
      EXPECT_STREQ(error.what(), "Grid index out of range");
    }
  }
  EXPECT_EQ(changed.count(), 1);
}

TEST(LayerGridWidths, WidthsSettledByTwoGridsComeToRest) {
  // Two grids copying widths to each other in both directions, as the main window does.
  TLayerGrid first(nullptr, 2, 5);
  TLayerGrid second(nullptr, 2, 5);
  int events = 0;
  auto sync = [&events](TLayerGrid& from, TLayerGrid& to) {
    ++events;
    to.SetColWidth(0, from.ColWidth(0));
    to.SetColWidth(1, from.ColWidth(1));
  };
  QObject::connect(&first, &TLayerGrid::ColWidthsChanged, [&] { sync(first, second); });
  QObject::connect(&second, &TLayerGrid::ColWidthsChanged, [&] { sync(second, first); });
  first.SetColWidth(0, 120);
  EXPECT_EQ(second.ColWidth(0), 120);
  EXPECT_LE(events, 3);
}

TEST(LayerGridStretch, LastColumnFillsTheClientWidth) {
  auto grid = ShownGrid();
  ASSERT_EQ(grid->viewport()->size(), QSize(300, 130));
  QSignalSpy changed(grid.get(), &TLayerGrid::ColWidthsChanged);

  grid->SetAutoAdjustLastCol(true);
  EXPECT_EQ(grid->ColWidth(1), 300 - 100 - 2) << "switching it on stretches";
  EXPECT_EQ(changed.count(), 1);

  grid->resize(grid->width() + 40, grid->height());
  EXPECT_EQ(grid->ColWidth(1), 238) << "a resize stretches";

  grid->SetGridLineWidth(3);
  EXPECT_EQ(grid->ColWidth(1), 340 - 100 - 6) << "a new line width stretches";

  grid->SetColWidth(0, 150);
  EXPECT_EQ(grid->ColWidth(1), 234) << "a width set by code waits for the next trigger";
  QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, Middle(*grid, 0, 2));
  EXPECT_EQ(grid->ColWidth(1), 340 - 150 - 6) << "any button release stretches";
}

// Lines switched off take their room with them: the cells move together.
TEST(LayerGridLines, OptionsWithoutLinesMoveTheCellsTogether) {
  using Opt = TLayerGrid::GridOption;
  auto grid = WordList();
  grid->SetAutoAdjustLastCol(false);
  const QRect lined = grid->CellRect(1, 2);
  grid->SetOptions(grid->Options() & ~(Opt::kVertLine | Opt::kFixedVertLine));
  EXPECT_LT(grid->CellRect(1, 2).left(), lined.left());
  EXPECT_EQ(grid->CellRect(1, 2).top(), lined.top());
  grid->SetOptions(grid->Options() & ~(Opt::kHorzLine | Opt::kFixedHorzLine));
  EXPECT_LT(grid->CellRect(1, 2).top(), lined.top());
  grid->SetOptions(grid->Options() | Opt::kVertLine | Opt::kFixedVertLine | Opt::kHorzLine |
                   Opt::kFixedHorzLine);
  EXPECT_EQ(grid->CellRect(1, 2), lined);
}

TEST(LayerGridStretch, OtherColumnsWiderThanTheClientLeaveTheLastAlone) {
  for (int first : {300, 420}) {
    SCOPED_TRACE(first);
    auto grid = ShownGrid();
    grid->SetColWidth(0, first);
    grid->SetAutoAdjustLastCol(true);
    EXPECT_EQ(grid->ColWidth(1), 50);
  }
}

TEST(LayerGridStretch, OffDoesNothing) {
  auto grid = ShownGrid();
  grid->resize(grid->width() + 40, grid->height());
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, Middle(*grid, 0, 2));
  EXPECT_EQ(grid->ColWidth(1), 50);
}

TEST(LayerGridMouse, DraggingTheBorderInPossibleGridStretchesAgain) {
  auto grid = WordList();
  Show(*grid, {306, 200});
  const int client = grid->viewport()->width();
  ASSERT_EQ(grid->ColWidth(1), client - 151 - 2);
  QSignalSpy changed(grid.get(), &TLayerGrid::ColWidthsChanged);
  QSignalSpy mouseUp(grid.get(), &TLayerGrid::MouseUp);

  QWidget* viewport = grid->viewport();
  QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(151, 10));
  QTest::mouseMove(viewport, QPoint(140, 10));
  QTest::mouseMove(viewport, QPoint(121, 10));
  EXPECT_EQ(changed.count(), 0) << "the width is applied when the button is released";
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(121, 10));

  EXPECT_EQ(grid->ColWidth(0), 121);
  EXPECT_EQ(grid->ColWidth(1), client - 121 - 2);
  EXPECT_EQ(changed.count(), 2) << "once for the drag, once for the stretch";
  ASSERT_EQ(mouseUp.count(), 1);
  EXPECT_EQ(mouseUp.at(0).at(2).toPoint(), QPoint(121, 10));
  EXPECT_EQ(grid->CellAt(QPoint(121, 10)).row, 0) << "the release lands on the header";

  // A click on the header without a drag changes no width and raises nothing.
  QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(60, 10));
  EXPECT_EQ(changed.count(), 2);
}

TEST(LayerGridMouse, BordersAreDraggedInTheHeaderOnly) {
  auto grid = WordList();
  Show(*grid, {306, 200});
  QWidget* viewport = grid->viewport();
  const int row = grid->TopRow() + 2;
  const QPoint onBorder(151, grid->CellRect(0, row).center().y());
  QTest::mousePress(viewport, Qt::LeftButton, {}, onBorder);
  QTest::mouseMove(viewport, QPoint(100, onBorder.y()));
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(100, onBorder.y()));
  EXPECT_EQ(grid->ColWidth(0), 151);
  EXPECT_EQ(grid->Row(), row);
}

TEST(LayerGridMouse, RefusedCellsStillReportTheMouse) {
  auto grid = ShownGrid(50, {300, 140});
  // Only wholly shown rows may become current, as the main window's grids require.
  TLayerGrid* raw = grid.get();
  grid->SetOnSelectCell(
      [raw](int, int row) { return row < raw->TopRow() + raw->VisibleRowCount(); });
  QSignalSpy topLeft(raw, &TLayerGrid::TopLeftChanged);
  QSignalSpy clicks(raw, &TLayerGrid::Click);
  QSignalSpy mouseDown(raw, &TLayerGrid::MouseDown);
  QSignalSpy mouseUp(raw, &TLayerGrid::MouseUp);

  // Rows 1 to 4 show wholly; row 5 shows its top 15 pixels.
  ASSERT_EQ(grid->VisibleRowCount(), 4);
  const QPoint halfShown(20, 130);
  ASSERT_EQ(grid->CellAt(halfShown), (CellCoord{0, 5}));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, halfShown);
  EXPECT_EQ(grid->Row(), 1) << "the current cell did not move";
  EXPECT_EQ(topLeft.count(), 0) << "nor did the grid scroll";
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(mouseDown.count(), 1);
  ASSERT_EQ(mouseUp.count(), 1);
  EXPECT_EQ(grid->CellAt(mouseUp.at(0).at(2).toPoint()).row, 5);

  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, Middle(*grid, 1, 3));
  EXPECT_EQ(grid->Row(), 3);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(clicks.count(), 1);
}

TEST(LayerGridMouse, ScrollingByAnyMeansIsReported) {
  auto grid = ShownGrid();
  grid->SetScrollBars(TLayerGrid::ScrollBars::kVertical);
  QSignalSpy topLeft(grid.get(), &TLayerGrid::TopLeftChanged);
  grid->verticalScrollBar()->setValue(10);
  EXPECT_EQ(grid->TopRow(), 11);
  EXPECT_EQ(topLeft.count(), 1);
  ASSERT_TRUE(grid->FocusCell(0, 12));
  QTest::keyClick(grid.get(), Qt::Key_PageDown);
  EXPECT_EQ(grid->Row(), 16);
  EXPECT_GT(grid->TopRow(), 11);
  EXPECT_EQ(topLeft.count(), 2);
  grid->SetTopRow(1000);
  EXPECT_EQ(grid->TopRow(), grid->RowCount() - grid->Geometry().RowsThatFit());
}

// One click on an arrow of the scroll bar moves the list by exactly one row, in either
// direction, as the arrows of any list do.
TEST(LayerGridMouse, AClickOnAScrollArrowMovesTheListOneRow) {
  auto grid = ShownGrid();
  grid->SetScrollBars(TLayerGrid::ScrollBars::kVertical);
  QCoreApplication::processEvents();
  QScrollBar* bar = grid->verticalScrollBar();
  ASSERT_TRUE(bar->isVisible());
  grid->SetTopRow(10);
  ASSERT_EQ(grid->TopRow(), 10);
  struct Click {
    const char* name;
    QStyle::SubControl arrow;
    int topRow;
  };
  const Click clicks[] = {
      {"down", QStyle::SC_ScrollBarAddLine, 11},
      {"down again", QStyle::SC_ScrollBarAddLine, 12},
      {"up", QStyle::SC_ScrollBarSubLine, 11},
      {"up again", QStyle::SC_ScrollBarSubLine, 10},
  };
  for (const Click& click : clicks) {
    SCOPED_TRACE(click.name);
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    const QRect arrow =
        bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, click.arrow, bar);
    ASSERT_FALSE(arrow.isEmpty()) << "the style draws arrows";
    QTest::mouseClick(bar, Qt::LeftButton, {}, arrow.center());
    EXPECT_EQ(grid->TopRow(), click.topRow);
  }
}

TEST(LayerGridMouse, ShiftClickSelectsARange) {
  auto grid = ShownGrid();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, Middle(*grid, 0, 1));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, Middle(*grid, 1, 3));
  EXPECT_EQ(grid->Selection(), (CellRange{0, 1, 1, 3}));
  EXPECT_EQ(grid->Row(), 3);
}

TEST(LayerGridKeys, ShiftArrowsExtendTheSelectionAndKeypadEnterPicks) {
  auto grid = ShownGrid();
  grid->SetOptions(grid->Options() | TLayerGrid::kRangeSelect);
  grid->SetPickKeys(true);
  std::vector<int> picked;
  QObject::connect(grid.get(), &TLayerGrid::RowPicked,
                   [&picked](int row) { picked.push_back(row); });
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, Middle(*grid, 0, 1));
  QTest::keyClick(grid.get(), Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(grid.get(), Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(grid->Selection(), (CellRange{0, 1, 1, 2}));
  QTest::keyClick(grid.get(), Qt::Key_Down);
  EXPECT_EQ(grid->Selection(), (CellRange{1, 3, 1, 3}));
  // Enter of the number block arrives with the keypad modifier.
  QTest::keyClick(grid.get(), Qt::Key_Enter, Qt::KeypadModifier);
  QTest::keyClick(grid.get(), Qt::Key_Return);
  EXPECT_EQ(picked, (std::vector<int>{3, 3}));
}

TEST(LayerGridHints, CellHintShowsBelowItsCell) {
  auto grid = ShownGrid();
  grid->SetShowCellHints(true);
  grid->SetCellHint(1, 2, "two");
  const QRect cell = grid->CellRect(1, 2);
  SendHintRequest(*grid, Middle(*grid, 1, 2));
  const QLabel* label = ShownCellHint(*grid);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "two");
  EXPECT_EQ(label->pos(), grid->viewport()->mapToGlobal(QPoint(cell.left(), cell.top() + 24 + 6)));
  // A tooltip's box: a line round its edge, then its background.
  const QImage shown = const_cast<QLabel*>(label)->grab().toImage();
  const int middle = shown.height() / 2;
  EXPECT_NE(shown.pixelColor(0, middle), shown.pixelColor(2, middle));
  EXPECT_EQ(shown.pixelColor(2, middle), label->palette().color(QPalette::ToolTipBase));

  // Moving inside the cell keeps it; moving onto another cell cancels it.
  QTest::mouseMove(grid->viewport(), Middle(*grid, 1, 2) + QPoint(3, 2));
  EXPECT_NE(ShownCellHint(*grid), nullptr);
  QTest::mouseMove(grid->viewport(), Middle(*grid, 1, 3));
  EXPECT_EQ(ShownCellHint(*grid), nullptr);
}

TEST(LayerGridHints, HandlerMayChangeTextAndPlace) {
  auto grid = ShownGrid();
  grid->SetShowCellHints(true);
  grid->SetCellHint(0, 1, "one");
  grid->SetOnShowHintCell([](int col, int row, QString& text, QPoint& place) {
    text += QString(" at %1,%2").arg(col).arg(row);
    place = QPoint(7, 9);
  });
  SendHintRequest(*grid, Middle(*grid, 0, 1));
  const QLabel* label = ShownCellHint(*grid);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "one at 0,1");
  EXPECT_EQ(label->pos(), grid->viewport()->mapToGlobal(QPoint(7, 9)));
}

TEST(LayerGridHints, NoCellHintMeansNoHintAtAll) {
  // The lookup grid: cell hints on, a grid hint set, no cell with a hint.
  auto grid = ResultList();
  Show(*grid, {240, 120});
  WaitForToolTipToHide();
  ASSERT_EQ(grid->Hint(), "Numeric equivalent");
  SendHintRequest(*grid, Middle(*grid, 0, 1));
  EXPECT_EQ(ShownCellHint(*grid), nullptr);
  EXPECT_FALSE(QToolTip::isVisible());
}

TEST(LayerGridHints, GridHintWhenCellHintsAreOff) {
  auto grid = WordList();
  Show(*grid, {306, 200});
  grid->SetCellHint(0, 1, "never shown");
  SendHintRequest(*grid, Middle(*grid, 0, 1));
  EXPECT_EQ(ShownCellHint(*grid), nullptr);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), "Click to select");
  WaitForToolTipToHide();

  grid->SetShowHint(false);
  SendHintRequest(*grid, Middle(*grid, 0, 1));
  EXPECT_FALSE(QToolTip::isVisible());
}

class LayerGridClipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    grid = WordList();
    grid->resize(306, 200);
    for (int row = 1; row <= 3; ++row) {
      grid->SetCellText(0, row, QString("word%1").arg(row));
      grid->SetCellText(1, row, QString("%1%1").arg(row));
    }
    QGuiApplication::clipboard()->clear();
  }

  std::unique_ptr<TLayerGrid> grid;
};

TEST_F(LayerGridClipboard, CtrlInsertCopiesTheSelection) {
  grid->SetSelection({0, 1, 1, 2});
  QTest::keyClick(grid.get(), Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "word1\t11\t\r\nword2\t22\t\r\n");
  EXPECT_EQ(grid->CellText(0, 1), "word1");
}

TEST_F(LayerGridClipboard, ShiftDeleteEmptiesTheCurrentCellOfAReadOnlyGrid) {
  ASSERT_FALSE(grid->CanEditCell(0, 2));
  ASSERT_TRUE(grid->FocusCell(0, 2));
  QTest::keyClick(grid.get(), Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "word2\t\r\n");
  EXPECT_EQ(grid->CellText(0, 2), "");
  EXPECT_EQ(grid->CellText(1, 2), "22");
}

TEST_F(LayerGridClipboard, ShiftInsertPastesIntoTheSelection) {
  QGuiApplication::clipboard()->setText(QString::fromUtf8("café\t77\r\nzwei\t88\r\n"));
  grid->SetSelection({0, 2, 1, 2});
  QTest::keyClick(grid.get(), Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(grid->Cell(0, 2), "caf\xE9");
  EXPECT_EQ(grid->CellText(1, 2), "77");
  EXPECT_EQ(grid->CellText(0, 3), "word3") << "the selection ends at row 2";
}

TEST_F(LayerGridClipboard, OtherInsertAndDeleteKeysDoNothing) {
  ASSERT_TRUE(grid->FocusCell(0, 1));
  QTest::keyClick(grid.get(), Qt::Key_Delete);
  QTest::keyClick(grid.get(), Qt::Key_Insert);
  QTest::keyClick(grid.get(), Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(grid->CellText(0, 1), "word1");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
}

// The colour inside a cell, away from its text and its focus frame.
QColor CellColor(TLayerGrid& grid, int col, int row) {
  const QRect rect = grid.CellRect(col, row);
  return grid.viewport()->grab().toImage().pixelColor(rect.right() - 2, rect.bottom() - 2);
}

// Whether any pixel of the column x, between the cell's top and bottom, differs from the
// cell's own background.
bool InkInColumn(const QImage& image, const QRect& cell, int x) {
  const QColor background = image.pixelColor(cell.right() - 2, cell.bottom() - 2);
  for (int y = cell.top() + 3; y < cell.bottom() - 2; ++y) {
    if (image.pixelColor(x, y) != background) {
      return true;
    }
  }
  return false;
}

// The leftmost and rightmost columns of pixels with ink inside a cell, its edges left out.
std::pair<int, int> InkSpan(const QImage& image, const QRect& cell) {
  int first = -1;
  int last = -1;
  for (int x = cell.left() + 1; x < cell.right(); ++x) {
    if (InkInColumn(image, cell, x)) {
      first = first < 0 ? x : first;
      last = x;
    }
  }
  return {first, last};
}

TEST(LayerGridPaint, ATitleInAFixedCellKeepsItsAlignmentAndIsClippedAtTheCellsEdges) {
  // A translated title can be wider than its column: it is drawn as any text of its
  // alignment and cut at the cell's edges, never shortened to an ellipsis.
  struct Case {
    const char* what;
    TCellAlign align;
    bool inkAtLeftEdge;
    bool inkAtRightEdge;
  };
  const Case cases[] = {
      {"centred", alCenter, true, true},
      {"left", alLeft, false, true},
      {"right", alRight, true, false},
  };
  const QString longTitle = QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto grid = ShownGrid();
    grid->Layers().Entry(LayerKind::kFixedRow, 0).SetAlign(c.align);
    grid->SetCellText(1, 0, longTitle);
    const QRect cell = grid->CellRect(1, 0);
    const QImage image = grid->viewport()->grab().toImage();
    // Cut at the cell's edge: ink reaches the pixel next to the cell's border line.
    EXPECT_EQ(InkInColumn(image, cell, cell.left() + 1), c.inkAtLeftEdge);
    EXPECT_EQ(InkInColumn(image, cell, cell.right() - 1), c.inkAtRightEdge);
    // What sticks out on the left is not drawn over the empty title beside it.
    const QRect neighbour = grid->CellRect(0, 0);
    EXPECT_FALSE(InkInColumn(image, neighbour, neighbour.right() - 1));
  }

  // Centred, the title that fits and the one too wide are centred alike; the wide one is
  // the same picture as the fitting one's middle would be, without dots at its end.
  auto grid = ShownGrid();
  grid->Layers().Entry(LayerKind::kFixedRow, 0).SetAlign(alCenter);
  grid->SetCellText(0, 0, QStringLiteral("WW"));
  grid->SetCellText(1, 0, longTitle);
  const QImage image = grid->viewport()->grab().toImage();
  const QRect shortCell = grid->CellRect(0, 0);
  const auto [shortFirst, shortLast] = InkSpan(image, shortCell);
  ASSERT_GE(shortFirst, 0);
  EXPECT_LE(std::abs((shortFirst + shortLast) - 2 * shortCell.center().x()), 2);
  const QRect wideCell = grid->CellRect(1, 0);
  const auto [wideFirst, wideLast] = InkSpan(image, wideCell);
  EXPECT_EQ(wideFirst, wideCell.left() + 1);
  EXPECT_EQ(wideLast, wideCell.right() - 1);

  // Widened until the title fits, the column shows all of it, centred and whole.
  const QString title = QStringLiteral("WWWWWWWWWW");
  grid->SetCellText(1, 0, title);
  grid->SetColWidth(0, 20);
  const QRect narrowCell = grid->CellRect(1, 0);
  EXPECT_EQ(InkSpan(grid->viewport()->grab().toImage(), narrowCell),
            std::make_pair(narrowCell.left() + 1, narrowCell.right() - 1))
      << "too wide for 50 pixels";
  grid->SetColWidth(1, 250);
  const QImage widened = grid->viewport()->grab().toImage();
  const QRect widenedCell = grid->CellRect(1, 0);
  const auto [first, last] = InkSpan(widened, widenedCell);
  ASSERT_GE(first, 0);
  EXPECT_GT(first, widenedCell.left() + 4);
  EXPECT_LT(last, widenedCell.right() - 4);
  EXPECT_LE(std::abs((first + last) - 2 * widenedCell.center().x()), 2);
}

TEST(LayerGridPaint, SelectedCellsTakeTheResolvedSelectionColours) {
  auto grid = ShownGrid();
  const QColor green(10, 200, 10);
  const QColor red(200, 10, 10);
  const QColor background = CellColor(*grid, 0, 4);
  grid->Layers().SetSelectedCellColor(green);
  grid->Layers()
      .Entry(LayerKind::kColumn, 1)
      .SetSelectedBrush(TLayerBrush(RefFromColor(red), kSolid));
  grid->SetSelection({0, 2, 1, 3});
  EXPECT_EQ(CellColor(*grid, 0, 2), green);
  EXPECT_EQ(CellColor(*grid, 1, 3), red);
  EXPECT_EQ(CellColor(*grid, 0, 4), background);

  grid->SetDrawSelection(false);
  EXPECT_EQ(CellColor(*grid, 0, 2), background);
}

TEST(LayerGridPaint, TheFocusedCellShowsSelectedWhateverItsColour) {
  auto grid = ShownGrid();
  grid->activateWindow();
  grid->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(grid->hasFocus());
  const QColor designed(10, 200, 10);
  grid->Layers().SetSelectedCellColor(designed);
  ASSERT_TRUE(grid->FocusCell(0, 2));
  EXPECT_EQ(CellColor(*grid, 0, 2), designed) << "focused";
  grid->clearFocus();
  EXPECT_EQ(CellColor(*grid, 0, 2), designed) << "not focused: the design's colour stays";
}

// Sets the application's highlight colours for as long as it lives, as the desktop does,
// with an inactive highlight unlike the active one.
class DesktopHighlight {
 public:
  static constexpr QRgb kActive = qRgb(20, 90, 200);
  static constexpr QRgb kActiveText = qRgb(255, 255, 255);
  static constexpr QRgb kInactive = qRgb(200, 200, 210);
  static constexpr QRgb kInactiveText = qRgb(40, 40, 40);

  DesktopHighlight() : saved_(QApplication::palette()) {
    QPalette palette = saved_;
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(kActive));
    palette.setColor(QPalette::Active, QPalette::HighlightedText, QColor(kActiveText));
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(kInactive));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, QColor(kInactiveText));
    QApplication::setPalette(palette);
    QCoreApplication::processEvents();
  }
  ~DesktopHighlight() { QApplication::setPalette(saved_); }
  DesktopHighlight(const DesktopHighlight&) = delete;
  DesktopHighlight& operator=(const DesktopHighlight&) = delete;

 private:
  QPalette saved_;
};

// Two lists side by side in one window, as the main window has its candidates and its
// phrase: the left one selects cells, the right one whole rows. Both have a header row,
// texts in every cell and a large bold font, so that their text colour shows in pixels.
class TwoGrids {
 public:
  TwoGrids() {
    auto* layout = new QHBoxLayout(&window);
    for (TLayerGrid** slot : {&left, &right}) {
      auto* grid = new TLayerGrid(&window, 2, 6);
      grid->SetFixedCols(0);
      grid->SetScrollBars(TLayerGrid::ScrollBars::kNone);
      QFont font = grid->font();
      font.setPixelSize(18);
      font.setBold(true);
      grid->setFont(font);
      grid->SetColWidth(0, 90);
      grid->SetColWidth(1, 70);
      for (int row = 0; row < grid->RowCount(); ++row) {
        grid->SetCellText(0, row, QStringLiteral("HIH"));
        grid->SetCellText(1, row, QStringLiteral("%1").arg(row * 11));
      }
      layout->addWidget(grid);
      *slot = grid;
    }
    right->SetOptions(right->Options() | TLayerGrid::kRowSelect);
    window.resize(380, 200);
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  void Focus(TLayerGrid* grid) {
    grid->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(grid->hasFocus());
    picture = window.grab().toImage();
  }
  // The colour inside a cell, right of its text and inside its focus outline.
  QRgb Fill(TLayerGrid* grid, int col, int row) const {
    const QRect rect = grid->CellRect(col, row);
    return picture.pixel(grid->viewport()->mapTo(&window, rect.bottomRight() - QPoint(3, 3)));
  }
  bool HasTextIn(TLayerGrid* grid, int col, int row, QRgb color) const {
    const QRect rect =
        grid->CellRect(col, row).translated(grid->viewport()->mapTo(&window, QPoint()));
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      for (int x = rect.left(); x <= rect.right(); ++x) {
        if (picture.pixel(x, y) == color) {
          return true;
        }
      }
    }
    return false;
  }
  // The picture to look at, written only when VANTREL_SHOTS names a folder.
  void Save(const char* name) const {
    const QString folder = qEnvironmentVariable("VANTREL_SHOTS");
    if (!folder.isEmpty()) {
      const QString path = QDir(folder).filePath(QStringLiteral("vantrel-%1.png").arg(name));
      EXPECT_TRUE(picture.save(path)) << path.toStdString();
    }
  }

  QWidget window;
  TLayerGrid* left = nullptr;
  TLayerGrid* right = nullptr;
  QImage picture;
};

// The grid the keyboard is in shows its current row in the desktop's highlight, the other
// grid its selected row in the inactive highlight; the focus going over swaps them.
TEST(LayerGridPaint, OnlyTheFocusedGridShowsTheBrightHighlight) {
  DesktopHighlight desktop;
  TwoGrids g;
  const QRgb background = QApplication::palette().color(QPalette::Base).rgb();
  ASSERT_TRUE(g.left->FocusCell(1, 2));
  ASSERT_TRUE(g.right->FocusCell(0, 4));

  struct Case {
    const char* name;
    TLayerGrid* focused;
    QRgb left, leftText;    // the left grid's current cell (1, 2)
    QRgb right, rightText;  // the right grid's current row 4, both cells
  };
  const Case cases[] = {
      {"left focused", g.left, DesktopHighlight::kActive, DesktopHighlight::kActiveText,
       DesktopHighlight::kInactive, DesktopHighlight::kInactiveText},
      {"right focused", g.right, DesktopHighlight::kInactive, DesktopHighlight::kInactiveText,
       DesktopHighlight::kActive, DesktopHighlight::kActiveText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g.Focus(c.focused);
    g.Save(c.focused == g.left ? "two-grids-left-focused" : "two-grids-right-focused");
    EXPECT_EQ(g.Fill(g.left, 1, 2), c.left);
    EXPECT_TRUE(g.HasTextIn(g.left, 1, 2, c.leftText));
    EXPECT_EQ(g.Fill(g.left, 0, 2), background) << "the left grid selects the cell alone";
    EXPECT_EQ(g.Fill(g.left, 1, 3), background);
    for (int col = 0; col < 2; ++col) {
      SCOPED_TRACE(col);
      EXPECT_EQ(g.Fill(g.right, col, 4), c.right);
      EXPECT_TRUE(g.HasTextIn(g.right, col, 4, c.rightText));
      EXPECT_EQ(g.Fill(g.right, col, 3), background);
    }
  }
}

// With a desktop whose inactive highlight is its active one, the grid without the focus
// still shows its selection apart from the focused grid's: paler, with plain text.
TEST(LayerGridPaint, AGridWithoutFocusIsPalerWhereTheDesktopHasOneHighlight) {
  QPalette same = QApplication::palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    same.setColor(QPalette::Inactive, role, same.color(QPalette::Active, role));
  }
  const QPalette saved = QApplication::palette();
  QApplication::setPalette(same);
  {
    TwoGrids g;
    ASSERT_TRUE(g.left->FocusCell(1, 2));
    ASSERT_TRUE(g.right->FocusCell(0, 4));
    g.Focus(g.left);
    const QRgb focused = g.Fill(g.left, 1, 2);
    const QRgb unfocused = g.Fill(g.right, 0, 4);
    EXPECT_EQ(focused, same.color(QPalette::Active, QPalette::Highlight).rgb());
    EXPECT_NE(unfocused, focused);
    EXPECT_NE(unfocused, same.color(QPalette::Base).rgb());
    EXPECT_TRUE(g.HasTextIn(g.right, 0, 4, same.color(QPalette::Text).rgb()));
  }
  QApplication::setPalette(saved);
}

// Sets the application's text colour for as long as it lives, as the desktop does when
// the user picks other colours.
class TextColor {
 public:
  explicit TextColor(const QColor& color) : saved_(QApplication::palette()) {
    QPalette palette = saved_;
    palette.setColor(QPalette::Text, color);
    QApplication::setPalette(palette);
    QCoreApplication::processEvents();
  }
  ~TextColor() { QApplication::setPalette(saved_); }
  TextColor(const TextColor&) = delete;
  TextColor& operator=(const TextColor&) = delete;

 private:
  QPalette saved_;
};

bool HasPixelOf(const QImage& image, const QRect& area, const QColor& color) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixelColor(x, y) == color) {
        return true;
      }
    }
  }
  return false;
}

// A text in the system's text colour follows the desktop's colours when the user changes
// them, wherever its font is set: a cell, a column, a row or the header, and the font of
// a selected cell.
TEST(LayerGridPaint, TextInTheSystemsColourFollowsTheDesktopsColours) {
  struct Case {
    const char* name;
    std::function<void(TLayerGrid&, const TLayerFont&)> set;
    CellCoord cell;
    bool selected;
  };
  const Case cases[] = {
      {"cell font",
       [](TLayerGrid& g, const TLayerFont& f) {
         g.Layers().Entry(LayerKind::kCell, 0, 3).SetFont(f);
       },
       {0, 3},
       false},
      {"column font",
       [](TLayerGrid& g, const TLayerFont& f) {
         g.Layers().Entry(LayerKind::kColumn, 1).SetFont(f);
       },
       {1, 3},
       false},
      {"row font",
       [](TLayerGrid& g, const TLayerFont& f) { g.Layers().Entry(LayerKind::kRow, 4).SetFont(f); },
       {0, 4},
       false},
      {"header font",
       [](TLayerGrid& g, const TLayerFont& f) {
         g.Layers().Entry(LayerKind::kFixedRow, 0).SetFont(f);
       },
       {0, 0},
       false},
      {"selected font",
       [](TLayerGrid& g, const TLayerFont& f) {
         // The column's own font gives the size and a fixed colour; selected, the cell
         // takes the colour of the selected font.
         g.Layers()
             .Entry(LayerKind::kColumn, 0)
             .SetFont(TLayerFont(kBlack, f.Height(), f.Font().family(), 0, kBold));
         g.Layers().Entry(LayerKind::kColumn, 0).SetSelectedFont(f);
       },
       {0, 3},
       true},
  };
  const QColor changed(200, 30, 150);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto grid = ShownGrid();
    const TLayerFont font(kSysWindowText, -22, grid->font().family(), 0, kBold);
    c.set(*grid, font);
    grid->SetCellText(c.cell.col, c.cell.row, QStringLiteral("HHH"));
    if (c.selected) {
      grid->SetSelection({c.cell.col, c.cell.row, c.cell.col, c.cell.row});
    } else {
      grid->SetDrawSelection(false);
    }
    const QRect area = grid->CellRect(c.cell.col, c.cell.row).adjusted(2, 2, -2, -2);
    const auto shownColor = [&] {
      const ResolvedCell resolved = grid->Layers().Resolve(c.cell.col, c.cell.row);
      return c.selected ? resolved.selectedText : resolved.font->Color();
    };
    ASSERT_EQ(shownColor().name().toStdString(),
              QApplication::palette().color(QPalette::Text).name().toStdString());
    ASSERT_FALSE(HasPixelOf(grid->viewport()->grab().toImage(), area, changed));

    TextColor desktop(changed);
    EXPECT_EQ(shownColor().name().toStdString(), changed.name().toStdString());
    EXPECT_TRUE(HasPixelOf(grid->viewport()->grab().toImage(), area, changed))
        << "the text is drawn in the new colour";
  }
}

TEST(LayerGridDesign, WrittenAsRead) {
  TLayerGrid grid(nullptr, 3, 10);
  grid.SetFixedRows(1);
  grid.Layers().Entry(LayerKind::kColumn, 2).SetWordwrap(ww_wordwrap);
  grid.Layers().Entry(LayerKind::kCell, 1, 4).SetBrush(TLayerBrush(0x00FF00, kCross));
  grid.Layers().CellFont(0, 3).SetStyle(kItalic | kUnderline);
  grid.Layers()
      .Entry(LayerKind::kFixedRow, 0)
      .SetSelectedBrush(TLayerBrush(kSysWindowText, kSolid));
  grid.Layers().Entry(LayerKind::kRow, 9).SetEditable(kNotEditable);
  grid.Layers().Entry(LayerKind::kRow, 10);  // beyond the row count: not written
  grid.Layers().Entry(LayerKind::kRow, 5);   // empty: not written

  const std::string bytes = grid.WriteDesignData().value;
  const DesignLayers design = ParseDesignData(bytes).value;
  EXPECT_EQ(design.cells.size(), 2u);
  EXPECT_EQ(design.cells[0].col, 0) << "cells column by column";
  EXPECT_EQ(design.rows.size(), 1u);

  TLayerGrid copy(nullptr, 3, 10);
  copy.SetFixedRows(1);
  const Result<DesignLayers> read = ParseDesignData(bytes);
  ASSERT_TRUE(read.IsOk());
  copy.ApplyDesign(read.value);
  EXPECT_EQ(copy.WriteDesignData().value, bytes);
  EXPECT_EQ(copy.Layers().Resolve(2, 3).wordwrap, ww_wordwrap);
  EXPECT_EQ(copy.Layers().Resolve(1, 4).brush->style(), Qt::CrossPattern);
  EXPECT_TRUE(copy.Layers().Resolve(0, 3).font->Font().underline());
  EXPECT_FALSE(copy.Layers().Resolve(1, 9).editable);
}

}  // namespace
}  // namespace vantrel
