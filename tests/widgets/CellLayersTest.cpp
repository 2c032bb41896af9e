// SPDX-License-Identifier: GPL-3.0-or-later
// Resolution of a cell's values from the five layers and the grid-wide fallbacks.

#include "CellLayers.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

namespace vantrel {
namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);

TLayerFont SizedFont(int pixels, std::uint8_t style, StoredColor color = kSysWindowText) {
  return TLayerFont(color, -pixels, "DejaVu Sans", 0, style);
}

// A grid's layers with one fixed row and one fixed column.
struct Layers {
  Layers() : layers([this] { ++changes; }) { layers.SetFixed(1, 1); }

  TCellProperties& Cell(int col, int row) { return layers.Entry(LayerKind::kCell, col, row); }
  TCellProperties& Col(int col) { return layers.Entry(LayerKind::kColumn, col); }
  TCellProperties& Row(int row) { return layers.Entry(LayerKind::kRow, row); }
  TCellProperties& FixedCol(int col) { return layers.Entry(LayerKind::kFixedColumn, col); }
  TCellProperties& FixedRow(int row) { return layers.Entry(LayerKind::kFixedRow, row); }

  int changes = 0;
  CellLayers layers;
};

class CellLayersTest : public ::testing::Test, public Layers {};

TEST_F(CellLayersTest, FirstLayerThatSetsAValueWins) {
  // Data cell (2, 3): cell, then column, then row, then the grid.
  struct Case {
    const char* name;
    bool cell;
    bool col;
    bool row;
    TCellAlign expected;
  };
  const Case cases[] = {
      {"nothing set takes the grid's alignment", false, false, false, alLeft},
      {"row alone", false, false, true, alCenter},
      {"column beats row", false, true, true, alRight},
      {"cell beats column and row", true, true, true, alLeft},
      {"cell alone", true, false, false, alLeft},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Layers fresh;
    fresh.layers.SetAlignment(alDefault);
    if (c.row) {
      fresh.Row(3).SetAlign(alCenter);
    }
    if (c.col) {
      fresh.Col(2).SetAlign(alRight);
    }
    if (c.cell) {
      fresh.Cell(2, 3).SetAlign(alLeft);
    }
    EXPECT_EQ(fresh.layers.Resolve(2, 3).align, c.expected);
  }
}

TEST_F(CellLayersTest, EachValueResolvesOnItsOwn) {
  // The column sets the alignment only; the row's word wrap and brush still show.
  Col(1).SetAlign(alRight);
  Row(2).SetWordwrap(ww_ellipsis);
  Row(2).SetBrush(TLayerBrush(kWhite, kSolid));
  ResolvedCell cell;
  layers.Resolve(1, 2, cell);
  EXPECT_EQ(cell.align, alRight);
  EXPECT_EQ(cell.wordwrap, ww_ellipsis);
  EXPECT_EQ(cell.brush->color(), QColor(Qt::white));
  EXPECT_EQ(cell.font, &layers.GridFont());
}

TEST_F(CellLayersTest, FontsAreTakenWhole) {
  Col(1).SetFont(SizedFont(20, kBold | kUnderline));
  Cell(1, 2).SetFont(SizedFont(12, kItalic));
  const QFont& font = layers.Resolve(1, 2).font->Font();
  EXPECT_EQ(font.pixelSize(), 12);
  EXPECT_TRUE(font.italic());
  EXPECT_FALSE(font.bold());
  EXPECT_FALSE(font.underline());
  EXPECT_TRUE(layers.Resolve(1, 3).font->Font().bold());
}

TEST_F(CellLayersTest, CellFontCopiesTheGridFontNotTheColumns) {
  QFont gridFont = layers.GridFont().Font();
  gridFont.setPixelSize(15);
  layers.GridFont().SetFont(gridFont);
  Col(1).SetFont(SizedFont(20, kBold, kBlack));
  ASSERT_EQ(layers.EntryCount(), 1u);

  TLayerFont& font = layers.CellFont(1, 2);
  EXPECT_EQ(layers.EntryCount(), 2u) << "CellFont creates the cell's entry";
  EXPECT_EQ(font.Font().pixelSize(), 15);
  EXPECT_FALSE(font.Font().bold());
  // A cell with a font of its own in a column whose font is black shows its own colour.
  EXPECT_EQ(font.ColorRef(), kSysWindowText);
  EXPECT_EQ(layers.Resolve(1, 2).font->Color(), ColorFromRef(kSysWindowText));

  // The same font comes back, and later column changes no longer reach the cell.
  EXPECT_EQ(&layers.CellFont(1, 2), &font);
  Col(1).Font()->SetStyle(kItalic);
  EXPECT_FALSE(layers.Resolve(1, 2).font->Font().italic());
  EXPECT_TRUE(layers.Resolve(1, 3).font->Font().italic());
}

