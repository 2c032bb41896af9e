// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorReport.h"

#include <ctime>

#include "ErrorDialog.h"
#include "ErrorTracer.h"

namespace vantrel {
namespace {

QStringList Lines(const std::vector<std::string>& lines) {
  QStringList out;
  for (const std::string& line : lines) {
    out << QString::fromStdString(line);
  }
  return out;
}

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace

ErrorReport::ErrorReport(ErrorLog& log, QString supportEmail, OpenAddress openAddress)
    : log_(log), supportEmail_(std::move(supportEmail)), openAddress_(std::move(openAddress)) {}

void ErrorReport::SetReportPage(std::function<QString()> caption,
                                std::function<QStringList()> lines) {
  caption_ = std::move(caption);
  lines_ = std::move(lines);
}

Status ErrorReport::ShowError(const std::exception_ptr& error) {
  ErrorDialogTexts shown;
  Status written;
  {
    // Two threads reporting at once build and write their records one after the other.
    const std::lock_guard<std::mutex> hold(lock_);
    const ErrorTexts texts = TErrorTracer::BuildTexts(error);
    shown.reportCaption = caption_ ? caption_() : QString();
    shown.reportLines = lines_ ? lines_() : QStringList();
    std::vector<std::string> reportLines;
    for (const QString& line : shown.reportLines) {
      reportLines.push_back(line.toStdString());
    }
    written = log_.Append(LogRecord(LocalNow(), texts, reportLines));
    shown.message = QString::fromStdString(texts.message);
    shown.callStack = Lines(texts.callStack);
    shown.registers = Lines(texts.registers);
  }

  ErrorDialog dialog(shown);
  // The dialog opens in full, on the call stack.
  dialog.ShowDetails(true);
  if (showDialog_) {
    showDialog_(dialog);
  } else {
    dialog.exec();
  }
  return written;
}

void ErrorReport::ApplicationEvents1Exception(QObject* /*sender*/,
                                              const std::exception_ptr& error) {
  ShowError(error);
  if (log_.Exists() && openAddress_) {
    openAddress_(MailAddress());
  }
}

QUrl ErrorReport::MailAddress() const {
  // Joined as it is, without encoding: the mail program reads the blanks of the subject
  // and the quotes around the file name as they are.
  return QUrl(QStringLiteral("mailto:") + supportEmail_ +
              QStringLiteral("?subject=Vantrel 2.0 Error Log&file=\"") +
              QString::fromStdString(log_.Path()) + QStringLiteral("\""));
}

}  // namespace vantrel
