// SPDX-License-Identifier: GPL-3.0-or-later
#include "WordClickGuard.h"

#include <QEvent>

#include "LayerGrid.h"

namespace vantrel {

WordClickGuard::WordClickGuard(TLayerGrid& grid) : QObject(&grid), grid_(grid) {
  grid.viewport()->installEventFilter(this);
  connect(&grid, &TLayerGrid::MouseDown, this, [this] { scrolled_ = false; });
  connect(&grid, &TLayerGrid::TopLeftChanged, this, [this] { scrolled_ = true; });
}

int WordClickGuard::PickedRow(QPoint point) const {
  if (scrolled_ || doubleClicked_) {
    return 0;
  }
  const CellCoord cell = grid_.CellAt(point);
  return cell.Valid() && cell.row >= grid_.FixedRows() ? cell.row : 0;
}

bool WordClickGuard::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    doubleClicked_ = event->type() == QEvent::MouseButtonDblClick;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vantrel