TEST_F(CellLayersTest, ChangesThroughReturnedFontsRepaint) {
  TLayerFont& font = layers.CellFont(0, 1);
  changes = 0;
  font.SetItalic(true);
  EXPECT_EQ(changes, 1);
  Col(2).SetBrush(TLayerBrush(kWhite, kSolid));
  changes = 0;
  Col(2).Brush()->SetColor(kRed);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(layers.Resolve(2, 1).brush->color(), kRed);
}

TEST_F(CellLayersTest, FixedCellsTakeTheFixedLayers) {
  // Fixed row 0 and fixed column 0; the ordinary layers of the same indexes differ.
  Col(1).SetAlign(alRight);
  Row(0).SetAlign(alRight);
  FixedRow(0).SetAlign(alCenter);
  FixedRow(0).SetFont(SizedFont(16, kBold));
  FixedCol(0).SetWordwrap(ww_wordwrap);
  Col(0).SetWordwrap(ww_ellipsis);

  EXPECT_EQ(layers.Resolve(1, 0).align, alCenter) << "header cell: fixed row, not column";
  EXPECT_TRUE(layers.Resolve(1, 0).font->Font().bold());
  EXPECT_EQ(layers.Resolve(0, 2).wordwrap, ww_wordwrap) << "fixed column, not column";
  EXPECT_EQ(layers.Resolve(1, 2).align, alRight) << "data cell: ordinary column";
  EXPECT_EQ(layers.Resolve(1, 2).wordwrap, ww_none);
}

TEST_F(CellLayersTest, FallbacksDependOnFixedness) {
  struct Case {
    const char* name;
    int col;
    int row;
    bool fixed;
  };
  const Case cases[] = {
      {"corner", 0, 0, true},
      {"header row", 2, 0, true},
      {"fixed column", 0, 2, true},
      {"data cell", 2, 2, false},
  };
  layers.FixedBrush().SetColor(kGreen);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResolvedCell cell;
    layers.Resolve(c.col, c.row, cell);
    EXPECT_EQ(cell.font, c.fixed ? &layers.FixedFont() : &layers.GridFont());
    EXPECT_EQ(cell.brush->color(), c.fixed ? kGreen : layers.Background().Color());
  }
}

TEST_F(CellLayersTest, DefaultGridValuesCountAsLeftAndNoWrap) {
  layers.SetAlignment(alDefault);
  layers.SetWordwrap(ww_default);
  EXPECT_EQ(layers.Resolve(2, 2).align, alLeft);
  EXPECT_EQ(layers.Resolve(2, 2).wordwrap, ww_none);
  layers.SetAlignment(alRight);
  layers.SetWordwrap(ww_wordwrap);
  EXPECT_EQ(layers.Resolve(2, 2).align, alRight);
  EXPECT_EQ(layers.Resolve(2, 2).wordwrap, ww_wordwrap);
}

