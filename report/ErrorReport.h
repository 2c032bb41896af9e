// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The error report of the program: every error that escapes an event handler comes here.
// It is logged, shown in the report dialog, and the log is offered by e-mail; then the
// program goes on with the state it had when the error left its handler.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <exception>
#include <functional>
#include <mutex>

#include "ErrorLog.h"

namespace vantrel {

class ErrorDialog;

class ErrorReport {
 public:
  // Hands an address to the desktop: "mailto:" to the mail program.
  using OpenAddress = std::function<void(const QUrl&)>;
  // Shows the dialog and returns when the user has closed it.
  using ShowDialog = std::function<void(ErrorDialog&)>;

  ErrorReport(ErrorLog& log, QString supportEmail, OpenAddress openAddress);

  // The report page's name and its lines, asked for afresh at every error, so that they
  // come in the language of the moment.
  void SetReportPage(std::function<QString()> caption, std::function<QStringList()> lines);
  // The dialog runs modally unless a test puts something else here.
  void SetShowDialog(ShowDialog show) { showDialog_ = std::move(show); }

  // Show error: builds the texts, appends the record to the log and shows the dialog.
  // Returns how the record went.
  Status ShowError(const std::exception_ptr& error);

  // The handler of errors that escape the event handlers: shows the error, then opens a
  // mail to the makers when the log file exists (also when this record could not be
  // written, as long as an older log is there).
  void ApplicationEvents1Exception(QObject* sender, const std::exception_ptr& error);

  // "mailto:" the support address, with the subject and the log file named.
  QUrl MailAddress() const;

  ErrorLog& Log() { return log_; }

 private:
  ErrorLog& log_;
  QString supportEmail_;
  OpenAddress openAddress_;
  ShowDialog showDialog_;
  std::function<QString()> caption_;
  std::function<QStringList()> lines_;
  std::mutex lock_;
};

}  // namespace vantrel
