// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything a window shows modally or hands to the desktop goes through Dialogs, so
// that a test can drive every window from start to end without a person.

#include <QString>
#include <memory>
#include <optional>

class QDialog;
class QFileDialog;
class QWidget;

namespace vantrel {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A warning message box with a single OK button.
  virtual void Warning(QWidget* parent, const QString& text) = 0;
  // The Open dialog: the chosen file, or nothing when the user cancels. The filter is in
  // Qt's form ("Text Documents (*.txt)"). A note, when not empty, says in the dialog why
  // it is shown.
  virtual std::optional<QString> OpenFileName(QWidget* parent, const QString& title,
                                              const QString& filter, const QString& proposed,
                                              const QString& note) = 0;
  // Shows a window modally and returns its result (QDialog::Accepted or Rejected).
  virtual int Exec(QDialog& dialog) = 0;
  // Shows a window without blocking the others.
  virtual void ShowModeless(QWidget& window) = 0;
  virtual void SetClipboardText(const QString& text) = 0;
};

// The busy pointer over every window while the program reads a dictionary. Its one
// owner: showing it twice counts once, and a warning takes it away (the pointer must not
// stay busy over a message the user has to answer).
void ShowBusyPointer(bool busy);

// The real dialogs: QMessageBox, QFileDialog, QDialog::exec and the system clipboard.
class QtDialogs final : public Dialogs {
 public:
  void Warning(QWidget* parent, const QString& text) override;
  std::optional<QString> OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                      const QString& proposed, const QString& note) override;
  int Exec(QDialog& dialog) override;
  void ShowModeless(QWidget& window) override;
  void SetClipboardText(const QString& text) override;
};

// The Open dialog that QtDialogs shows: Qt's own, so that it can carry the note (in the
// label "NoteLabel" above the files) on every desktop, and wide enough that the columns
// of its file list show whole. The proposed file is selected in its folder.
std::unique_ptr<QFileDialog> NewOpenDialog(QWidget* parent, const QString& title,
                                           const QString& filter, const QString& proposed,
                                           const QString& note);

}  // namespace vantrel
