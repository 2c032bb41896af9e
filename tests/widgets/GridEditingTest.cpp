// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's in-place editor: how an edit begins, where the editor lies, and how it ends.

#include "LayerGrid.h"

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vantrel {
namespace {

// Two columns of 100 and 80 pixels under a header row, editing on, cell (0, 1) current,
// in an active window with a second control below the grid.
struct EditingGrid {
  EditingGrid() {
    auto* layout = new QVBoxLayout(&window);
    grid = new TLayerGrid(&window, 2, 4);
    other = new QLineEdit(&window);
    layout->addWidget(grid);
    layout->addWidget(other);
    grid->SetFixedCols(0);
    grid->SetOptions(grid->Options() | TLayerGrid::kEditing);
    grid->SetColWidth(0, 100);
    grid->SetColWidth(1, 80);
    grid->SetCell(0, 1, "balling");
    grid->SetCell(1, 1, "2255464");
    window.resize(300, 200);
    window.show();
    QApplication::setActiveWindow(&window);
    ok = QTest::qWaitForWindowActive(&window);
    grid->setFocus(Qt::OtherFocusReason);
    grid->FocusCell(0, 1);
  }

  QWidget window;
  TLayerGrid* grid = nullptr;
  QLineEdit* other = nullptr;
  bool ok = false;
};

TEST(GridEditing, ADoubleClickF2OrTypingOpensTheEditorOverTheCell) {
  struct Way {
    const char* name;
    std::function<void(TLayerGrid&)> open;
    const char* text;
    const char* selected;
  };
  const Way ways[] = {
      {"double click",
       [](TLayerGrid& g) {
         QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, g.CellRect(0, 1).center());
       },
       "balling", "balling"},
      {"F2", [](TLayerGrid& g) { QTest::keyClick(&g, Qt::Key_F2); }, "balling", "balling"},
      {"typing", [](TLayerGrid& g) { QTest::keyClicks(&g, "b"); }, "b", ""},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    EditingGrid fixture;
    ASSERT_TRUE(fixture.ok);
    TLayerGrid& grid = *fixture.grid;
    way.open(grid);
    ASSERT_TRUE(grid.Editing());
    EXPECT_EQ(grid.EditingCell(), (CellCoord{0, 1}));
    EXPECT_TRUE(grid.Editor()->isVisible());
    EXPECT_TRUE(grid.Editor()->hasFocus());
    EXPECT_EQ(grid.Editor()->geometry(), grid.CellRect(0, 1));
    EXPECT_EQ(grid.Editor()->text(), way.text);
    EXPECT_EQ(grid.Editor()->selectedText(), way.selected);
  }
}

// The middle of the ink of a line editor's text, in pixels from its left edge: the
// pixels of its middle rows that differ from the colour most of them share.
int InkMiddle(QLineEdit& editor) {
  const QImage image = editor.grab().toImage();
  const int top = image.height() / 4;
  const int bottom = image.height() * 3 / 4;
  QHash<QRgb, int> counts;
  for (int y = top; y <= bottom; ++y) {
    for (int x = 0; x < image.width(); ++x) {
      ++counts[image.pixel(x, y)];
    }
  }
  QRgb background = 0;
  int most = -1;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
    if (it.value() > most) {
      most = it.value();
      background = it.key();
    }
  }
  int first = -1;
  int last = -1;
  for (int x = 0; x < image.width(); ++x) {
    for (int y = top; y <= bottom; ++y) {
      if (image.pixel(x, y) != background) {
        first = first < 0 ? x : first;
        last = x;
        break;
      }
    }
  }
  return first < 0 ? -1 : (first + last) / 2;
}

