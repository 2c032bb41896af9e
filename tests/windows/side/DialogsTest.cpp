// SPDX-License-Identifier: GPL-3.0-or-later
// The busy pointer's one owner and the real warning box.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "Dialogs.h"

namespace vantrel {
namespace {

Qt::CursorShape Pointer() {
  const QCursor* cursor = QApplication::overrideCursor();
  return cursor != nullptr ? cursor->shape() : Qt::ArrowCursor;
}

// Presses OK on the warning box as soon as it shows.
void AnswerTheNextWarning() {
  QTimer::singleShot(0, [] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
        box->accept();
      }
    }
  });
}

TEST(BusyPointer, ShownTwiceCountsOnceAndAWarningTakesItAway) {
  // Another override, not the program's busy pointer, stays untouched throughout.
  QApplication::setOverrideCursor(Qt::CrossCursor);
  ShowBusyPointer(true);
  ShowBusyPointer(true);
  EXPECT_EQ(Pointer(), Qt::WaitCursor);
  ShowBusyPointer(false);
  EXPECT_EQ(Pointer(), Qt::CrossCursor);
  ShowBusyPointer(false);
  EXPECT_EQ(Pointer(), Qt::CrossCursor);

  ShowBusyPointer(true);
  QtDialogs dialogs;
  Qt::CursorShape duringWarning = Qt::WaitCursor;
  QTimer::singleShot(0, [&duringWarning] { duringWarning = Pointer(); });
  AnswerTheNextWarning();
  dialogs.Warning(nullptr, QStringLiteral("Can Not Open x.txt in ConvertBtnClick"));
  EXPECT_EQ(duringWarning, Qt::CrossCursor);
  ShowBusyPointer(false);  // the search ends after the warning: nothing more to take away
  EXPECT_EQ(Pointer(), Qt::CrossCursor);
  QApplication::restoreOverrideCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace vantrel
