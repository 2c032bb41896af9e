#include "ProgramGrids.h"

namespace vantrel {
namespace {

using Opt = TLayerGrid::GridOption;

constexpr std::int32_t kWindowText = kSysWindowText;
constexpr std::uint8_t kRegular = 0;

// Every font of the stored layers is a 16-pixel "MS Sans Serif".
DesignFont Font(std::int32_t color, std::uint8_t style) {
  return {color, -16, "MS Sans Serif", 0, style};
}

DesignEntry WithFont(DesignFont font, std::uint8_t align = alDefault) {
  DesignEntry entry;
  entry.align = align;
  entry.font = std::move(font);
  return entry;
}

// Columns 0 and 1 centred and regular; the header row centred and bold.
std::vector<DesignIndexEntry> WordColumns() {
  return {{0, WithFont(Font(kWindowText, kRegular), alCenter)},
          {1, WithFont(Font(kWindowText, kRegular), alCenter)}};
}

std::vector<DesignIndexEntry> BoldHeaderRow() {
  return {{0, WithFont(Font(kWindowText, kBold), alCenter)}};
}

DesignLayers PossibleDesign() {
  DesignLayers design;
  design.cells = {{0, 0, WithFont(Font(kWindowText, kBold))}};
  design.cols = WordColumns();
  design.fixedRows = BoldHeaderRow();
  return design;
}

DesignLayers SelectedDesign() {
  DesignLayers design;
  design.cols = WordColumns();
  design.fixedRows = BoldHeaderRow();
  return design;
}

DesignLayers AffixDesign() {
  DesignLayers design;
  DesignEntry corner;
  corner.align = alCenter;
  corner.editable = kNotEditable;
  corner.brush = DesignBrush{kWhite, kSolid};
  design.cells = {{0, 0, corner}};
  design.cols = {{0, WithFont(Font(kBlack, kRegular), alCenter)},
                 {1, WithFont(Font(kWindowText, kRegular), alCenter)}};
  DesignEntry firstRow = WithFont(Font(kWindowText, kRegular), alCenter);
  firstRow.wordwrap = ww_ellipsis;
  firstRow.brush = DesignBrush{kWhite, kSolid};
  design.rows = {{0, firstRow}};
  return design;
}

DesignLayers ConvertedDesign() {
  DesignLayers design;
  design.cols = {{0, WithFont(Font(kWindowText, kRegular), alCenter)}};
  return design;
}

DesignLayers SelectedAffixDesign() {
  DesignLayers design;
  design.cells = {{0, 0, WithFont(Font(kWindowText, kBold))}};
  design.cols = {{0, WithFont(Font(kWindowText, kBold))}};
  design.rows = {{0, WithFont(Font(kWindowText, kRegular))},
                 {1, WithFont(Font(kWindowText, kRegular), alCenter)}};
  design.fixedRows = BoldHeaderRow();
  return design;
}

constexpr TLayerGrid::GridOptions kAllLines = TLayerGrid::GridOptions(
    Opt::kFixedVertLine | Opt::kFixedHorzLine | Opt::kVertLine | Opt::kHorzLine);

// The size, options and grid-wide values of a grid, besides its layers.
struct GridFrame {
  int cols;
  int rows;
  int fixedRows;
  TLayerGrid::GridOptions options;
  TLayerGrid::ScrollBars scrollBars;
  int defaultColWidth;
  int widths[2];
  bool sixteenPixelFont;  // otherwise the font of the window
  bool editable;
  bool showCellHints;
  const char* hint;
  bool showHint;
};

GridFrame FrameOf(ProgramGrid which) {
  using SB = TLayerGrid::ScrollBars;
  switch (which) {
    case ProgramGrid::kPossible:
      return {.cols = 2,
              .rows = 5000,
              .fixedRows = 1,
              .options = kAllLines | Opt::kColSizing,
              .scrollBars = SB::kVertical,
              .defaultColWidth = 64,
              .widths = {151, 115},
              .sixteenPixelFont = true,
              .editable = false,
              .showCellHints = false,
              .hint = "Click to select",
              .showHint = true};
    case ProgramGrid::kSelected:
      return {.cols = 2,
              .rows = 100,
              .fixedRows = 1,
              .options = kAllLines | Opt::kColSizing,
              .scrollBars = SB::kVertical,
              .defaultColWidth = 64,
              .widths = {151, 115},
              .sixteenPixelFont = false,
              .editable = true,
              .showCellHints = false,
              .hint = "Click to remove",
              .showHint = true};
    case ProgramGrid::kAffix:
      return {.cols = 2,
              .rows = 8500,
              .fixedRows = 0,
              .options = kAllLines | Opt::kColSizing,
              .scrollBars = SB::kVertical,
              .defaultColWidth = 80,
              .widths = {106, 53},
              .sixteenPixelFont = true,
              .editable = false,
              .showCellHints = false,
              .hint = "Click to select",
              .showHint = true};
    case ProgramGrid::kConverted:
      // The hint is set but never shows: cell hints are on and no cell has one.
      return {.cols = 1,
              .rows = 20,
              .fixedRows = 0,
              .options = kAllLines | Opt::kRangeSelect,
              .scrollBars = SB::kVertical,
              .defaultColWidth = 64,
              .widths = {214, 0},
              .sixteenPixelFont = false,
              .editable = true,
              .showCellHints = true,
              .hint = "Numeric equivalent",
              .showHint = true};
    case ProgramGrid::kSelectedAffix:
      break;
  }
  return {.cols = 2,
          .rows = 2,
          .fixedRows = 1,
          .options = kAllLines | Opt::kRangeSelect | Opt::kEditing | Opt::kColSizing,
          .scrollBars = SB::kNone,
          .defaultColWidth = 64,
          .widths = {175, 135},
          .sixteenPixelFont = false,
          .editable = false,
          .showCellHints = true,
          .hint = "",
          .showHint = false};
}

std::unique_ptr<TLayerGrid> Make(ProgramGrid which, QWidget* parent) {
  const GridFrame frame = FrameOf(which);
  auto grid = std::make_unique<TLayerGrid>(parent, frame.cols, frame.rows);
  SetupProgramGrid(*grid, which);
  return grid;
}

}  // namespace

const DesignLayers& ProgramGridDesign(ProgramGrid which) {
  static const DesignLayers possible = PossibleDesign();
  static const DesignLayers selected = SelectedDesign();
  static const DesignLayers affix = AffixDesign();
  static const DesignLayers converted = ConvertedDesign();
  static const DesignLayers selectedAffix = SelectedAffixDesign();
  switch (which) {
    case ProgramGrid::kPossible:
      return possible;
    case ProgramGrid::kSelected:
      return selected;
    case ProgramGrid::kAffix:
      return affix;
    case ProgramGrid::kConverted:
      return converted;
    case ProgramGrid::kSelectedAffix:
      break;
  }
  return selectedAffix;
}

void SetupProgramGrid(TLayerGrid& grid, ProgramGrid which) {
  const GridFrame frame = FrameOf(which);
  if (grid.ColCount() != frame.cols) {
    grid.SetColCount(frame.cols);
  }
  grid.SetRowCount(frame.rows);
  grid.SetFixedCols(0);
  grid.SetFixedRows(frame.fixedRows);
  grid.SetOptions(frame.options);
  grid.SetScrollBars(frame.scrollBars);
  grid.SetDefaultRowHeight(24);
  grid.SetGridLineWidth(1);
  grid.SetDefaultColWidth(frame.defaultColWidth);
  for (int col = 0; col < frame.cols; ++col) {
    grid.SetColWidth(col, frame.widths[col]);
  }
  if (frame.sixteenPixelFont) {
    QFont font = grid.font();
    font.setPixelSize(16);
    grid.setFont(font);
  }
  grid.SetEditable(frame.editable);
  grid.SetShowCellHints(frame.showCellHints);
  grid.SetHint(QString::fromUtf8(frame.hint));
  grid.SetShowHint(frame.showHint);
  grid.ApplyDesign(ProgramGridDesign(which));
  grid.SetAutoAdjustLastCol(true);
}

std::unique_ptr<TLayerGrid> MakePossibleGrid(QWidget* parent) {
  return Make(ProgramGrid::kPossible, parent);
}

std::unique_ptr<TLayerGrid> MakeSelectedGrid(QWidget* parent) {
  return Make(ProgramGrid::kSelected, parent);
}

std::unique_ptr<TLayerGrid> MakeAffixGrid(QWidget* parent) {
  return Make(ProgramGrid::kAffix, parent);
}

std::unique_ptr<TLayerGrid> MakeConvertedGrid(QWidget* parent) {
  return Make(ProgramGrid::kConverted, parent);
}

std::unique_ptr<TLayerGrid> MakeSelectedAffixGrid(QWidget* parent) {
  return Make(ProgramGrid::kSelectedAffix, parent);
}

}  // namespace vantrel
