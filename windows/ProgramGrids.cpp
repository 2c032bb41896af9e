// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramGrids.h"

#include <QFile>
#include <QtGlobal>

#include "MainModel.h"
#include "Search.h"
#include "WordLookup.h"

// The designs are compiled into a static library; nothing refers to them by symbol, so
// the linker would drop them unless they are registered by name.
static void RegisterGridDesigns() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(vantrel_grids);
    return true;
  }();
  (void)registered;
}

namespace vantrel {
namespace {

using Opt = TLayerGrid::GridOption;

constexpr TLayerGrid::GridOptions kAllLines = TLayerGrid::GridOptions(
    Opt::kFixedVertLine | Opt::kFixedHorzLine | Opt::kVertLine | Opt::kHorzLine);

// A design file is a few hundred bytes; anything far larger is not one.
constexpr qint64 kMaxDesignBytes = 64 * 1024;

// The size, options and grid-wide values of a grid, besides its layers. The row counts
// are the capacities of the engine's tables that the grids show.
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
  bool showHint;
};

GridFrame FrameOf(ProgramGrid which) {
  using SB = TLayerGrid::ScrollBars;
  switch (which) {
    case ProgramGrid::kPossible:
      return {.cols = 2,
              .rows = kSearchRows,
              .fixedRows = 1,
              .options = kAllLines | Opt::kColSizing,
              .scrollBars = SB::kVertical,
              .defaultColWidth = 64,
              .widths = {151, 115},
              .sixteenPixelFont = true,
              .editable = false,
              .showCellHints = false,
              .showHint = true};
    case ProgramGrid::kSelected:
      return {.cols = 2,
              .rows = MainModel::kPhraseSlots,
              .fixedRows = 1,
              .options = kAllLines | Opt::kColSizing,
              .scrollBars = SB::kVertical,
              .defaultColWidth = 64,
              .widths = {151, 115},
              .sixteenPixelFont = false,
              .editable = true,
              .showCellHints = false,
              .showHint = true};
    case ProgramGrid::kAffix:
      return {.cols = 2,
              .rows = MainModel::kAffixRows,
              .fixedRows = 0,
              .options = kAllLines | Opt::kColSizing,
              .scrollBars = SB::kVertical,
              .defaultColWidth = 80,
              .widths = {106, 53},
              .sixteenPixelFont = true,
              .editable = false,
              .showCellHints = false,
              .showHint = true};
    case ProgramGrid::kConverted:
      // The window's hint never shows: cell hints are on and no cell has one.
      return {.cols = 1,
              .rows = LookupModel::kRows,
              .fixedRows = 0,
              .options = kAllLines | Opt::kRangeSelect,
              .scrollBars = SB::kVertical,
              .defaultColWidth = 64,
              .widths = {214, 0},
              .sixteenPixelFont = false,
              .editable = true,
              .showCellHints = true,
              .showHint = true};
    case ProgramGrid::kSelectedAffix:
      break;
  }
  // Its design makes cell (0,1) editable: the proposed word may be corrected in place;
  // its digits may not, because the bullets that OK writes into the number follow them.
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
          .showHint = false};
}

}  // namespace

const char* ProgramGridName(ProgramGrid which) {
  switch (which) {
    case ProgramGrid::kPossible:
      return "PossibleGrid";
    case ProgramGrid::kSelected:
      return "SelectedGrid";
    case ProgramGrid::kAffix:
      return "AffixGrid";
    case ProgramGrid::kConverted:
      return "ConvertedGrid";
    case ProgramGrid::kSelectedAffix:
      break;
  }
  return "SelectedAffixGrid";
}

QString ProgramGridDesignPath(ProgramGrid which) {
  RegisterGridDesigns();
  return QStringLiteral(":/grids/%1.vgd").arg(QLatin1String(ProgramGridName(which)));
}

Result<DesignLayers> ReadGridDesign(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return {{}, {StatusCode::kCannotOpen, file.errorString().toStdString()}};
  }
  const QByteArray bytes = file.read(kMaxDesignBytes + 1);
  if (file.error() != QFileDevice::NoError) {
    return {{}, {StatusCode::kReadFailed, file.errorString().toStdString()}};
  }
  if (bytes.size() > kMaxDesignBytes) {
    return {
        {},
        {StatusCode::kMalformed,
         QStringLiteral("the file is larger than %1 bytes").arg(kMaxDesignBytes).toStdString()}};
  }
  return ParseDesignData(std::string_view(bytes.constData(), bytes.size()));
}

void SetupProgramGrid(TLayerGrid& grid, ProgramGrid which, const QString& designPath) {
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
  grid.SetShowHint(frame.showHint);
  const Result<DesignLayers> design = ReadGridDesign(designPath);
  if (design.IsOk()) {
    grid.ApplyDesign(design.value);
  } else {
    // A program whose grids lost their looks still works; say which file to mend.
    qWarning("The design of %s cannot be read from %s: %s. The grid shows plain cells.",
             ProgramGridName(which), qPrintable(designPath), design.status.Reason().c_str());
  }
  grid.SetAutoAdjustLastCol(true);
}

std::unique_ptr<TLayerGrid> MakeProgramGrid(ProgramGrid which, const QString& designPath,
                                            QWidget* parent) {
  const GridFrame frame = FrameOf(which);
  auto grid = std::make_unique<TLayerGrid>(parent, frame.cols, frame.rows);
  grid->setObjectName(QLatin1String(ProgramGridName(which)));
  SetupProgramGrid(*grid, which, designPath);
  return grid;
}

std::unique_ptr<TLayerGrid> MakeProgramGrid(ProgramGrid which, QWidget* parent) {
  return MakeProgramGrid(which, ProgramGridDesignPath(which), parent);
}

}  // namespace vantrel
