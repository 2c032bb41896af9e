// SPDX-License-Identifier: GPL-3.0-or-later
// Which mouse clicks on a word grid pick a row: a plain click on a data row does; the
// header, a click after which the list scrolled and the second press of a double click
// do not, and the next plain press picks again.

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "LayerGrid.h"
#include "ProgramGrids.h"
#include "WordClickGuard.h"

namespace vantrel {
namespace {

class WordClickGuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grid = MakeProgramGrid(ProgramGrid::Possible);
    guard = new WordClickGuard(*grid);
    grid->resize(306, 200);
    grid->show();
    QCoreApplication::processEvents();
  }

  QPoint At(int row) const { return grid->CellRect(0, row).center(); }

  std::unique_ptr<TLayerGrid> grid;
  WordClickGuard* guard = nullptr;  // the grid owns it
};

TEST_F(WordClickGuardTest, APlainClickPicksItsRowAndTheHeaderNothing) {
  for (int row : {1, 2, 3}) {
    SCOPED_TRACE(row);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, At(row));
    EXPECT_EQ(guard->PickedRow(At(row)), row);
  }
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, At(0));
  EXPECT_EQ(guard->PickedRow(At(0)), 0);
  const QPoint below(10, grid->viewport()->height() + 40);
  EXPECT_EQ(guard->PickedRow(below), 0) << "outside the cells";
}

TEST_F(WordClickGuardTest, AScrollDuringThePressPicksNothingUntilTheNextPress) {
  QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, At(2));
  grid->SetTopRow(5);
  QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, At(2));
  EXPECT_EQ(guard->PickedRow(At(2)), 0);

  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, At(6));
  EXPECT_EQ(guard->PickedRow(At(6)), 6);
}

TEST_F(WordClickGuardTest, TheSecondPressOfADoubleClickPicksNothingMore) {
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, At(2));
  EXPECT_EQ(guard->PickedRow(At(2)), 2);
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, At(2));
  EXPECT_EQ(guard->PickedRow(At(2)), 0);

  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, At(3));
  EXPECT_EQ(guard->PickedRow(At(3)), 3);
}

}  // namespace
}  // namespace vantrel
