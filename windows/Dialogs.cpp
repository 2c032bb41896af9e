#include "Dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

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

std::optional<QString> QtDialogs::OpenFileName(QWidget* parent, const QString& title,
                                               const QString& filter, const QString& proposed) {
  const QString chosen = QFileDialog::getOpenFileName(parent, title, proposed, filter);
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
