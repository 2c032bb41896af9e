// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QTreeView>

#include <vector>

#include "Texts.h"

namespace vantrel {
namespace {

bool busyPointerShown = false;

}  // namespace

void ShowBusyPointer(bool busy) {
  if (busy == busyPointerShown) {
    return;
  }
  busyPointerShown = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtDialogs::Warning(QWidget* parent, const QString& text) {
  ShowBusyPointer(false);
  QMessageBox::warning(parent, QApplication::applicationName(), text, QMessageBox::Ok);
}

namespace {

// Wide enough for the name, size, type and date of a file side by side.
constexpr int kOpenDialogWidth = 760;
constexpr int kOpenDialogHeight = 460;

// Puts a widget above everything else in a grid layout.
void PutOnTop(QGridLayout& grid, QWidget* widget) {
  struct Placed {
    QLayoutItem* item;
    int row, col, rowSpan, colSpan;
  };
  std::vector<Placed> placed;
  for (int i = grid.count() - 1; i >= 0; --i) {
    Placed p{nullptr, 0, 0, 0, 0};
    grid.getItemPosition(i, &p.row, &p.col, &p.rowSpan, &p.colSpan);
    p.item = grid.takeAt(i);
    placed.push_back(p);
  }
  const int columns = std::max(grid.columnCount(), 1);
  for (const Placed& p : placed) {
    grid.addItem(p.item, p.row + 1, p.col, p.rowSpan, p.colSpan);
  }
  grid.addWidget(widget, 0, 0, 1, columns);
}

}  // namespace

std::unique_ptr<QFileDialog> NewOpenDialog(QWidget* parent, const QString& title,
                                           const QString& filter, const QString& proposed,
                                           const QString& note) {
  auto dialog = std::make_unique<QFileDialog>(parent, title, QString(), filter);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setViewMode(QFileDialog::Detail);
  // Qt's German catalog says "Dateien des Typs:", which no German dialog says.
  dialog->setLabelText(QFileDialog::FileType, TranslateText("Files of type:"));
  if (!proposed.isEmpty()) {
    const QFileInfo file(proposed);
    dialog->setDirectory(file.absolutePath());
    dialog->selectFile(file.fileName());
  }
  if (!note.isEmpty()) {
    auto* label = new QLabel(note, dialog.get());
    label->setObjectName(QStringLiteral("NoteLabel"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
      PutOnTop(*grid, label);
    }
    dialog->setAccessibleDescription(note);
  }
  // The name takes what the other columns leave; they keep room for their contents.
  if (auto* files = dialog->findChild<QTreeView*>()) {
    QHeaderView* header = files->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
  }
  dialog->resize(kOpenDialogWidth, kOpenDialogHeight);
  return dialog;
}

std::optional<QString> QtDialogs::OpenFileName(QWidget* parent, const QString& title,
                                               const QString& filter, const QString& proposed,
                                               const QString& note) {
  const std::unique_ptr<QFileDialog> dialog = NewOpenDialog(parent, title, filter, proposed, note);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  const QString chosen = dialog->selectedFiles().front();
  if (chosen.isEmpty()) {
    return std::nullopt;
  }
  return chosen;
}

int QtDialogs::Exec(QDialog& dialog) {
  return dialog.exec();
}

void QtDialogs::ShowModeless(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
}

void QtDialogs::SetClipboardText(const QString& text) {
  QApplication::clipboard()->setText(text);
}

}  // namespace vantrel