TEST_F(CellLayersTest, EditableValues) {
  struct Case {
    const char* name;
    std::uint8_t cell;
    std::uint8_t col;
    bool gridWide;
    bool expected;
  };
  const Case cases[] = {
      {"nothing set, grid on", 0, 0, true, true},
      {"nothing set, grid off", 0, 0, false, false},
      {"column says editable", 0, 2, false, true},
      {"cell says no over an editable column", 1, 2, true, false},
      {"a value without meaning says no", 7, 0, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Layers fresh;
    fresh.layers.SetEditable(c.gridWide);
    if (c.col != 0) {
      fresh.Col(2).SetEditable(c.col);
    }
    if (c.cell != 0) {
      fresh.Cell(2, 2).SetEditable(c.cell);
    }
    EXPECT_EQ(fresh.layers.Resolve(2, 2).editable, c.expected);
  }
}

TEST_F(CellLayersTest, SelectedColoursSkipTheFixedLayers) {
  layers.SetSelectedCellColor(kBlue);
  layers.SetSelectedFontColor(kGreen);
  EXPECT_EQ(layers.Resolve(2, 2).selectedBackground, kBlue);
  EXPECT_EQ(layers.Resolve(2, 2).selectedText, kGreen);

  Row(2).SetSelectedBrush(TLayerBrush(RefFromColor(kRed), kSolid));
  EXPECT_EQ(layers.Resolve(2, 2).selectedBackground, kRed);
  Col(2).SetSelectedBrush(TLayerBrush(RefFromColor(kGreen), kSolid));
  EXPECT_EQ(layers.Resolve(2, 2).selectedBackground, kGreen) << "column beats row";
  Cell(2, 2).SetSelectedBrush(TLayerBrush(kWhite, kSolid));
  EXPECT_EQ(layers.Resolve(2, 2).selectedBackground, QColor(Qt::white));

  Col(2).SetSelectedFont(SizedFont(10, 0, RefFromColor(kRed)));
  EXPECT_EQ(layers.Resolve(2, 2).selectedText, kRed);

  // A fixed cell takes its ordinary column, never the fixed layers.
  FixedRow(0).SetSelectedBrush(TLayerBrush(kBlack, kSolid));
  EXPECT_EQ(layers.Resolve(2, 0).selectedBackground, kGreen);
  EXPECT_EQ(layers.Resolve(2, 0).selectedText, kRed);
}

TEST_F(CellLayersTest, LayersStaySparse) {
  layers.SetFixed(0, 0);
  Row(4000).SetAlign(alCenter);
  for (int row = 0; row < 8500; ++row) {
    ResolvedCell cell;
    layers.Resolve(1, row, cell);
  }
  EXPECT_EQ(layers.EntryCount(), 1u) << "resolving creates no entries";
  EXPECT_EQ(layers.Resolve(0, 4000).align, alCenter);
  EXPECT_EQ(layers.Resolve(0, 4001).align, alLeft);
}

TEST_F(CellLayersTest, IndexesBeyondSixteenBitsAreRefused) {
  EXPECT_THROW(layers.Entry(LayerKind::kRow, 65536), std::out_of_range);
  EXPECT_THROW(layers.Entry(LayerKind::kCell, 0, -1), std::out_of_range);
  EXPECT_NO_THROW(layers.Entry(LayerKind::kCell, 65535, 65535));
}

TEST_F(CellLayersTest, ReplacedEntriesStartEmpty) {
  Col(1).SetAlign(alCenter);
  Col(1).SetFont(SizedFont(20, kBold));
  TCellProperties& fresh = layers.ReplaceEntry(LayerKind::kColumn, 1);
  EXPECT_TRUE(fresh.Empty());
  EXPECT_EQ(layers.Resolve(1, 2).align, alLeft);
}

TEST(LayerColors, StoredColoursMapBothWays) {
  EXPECT_EQ(ColorFromRef(0x0000FF), QColor(255, 0, 0)) << "0x00BBGGRR";
  EXPECT_EQ(ColorFromRef(kWhite), QColor(Qt::white));
  EXPECT_EQ(RefFromColor(QColor(0x12, 0x34, 0x56)), 0x563412);
  EXPECT_EQ(ColorFromRef(kSysWindowText), QGuiApplication::palette().color(QPalette::Text));
  EXPECT_EQ(ColorFromRef(static_cast<StoredColor>(0x800000FFu)), QColor(Qt::black))
      << "an unknown system colour";
}

// The stored fonts name "MS Sans Serif", which Linux lacks: the first layer font made of
// that name is drawn with a font of its metrics where one is installed, so that the column
// titles fit as designed (each test runs in a process of its own, so this font is the
// first).
TEST(LayerFont, TheStoredWindowsFontIsDrawnWithAFontOfItsMetrics) {
  const TLayerFont font(0, -16, QStringLiteral("MS Sans Serif"), 0, 0);
  EXPECT_TRUE(QFont::substitutes(QStringLiteral("MS Sans Serif"))
                  .contains(QStringLiteral("Liberation Sans"), Qt::CaseInsensitive));
  if (QFontDatabase::hasFamily(QStringLiteral("Liberation Sans"))) {
    EXPECT_EQ(QFontInfo(font.Font()).family(), QStringLiteral("Liberation Sans"));
  }
}

}  // namespace
}  // namespace vantrel
