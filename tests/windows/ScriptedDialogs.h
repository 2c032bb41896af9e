// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialogs for tests: records the warnings and the clipboard, answers the Open dialog
// from a queue, and lets a test act inside a modal window before it closes.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "Dialogs.h"

namespace vantrel::testing {

class ScriptedDialogs final : public Dialogs {
 public:
  void Warning(QWidget*, const QString& text) override { warnings << text; }

  std::optional<QString> OpenFileName(QWidget*, const QString& title, const QString& filter,
                                      const QString& proposed, const QString& note) override {
    openDialogs.push_back({title, filter, proposed, note});
    if (fileChoices.empty()) {
      return std::nullopt;  // as if the user cancelled
    }
    const bool chosen = fileChoices.front().has_value();
    const QString choice = chosen ? *fileChoices.front() : QString();
    fileChoices.pop_front();
    if (!chosen) {
      return std::nullopt;
    }
    return choice;
  }

  // Runs the next scripted action with the dialog shown (not really: a test drives its
  // controls, then accepts or rejects it); without one the dialog is rejected, as if the
  // user pressed Cancel.
  int Exec(QDialog& dialog) override {
    ++execs;
    shownDialogs << dialog.objectName();
    dialog.setResult(QDialog::Rejected);
    if (!onExec.empty()) {
      auto action = onExec.front();
      onExec.pop_front();
      action(dialog);
    }
    return dialog.result();
  }

  void ShowModeless(QWidget& window) override { modeless << window.objectName(); }

  void SetClipboardText(const QString& text) override { clipboard = text; }

  struct OpenDialog {
    QString title;
    QString filter;
    QString proposed;
    QString note;
  };

  QStringList warnings;
  std::vector<OpenDialog> openDialogs;
  std::deque<std::optional<QString>> fileChoices;
  std::deque<std::function<void(QDialog&)>> onExec;
  int execs = 0;
  QStringList shownDialogs;
  QStringList modeless;
  QString clipboard;
};

}  // namespace vantrel::testing
