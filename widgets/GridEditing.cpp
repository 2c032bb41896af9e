// SPDX-License-Identifier: GPL-3.0-or-later
// The in-place editor of TLayerGrid: one line editor per grid, shown over the cell being
// edited and hidden otherwise.

#include "LayerGrid.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace vantrel {

void TLayerGrid::OpenEditor(int col, int row, const QString* typed) {
  if (!CanEditCell(col, row)) {
    return;
  }
  editing_ = {col, row};
  // The editor looks like the cell it lies over.
  editor_->setFont(DisplayFont(col, row));
  switch (layers_.Resolve(col, row).align) {
    case alRight:
      editor_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      break;
    case alCenter:
      editor_->setAlignment(Qt::AlignCenter);
      break;
    default:
      editor_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      break;
  }
  PlaceEditor();
  if (!Editing()) {
    return;  // the cell is out of sight
  }
  if (typed != nullptr) {
    // The user who types on a cell means to replace its text.
    editor_->setText(*typed);
    editor_->end(false);
  } else {
    editor_->setText(CellText(col, row));
    editor_->selectAll();
  }
  editor_->show();
  editor_->setFocus(Qt::OtherFocusReason);
}

void TLayerGrid::CommitEdit() {
  if (!Editing()) {
    return;
  }
  const QString text = editor_->text();
  const CellCoord cell = editing_;
  CancelEdit();
  if (onAcceptEdit_ && !onAcceptEdit_(cell.col, cell.row, text)) {
    return;
  }
  SetCellText(cell.col, cell.row, text);
  emit CellEdited(cell.col, cell.row);
}

void TLayerGrid::CancelEdit() {
  if (!Editing()) {
    return;
  }
  editing_ = {};
  const bool hadFocus = editor_->hasFocus();
  editor_->hide();
  if (hadFocus) {
    setFocus(Qt::OtherFocusReason);
  }
}

void TLayerGrid::PlaceEditor() {
  if (!Editing()) {
    return;
  }
  const QRect cell = CellRect(editing_.col, editing_.row);
  if (cell.isEmpty()) {
    CancelEdit();
    return;
  }
  editor_->setGeometry(cell);
}

bool TLayerGrid::StartEditByKey(QKeyEvent* event) {
  if (Editing() || !CanEditCell(Col(), Row())) {
    return false;
  }
  if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
    OpenEditor(Col(), Row(), nullptr);
    return Editing();
  }
  const bool command =
      (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
  const QString text = event->text();
  if (!command && !text.isEmpty() && text.at(0).isPrint()) {
    OpenEditor(Col(), Row(), &text);
    return Editing();
  }
  return false;
}

bool TLayerGrid::EditorKey(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      CommitEdit();
      return true;
    case Qt::Key_Escape:
      CancelEdit();
      return true;
    default:
      return false;
  }
}

void TLayerGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const CellCoord cell = CellAt(event->position().toPoint());
    if (cell.Valid() && CanEditCell(cell.col, cell.row)) {
      OpenEditor(cell.col, cell.row, nullptr);
      event->accept();
      return;
    }
  }
  QAbstractScrollArea::mouseDoubleClickEvent(event);
}

bool TLayerGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editor_) {
    if (event->type() == QEvent::KeyPress && EditorKey(static_cast<QKeyEvent*>(event))) {
      return true;
    }
    if (event->type() == QEvent::FocusOut && Editing()) {
      // Leaving the editor for another control keeps the text; a context menu or the
      // window losing the focus does not end the edit.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
        CommitEdit();
      }
    }
  }
  return QAbstractScrollArea::eventFilter(watched, event);
}

}  // namespace vantrel
