// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen of the candidate grid costs: resolving every visible cell's values, and
// painting the visible cells. Both must stay the same whatever the number of rows, since
// only what is set and what is seen may cost anything.

#include "ProgramGrids.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <string>

#include <benchmark/benchmark.h>

namespace {

using vantrel::TLayerGrid;

// A candidate grid of the given number of rows, every row filled, every third word
// italic, shown 306 by 700 pixels and scrolled to its middle.
std::unique_ptr<TLayerGrid> FilledPossibleGrid(int rows) {
  auto grid = vantrel::MakeProgramGrid(vantrel::ProgramGrid::Possible);
  grid->SetRowCount(rows);
  grid->SetCell(0, 0, "Candidate Word");
  grid->SetCell(1, 0, "Represents");
  for (int row = 1; row < rows; ++row) {
    grid->SetCell(0, row, "candidate" + std::to_string(row));
    grid->SetCell(1, row, std::to_string(2000000 + row));
    grid->Table().SetItalic(0, row, row % 3 == 0);
  }
  grid->resize(306, 700);
  grid->show();
  QCoreApplication::processEvents();
  grid->SetTopRow(rows / 2);
  return grid;
}

void BM_ResolveScreen(benchmark::State& state) {
  const auto grid = FilledPossibleGrid(static_cast<int>(state.range(0)));
  const vantrel::TCellLayers& layers = grid->Layers();
  const int first = grid->TopRow();
  const int last = grid->Geometry().LastVisibleRow();
  vantrel::TResolvedCell cell;
  for (auto _ : state) {
    for (int col = 0; col < 2; ++col) {
      layers.Resolve(col, 0, cell);
      benchmark::DoNotOptimize(cell);
      for (int row = first; row <= last; ++row) {
        layers.Resolve(col, row, cell);
        benchmark::DoNotOptimize(cell);
      }
    }
  }
  state.counters["cells"] = 2.0 * (last - first + 2);
  state.SetItemsProcessed(state.iterations() * 2 * (last - first + 2));
}
BENCHMARK(BM_ResolveScreen)->Arg(25)->Arg(5000)->Arg(8500);

void BM_PaintScreen(benchmark::State& state) {
  const auto grid = FilledPossibleGrid(static_cast<int>(state.range(0)));
  QWidget* viewport = grid->viewport();
  QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    viewport->render(&image);
    benchmark::ClobberMemory();
  }
  state.counters["rows"] = grid->Geometry().LastVisibleRow() - grid->TopRow() + 2;
}
BENCHMARK(BM_PaintScreen)->Arg(25)->Arg(5000)->Arg(8500)->Unit(benchmark::kMicrosecond);

// The engine writing a full candidate list into the table the grid shows.
void BM_FillAttachedTable(benchmark::State& state) {
  const auto grid = FilledPossibleGrid(25);
  vantrel::CellTable table(2, 5000);
  grid->SetTable(&table);
  // Every pass writes texts other than the last pass's, so every write is a change.
  int pass = 0;
  for (auto _ : state) {
    const std::string word = pass++ % 2 == 0 ? "word" : "other";
    for (int row = 1; row < 5000; ++row) {
      table.SetCell(0, row, word);
    }
  }
  grid->SetTable(nullptr);
  state.SetItemsProcessed(state.iterations() * 4999);
}
BENCHMARK(BM_FillAttachedTable)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication::setStyle("Fusion");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
