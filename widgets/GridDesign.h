// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stored design data in and out of a grid's layers: plain design entries become fonts
// and brushes, and back.

#include "CellLayers.h"
#include "DesignData.h"

namespace vantrel {

// Every entry read replaces the entry of its index; entries of other indexes stay.
void ApplyDesignLayers(TCellLayers& layers, const DesignLayers& design);

// The layers as stored: entries in index order (cells column by column, each column row
// by row) within the given column and row counts; empty entries are left out.
DesignLayers ExtractDesignLayers(const TCellLayers& layers, int colCount, int rowCount);

}  // namespace vantrel