// What the user types stands where the cell showed its text. The grid has one editor for
// all its cells, so each edit must take its own cell's alignment, not keep the last one's.
TEST(GridEditing, TheEditorAlignsItsTextLikeItsCell) {
  enum class Side { kLeft, kMiddle, kRight };
  struct Case {
    const char* name;
    TCellAlign align;
    Qt::Alignment horizontal;
    Side side;
  };
  const Case cases[] = {
      {"centred", alCenter, Qt::AlignHCenter, Side::kMiddle},
      {"left after centred", alLeft, Qt::AlignLeft, Side::kLeft},
      {"right", alRight, Qt::AlignRight, Side::kRight},
      {"the grid's default after right", alDefault, Qt::AlignLeft, Side::kLeft},
      {"centred again", alCenter, Qt::AlignHCenter, Side::kMiddle},
      {"left after centred again", alLeft, Qt::AlignLeft, Side::kLeft},
  };
  EditingGrid fixture;
  ASSERT_TRUE(fixture.ok);
  TLayerGrid& grid = *fixture.grid;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid.Layers().Entry(LayerKind::kColumn, 0).SetAlign(c.align);
    grid.FocusCell(0, 1);
    QTest::keyClicks(&grid, "W");
    ASSERT_TRUE(grid.Editing());
    QLineEdit& editor = *grid.Editor();
    QTest::keyClicks(&editor, "WW");
    ASSERT_EQ(editor.text(), "WWW");
    EXPECT_EQ(editor.alignment() & Qt::AlignHorizontal_Mask, c.horizontal);
    const int middle = InkMiddle(editor);
    ASSERT_GE(middle, 0) << "the typed text shows";
    const int width = editor.width();
    switch (c.side) {
      case Side::kLeft:
        EXPECT_LT(middle, width / 3);
        break;
      case Side::kMiddle:
        EXPECT_NEAR(middle, width / 2, 6);
        break;
      case Side::kRight:
        EXPECT_GT(middle, width * 2 / 3);
        break;
    }
    QTest::keyClick(&editor, Qt::Key_Escape);
    ASSERT_FALSE(grid.Editing());
  }
}

TEST(GridEditing, NoEditorWithoutTheOptionOrOnACellThatIsNotEditable) {
  struct Case {
    const char* name;
    std::function<void(TLayerGrid&)> setUp;
    CellCoord cell;
  };
  const Case cases[] = {
      {"editing option off",
       [](TLayerGrid& g) { g.SetOptions(g.Options() & ~TLayerGrid::kEditing); },
       {0, 1}},
      {"grid not editable", [](TLayerGrid& g) { g.SetEditable(false); }, {0, 1}},
      {"cell not editable",
       [](TLayerGrid& g) { g.Layers().Entry(LayerKind::kCell, 1, 1).SetEditable(kNotEditable); },
       {1, 1}},
      {"header cell", [](TLayerGrid&) {}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingGrid fixture;
    ASSERT_TRUE(fixture.ok);
    TLayerGrid& grid = *fixture.grid;
    c.setUp(grid);
    grid.FocusCell(c.cell.col, std::max(c.cell.row, 1));
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {},
                       grid.CellRect(c.cell.col, c.cell.row).center());
    EXPECT_FALSE(grid.Editing());
    if (c.cell.row > 0) {
      QTest::keyClick(&grid, Qt::Key_F2);
      QTest::keyClicks(&grid, "9");
      EXPECT_FALSE(grid.Editing());
    }
    EXPECT_FALSE(grid.Editor()->isVisible());
    EXPECT_EQ(grid.CellText(1, 1), "2255464");
  }
}

