#pragma once
// The five grids of the program as they are designed: candidate list, phrase, affix
// offers, lookup results and the proposed affix word. Each factory builds the grid with
// its size, options, column widths, grid-wide values and stored layers; the window that
// owns it sets its header texts and attaches its cell table.

#include "DesignData.h"
#include "LayerGrid.h"

#include <memory>

namespace vantrel {

enum class ProgramGrid { kPossible, kSelected, kAffix, kConverted, kSelectedAffix };

// Gives a grid the design of one of the program's grids. The grid must show its own
// table (its column and row counts are set) or a table of the right column count.
void SetupProgramGrid(TLayerGrid& grid, ProgramGrid which);

// The design of a grid's layers, as the program carries it.
const DesignLayers& ProgramGridDesign(ProgramGrid which);

// The grids, ready to use. With a parent, place the grid and release() it: Qt's parent
// then owns it.
std::unique_ptr<TLayerGrid> MakePossibleGrid(QWidget* parent = nullptr);
std::unique_ptr<TLayerGrid> MakeSelectedGrid(QWidget* parent = nullptr);
std::unique_ptr<TLayerGrid> MakeAffixGrid(QWidget* parent = nullptr);
std::unique_ptr<TLayerGrid> MakeConvertedGrid(QWidget* parent = nullptr);
std::unique_ptr<TLayerGrid> MakeSelectedAffixGrid(QWidget* parent = nullptr);

}  // namespace vantrel
