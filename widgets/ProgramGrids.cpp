#include "ProgramGrids.h"

namespace vantrel {
namespace {

using Opt = TLayerGrid::GridOption;

constexpr std::int32_t kWindowText = kSysWindowText;
constexpr std::int32_t kCenter = alCenter;
constexpr std::int32_t kEllipsis = ww_ellipsis;
constexpr std::int32_t kRegular = 0;
constexpr std::int32_t kBoldStyle = fsBold;

// Attribute codes of stored entries.
constexpr std::int32_t kAlignCode = 1;
constexpr std::int32_t kWordwrapCode = 2;
constexpr std::int32_t kEditableCode = 3;
constexpr std::int32_t kBrushCode = 4;
constexpr std::int32_t kFontCode = 6;

// Every font of the stored layers is a 16-pixel "MS Sans Serif".
DesignList Font(std::int32_t color, std::int32_t style) {
  return {kFontCode, color, -16, std::string("MS Sans Serif"), 0, style};
}

DesignList Join(std::initializer_list<DesignList> parts) {
  DesignList list;
  for (const DesignList& part : parts) {
    list.insert(list.end(), part.begin(), part.end());
  }
  return list;
}

DesignLists Lists(DesignList cells, DesignList cols, DesignList rows, DesignList fixedCols,
                  DesignList fixedRows) {
  DesignLists lists;
  lists[DesignListId::PropCell] = std::move(cells);
  lists[DesignListId::PropCol] = std::move(cols);
  lists[DesignListId::PropRow] = std::move(rows);
  lists[DesignListId::PropFixedCol] = std::move(fixedCols);
  lists[DesignListId::PropFixedRow] = std::move(fixedRows);
  return lists;
}

// Columns 0 and 1 centred and regular; the header row centred and bold.
DesignList WordColumns() {
  return Join({{0, kAlignCode, kCenter},
               Font(kWindowText, kRegular),
               {0},
               {1, kAlignCode, kCenter},
               Font(kWindowText, kRegular),
               {0}});
}

DesignList BoldHeaderRow() {
  return Join({{0, kAlignCode, kCenter}, Font(kWindowText, kBoldStyle), {0}});
}

DesignLists PossibleDesign() {
  return Lists(Join({{0, 0}, Font(kWindowText, kBoldStyle), {0}}), WordColumns(), {}, {},
               BoldHeaderRow());
}

DesignLists SelectedDesign() {
  return Lists({}, WordColumns(), {}, {}, BoldHeaderRow());
}

DesignLists AffixDesign() {
  return Lists(
      {0, 0, kAlignCode, kCenter, kEditableCode, 1, kBrushCode, kWhite, bsSolid, 0},
      Join({{0, kAlignCode, kCenter},
            Font(kBlack, kRegular),
            {0},
            {1, kAlignCode, kCenter},
            Font(kWindowText, kRegular),
            {0}}),
      Join({{0, kAlignCode, kCenter, kWordwrapCode, kEllipsis, kBrushCode, kWhite, bsSolid},
            Font(kWindowText, kRegular),
            {0}}),
      {}, {});
}

DesignLists ConvertedDesign() {
  return Lists({}, Join({{0, kAlignCode, kCenter}, Font(kWindowText, kRegular), {0}}), {}, {}, {});
}

DesignLists SelectedAffixDesign() {
  return Lists(Join({{0, 0}, Font(kWindowText, kBoldStyle), {0}}),
               Join({{0}, Font(kWindowText, kBoldStyle), {0}}),
               Join({{0},
                     Font(kWindowText, kRegular),
                     {0},
                     {1, kAlignCode, kCenter},
                     Font(kWindowText, kRegular),
                     {0}}),
               {}, BoldHeaderRow());
}

constexpr TLayerGrid::GridOptions kAllLines = TLayerGrid::GridOptions(
    Opt::goFixedVertLine | Opt::goFixedHorzLine | Opt::goVertLine | Opt::goHorzLine);

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
    case ProgramGrid::Possible:
      return {.cols = 2,
              .rows = 5000,
              .fixedRows = 1,
              .options = kAllLines | Opt::goColSizing,
              .scrollBars = SB::Vertical,
              .defaultColWidth = 64,
              .widths = {151, 115},
              .sixteenPixelFont = true,
              .editable = false,
              .showCellHints = false,
              .hint = "Click to select",
              .showHint = true};
    case ProgramGrid::Selected:
      return {.cols = 2,
              .rows = 100,
              .fixedRows = 1,
              .options = kAllLines | Opt::goColSizing,
              .scrollBars = SB::Vertical,
              .defaultColWidth = 64,
              .widths = {151, 115},
              .sixteenPixelFont = false,
              .editable = true,
              .showCellHints = false,
              .hint = "Click to remove",
              .showHint = true};
    case ProgramGrid::Affix:
      return {.cols = 2,
              .rows = 8500,
              .fixedRows = 0,
              .options = kAllLines | Opt::goColSizing,
              .scrollBars = SB::Vertical,
              .defaultColWidth = 80,
              .widths = {106, 53},
              .sixteenPixelFont = true,
              .editable = false,
              .showCellHints = false,
              .hint = "Click to select",
              .showHint = true};
    case ProgramGrid::Converted:
      // The hint is set but never shows: cell hints are on and no cell has one.
      return {.cols = 1,
              .rows = 20,
              .fixedRows = 0,
              .options = kAllLines | Opt::goRangeSelect,
              .scrollBars = SB::Vertical,
              .defaultColWidth = 64,
              .widths = {214, 0},
              .sixteenPixelFont = false,
              .editable = true,
              .showCellHints = true,
              .hint = "Numeric equivalent",
              .showHint = true};
    case ProgramGrid::SelectedAffix:
      break;
  }
  return {.cols = 2,
          .rows = 2,
          .fixedRows = 1,
          .options = kAllLines | Opt::goRangeSelect | Opt::goEditing | Opt::goColSizing,
          .scrollBars = SB::None,
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

const DesignLists& ProgramGridDesign(ProgramGrid which) {
  static const DesignLists possible = PossibleDesign();
  static const DesignLists selected = SelectedDesign();
  static const DesignLists affix = AffixDesign();
  static const DesignLists converted = ConvertedDesign();
  static const DesignLists selectedAffix = SelectedAffixDesign();
  switch (which) {
    case ProgramGrid::Possible:
      return possible;
    case ProgramGrid::Selected:
      return selected;
    case ProgramGrid::Affix:
      return affix;
    case ProgramGrid::Converted:
      return converted;
    case ProgramGrid::SelectedAffix:
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
  grid.ApplyDesign(ReadDesignLayers(ProgramGridDesign(which)));
  grid.SetAutoAdjustLastCol(true);
}

std::unique_ptr<TLayerGrid> MakePossibleGrid(QWidget* parent) {
  return Make(ProgramGrid::Possible, parent);
}

std::unique_ptr<TLayerGrid> MakeSelectedGrid(QWidget* parent) {
  return Make(ProgramGrid::Selected, parent);
}

std::unique_ptr<TLayerGrid> MakeAffixGrid(QWidget* parent) {
  return Make(ProgramGrid::Affix, parent);
}

std::unique_ptr<TLayerGrid> MakeConvertedGrid(QWidget* parent) {
  return Make(ProgramGrid::Converted, parent);
}

std::unique_ptr<TLayerGrid> MakeSelectedAffixGrid(QWidget* parent) {
  return Make(ProgramGrid::SelectedAffix, parent);
}

}  // namespace vantrel