TEST(GridEditing, EnterOrLeavingCommitsEscCancels) {
  struct Case {
    const char* name;
    std::function<void(EditingGrid&)> end;
    bool kept;
  };
  const Case cases[] = {
      {"Enter", [](EditingGrid& f) { QTest::keyClick(f.grid->Editor(), Qt::Key_Return); }, true},
      {"keypad Enter", [](EditingGrid& f) { QTest::keyClick(f.grid->Editor(), Qt::Key_Enter); },
       true},
      {"Tab to the next control",
       [](EditingGrid& f) { QTest::keyClick(f.grid->Editor(), Qt::Key_Tab); }, true},
      {"CommitEdit", [](EditingGrid& f) { f.grid->CommitEdit(); }, true},
      {"Esc", [](EditingGrid& f) { QTest::keyClick(f.grid->Editor(), Qt::Key_Escape); }, false},
      {"CancelEdit", [](EditingGrid& f) { f.grid->CancelEdit(); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingGrid fixture;
    ASSERT_TRUE(fixture.ok);
    TLayerGrid& grid = *fixture.grid;
    QSignalSpy edited(&grid, &TLayerGrid::CellEdited);
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClicks(grid.Editor(), "Baling");
    c.end(fixture);
    EXPECT_FALSE(grid.Editing());
    EXPECT_FALSE(grid.Editor()->isVisible());
    EXPECT_EQ(grid.CellText(0, 1), c.kept ? "Baling" : "balling");
    EXPECT_EQ(edited.count(), c.kept ? 1 : 0);
    if (c.kept && edited.count() == 1) {
      EXPECT_EQ(edited.at(0).at(0).toInt(), 0);
      EXPECT_EQ(edited.at(0).at(1).toInt(), 1);
    }
  }
}

TEST(GridEditing, AContextMenuOverTheEditorLeavesTheEditOpen) {
  EditingGrid fixture;
  ASSERT_TRUE(fixture.ok);
  TLayerGrid& grid = *fixture.grid;
  QTest::keyClick(&grid, Qt::Key_F2);
  QTest::keyClicks(grid.Editor(), "Baling");
  QMenu menu(&fixture.window);
  menu.addAction(QStringLiteral("Paste"));
  menu.popup(grid.Editor()->mapToGlobal(QPoint(5, 5)));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
  QTest::keyClick(&menu, Qt::Key_Escape);
  EXPECT_TRUE(grid.Editing());
  EXPECT_EQ(grid.CellText(0, 1), "balling");  // nothing committed behind the user's back
  QTest::keyClick(grid.Editor(), Qt::Key_Escape);
  EXPECT_EQ(grid.CellText(0, 1), "balling");
}

TEST(GridEditing, ARefusedTextLeavesTheCellAsItWas) {
  EditingGrid fixture;
  ASSERT_TRUE(fixture.ok);
  TLayerGrid& grid = *fixture.grid;
  QStringList asked;
  grid.SetOnAcceptEdit([&asked](int col, int row, const QString& text) {
    asked << QStringLiteral("%1,%2,%3").arg(col).arg(row).arg(text);
    return !text.trimmed().isEmpty();
  });
  QSignalSpy edited(&grid, &TLayerGrid::CellEdited);
  QTest::keyClicks(&grid, " ");
  QTest::keyClick(grid.Editor(), Qt::Key_Return);
  EXPECT_EQ(grid.CellText(0, 1), "balling");
  QTest::keyClicks(&grid, "x");
  QTest::keyClick(grid.Editor(), Qt::Key_Return);
  EXPECT_EQ(grid.CellText(0, 1), "x");
  EXPECT_EQ(asked, (QStringList{"0,1, ", "0,1,x"}));
  EXPECT_EQ(edited.count(), 1);
}

TEST(GridEditing, TheEditorFollowsItsCellAndClosesWhenTheCellLeavesTheView) {
  EditingGrid fixture;
  ASSERT_TRUE(fixture.ok);
  TLayerGrid& grid = *fixture.grid;
  grid.Layers().CellFont(0, 1).SetStyle(kBold);
  QTest::keyClick(&grid, Qt::Key_F2);
  EXPECT_TRUE(grid.Editor()->font().bold());
  grid.SetColWidth(0, 60);
  EXPECT_EQ(grid.Editor()->geometry(), grid.CellRect(0, 1));
  fixture.window.resize(260, 220);
  QCoreApplication::processEvents();
  EXPECT_EQ(grid.Editor()->geometry(), grid.CellRect(0, 1));
  grid.SetColWidth(0, 0);  // the cell takes no room: nothing to edit in
  EXPECT_FALSE(grid.Editing());
  EXPECT_EQ(grid.CellText(0, 1), "balling");
}

}  // namespace
}  // namespace vantrel
