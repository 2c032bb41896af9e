// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// WordClickGuard: decides whether a mouse click on one of the main window's word grids
// picks a row. A press after which the list scrolled picks nothing (the row under the
// pointer is no longer the one the user aimed at), and the second press of a double click
// picks nothing more: the first one has picked, and the row now under the pointer holds
// another word.

#include <QObject>
#include <QPoint>

namespace vantrel {

class TLayerGrid;

class WordClickGuard final : public QObject {
  Q_OBJECT

 public:
  // Watches the grid's presses and scrolling; the grid owns the guard.
  explicit WordClickGuard(TLayerGrid& grid);

  // The data row that a button released at point picks, or 0 when the click picks
  // nothing: the header, a place outside the cells, a scroll or a double click.
  int PickedRow(QPoint point) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TLayerGrid& grid_;
  bool scrolled_ = false;
  // Set by the second press of a double click, cleared by the next single press.
  bool doubleClicked_ = false;
};

}  // namespace vantrel
