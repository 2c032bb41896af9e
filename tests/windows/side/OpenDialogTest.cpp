// SPDX-License-Identifier: GPL-3.0-or-later
// The Open dialog as QtDialogs shows it: its caption, the note of the first start (also as
// the dialog's description for a screen reader), the proposed file and a file list whose columns
// show whole.

#include <gtest/gtest.h>

#include <algorithm>

#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "Dialogs.h"

namespace vantrel {
namespace {

TEST(OpenDialog, ShowsItsColumnsWholeAndTheNoteAboveTheFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString proposed = dir.filePath(QStringLiteral("Vantrel Dictionary.txt"));
  QFile file(proposed);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("228,bat,B\r\n\r\n");
  file.close();

  struct Case {
    const char* name;
    QString note;
  };
  for (const Case& c : {Case{"first start", QStringLiteral("A dictionary is needed.")},
                        Case{"File > Open", QString()}}) {
    SCOPED_TRACE(c.name);
    const std::unique_ptr<QFileDialog> dialog =
        NewOpenDialog(nullptr, QStringLiteral("Open Dictionary"),
                      QStringLiteral("Text Documents (*.txt)"), proposed, c.note);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Open Dictionary"));
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    // The folder is read in the background; its files arrive through the event loop.
    QTest::qWait(300);

    const auto* note = dialog->findChild<QLabel*>(QStringLiteral("NoteLabel"));
    // A screen reader announces the dialog with the note, before it reads the files.
    EXPECT_EQ(dialog->accessibleDescription(), c.note);
    if (c.note.isEmpty()) {
      EXPECT_EQ(note, nullptr);
    } else {
      ASSERT_NE(note, nullptr);
      EXPECT_TRUE(note->isVisible());
      EXPECT_EQ(note->text(), c.note);
      // Above the file list, where it is read first.
      const auto* files = dialog->findChild<QTreeView*>();
      ASSERT_NE(files, nullptr);
      EXPECT_LT(note->mapTo(dialog.get(), QPoint(0, 0)).y(),
                files->mapTo(dialog.get(), QPoint(0, 0)).y());
      // In a row of its own: it covers none of the dialog's controls.
      const QLayout* layout = dialog->layout();
      ASSERT_NE(layout, nullptr);
      for (int i = 0; i < layout->count(); ++i) {
        const QWidget* control = layout->itemAt(i)->widget();
        if (control == nullptr || control == note || !control->isVisible()) {
          continue;
        }
        SCOPED_TRACE(control->metaObject()->className());
        EXPECT_FALSE(note->geometry().intersects(control->geometry()));
      }
    }

    const auto* files = dialog->findChild<QTreeView*>();
    ASSERT_NE(files, nullptr);
    ASSERT_TRUE(files->isVisible());
    const QHeaderView* header = files->header();
    EXPECT_GE(header->count(), 4);
    EXPECT_LE(header->length(), files->viewport()->width());
    EXPECT_GE(header->sectionSize(0), 200);
    // The other columns are as wide as their contents and no wider: the room left over
    // goes to the name.
    for (int section = 1; section < header->count(); ++section) {
      EXPECT_GT(header->sectionSize(section), 0) << "section " << section;
      EXPECT_LE(header->sectionSize(section),
                std::max(header->sectionSizeHint(section),
                         static_cast<const QAbstractItemView*>(files)->sizeHintForColumn(section)))
          << "section " << section;
    }
    ASSERT_EQ(dialog->selectedFiles().size(), 1);
    EXPECT_EQ(dialog->selectedFiles().front(), proposed);
  }
}

}  // namespace
}  // namespace vantrel
