// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The five grids of the program: candidate list, phrase, affix offers, lookup results and
// the proposed affix word. Each grid gets its size, options and column widths here; its
// layers (alignment, fonts, brushes) come from its stored design data, read when the
// window that owns it is created. The window sets its hint and header texts and attaches
// its cell table.

#include <QString>
#include <memory>

#include "DesignData.h"
#include "LayerGrid.h"

namespace vantrel {

enum class ProgramGrid { kPossible, kSelected, kAffix, kConverted, kSelectedAffix };

// The grid's object name, "PossibleGrid" and so on; its design file carries the same name.
const char* ProgramGridName(ProgramGrid which);

// Where the program carries the grid's stored design data.
QString ProgramGridDesignPath(ProgramGrid which);

// The stored design of a grid's layers, or why it cannot be used: kCannotOpen,
// kReadFailed, or kMalformed for a file too large or data that DesignData.h refuses.
Result<DesignLayers> ReadGridDesign(const QString& path);

// Gives a grid the size and options of one of the program's grids and the layers stored
// at designPath. A design that cannot be read is reported with qWarning, naming the grid,
// the file and the fault, and leaves the grid usable with plain cells.
void SetupProgramGrid(TLayerGrid& grid, ProgramGrid which, const QString& designPath);

// The grids, ready to use, with their carried designs. With a parent, place the grid and
// release() it: Qt's parent then owns it.
std::unique_ptr<TLayerGrid> MakeProgramGrid(ProgramGrid which, QWidget* parent = nullptr);
std::unique_ptr<TLayerGrid> MakeProgramGrid(ProgramGrid which, const QString& designPath,
                                            QWidget* parent = nullptr);

}  // namespace vantrel
