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
    Opt::goFixedVertLine | Opt::goFixedHorzLine | Opt::goVertLine | Opt::goHorzLine);

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
    case ProgramGrid::Possible:
      return {.cols = 2,
              .rows = kSearchRows,
              .fixedRows = 1,
              .options = kAllLines | Opt::goColSizing,
              .scrollBars = SB::Vertical,
              .defaultColWidth = 64,
              .widths = {151, 115},
              .sixteenPixelFont = true,
              .editable = false,
              .showCellHints = false,
              .showHint = true};
    case ProgramGrid::Selected:
      return {.cols = 2,
              .rows = MainModel::kPhraseSlots,
              .fixedRows = 1,
              .options = kAllLines | Opt::goColSizing,
              .scrollBars = SB::Vertical,
              .defaultColWidth = 64,
              .widths = {151, 115},
              .sixteenPixelFont = false,
              .editable = true,
              .showCellHints = false,
              .showHint = true};
    case ProgramGrid::Affix:
      return {.cols = 2,
              .rows = MainModel::kAffixRows,
              .fixedRows = 0,
              .options = kAllLines | Opt::goColSizing,
              .scrollBars = SB::Vertical,
              .defaultColWidth = 80,
              .widths = {106, 53},
              .sixteenPixelFont = true,
              .editable = false,
              .showCellHints = false,
              .showHint = true};
    case ProgramGrid::Converted:
      // The window's hint never shows: cell hints are on and no cell has one.
      return {.cols = 1,
              .rows = LookupModel::kRows,
              .fixedRows = 0,
              .options = kAllLines | Opt::goRangeSelect,
              .scrollBars = SB::Vertical,
              .defaultColWidth = 64,
              .widths = {214, 0},
              .sixteenPixelFont = false,
              .editable = true,
              .showCellHints = true,
              .showHint = true};
    case ProgramGrid::SelectedAffix:
      break;
  }
  // Its design makes cell (0,1) editable: the proposed word may be corrected in place;
  // its digits may not, because the bullets that OK writes into the number follow them.
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
          .showHint = false};
}

}  // namespace

const char* ProgramGridName(ProgramGrid which) {
  switch (which) {
    case ProgramGrid::Possible:
      return "PossibleGrid";
    case ProgramGrid::Selected:
      return "SelectedGrid";
    case ProgramGrid::Affix:
      return "AffixGrid";
    case ProgramGrid::Converted:
      return "ConvertedGrid";
    case ProgramGrid::SelectedAffix:
      break;
  }
  return "SelectedAffixGrid";
}

QString ProgramGridDesignPath(ProgramGrid which) {
  RegisterGridDesigns();
  return QStringLiteral(":/grids/%1.vgd").arg(QLatin1String(ProgramGridName(which)));
}

GridDesignRead ReadGridDesign(const QString& path) {
  GridDesignRead read;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    read.problem = file.errorString();
    return read;
  }
  const QByteArray bytes = file.read(kMaxDesignBytes + 1);
  if (file.error() != QFileDevice::NoError) {
    read.problem = file.errorString();
    return read;
  }
  if (bytes.size() > kMaxDesignBytes) {
    read.problem = QStringLiteral("the file is larger than %1 bytes").arg(kMaxDesignBytes);
    return read;
  }
  try {
    read.layers = ParseDesignData(std::string_view(bytes.constData(), bytes.size()));
  } catch (const DesignDataError& error) {
    read.problem = QString::fromUtf8(error.what());
  }
  return read;
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
  const GridDesignRead design = ReadGridDesign(designPath);
  if (design.problem.isEmpty()) {
    grid.ApplyDesign(design.layers);
  } else {
    // A program whose grids lost their looks still works; say which file to mend.
    qWarning("The design of %s cannot be read from %s: %s. The grid shows plain cells.",
             ProgramGridName(which), qPrintable(designPath), qPrintable(design.problem));
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
