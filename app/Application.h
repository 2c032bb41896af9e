// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// VantrelApplication: the program's application object. Every event passes through its
// notify, so no error can leave an event handler: one that escapes is handed to the error
// handler, and the event loop goes on with the state the handler left behind.

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

namespace vantrel {

class VantrelApplication : public QApplication {
  Q_OBJECT

 public:
  // Told of every error that escapes an event handler: the object the event was for, and
  // the error. It runs inside the handler's event loop and may show windows.
  using ErrorHandler = std::function<void(QObject* receiver, const std::exception_ptr& error)>;

  VantrelApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Hands an error found where it cannot be shown (in the middle of building a window, or
  // of Qt's own translation) to the error handler once the event loop is back.
  void ReportLater(const std::exception_ptr& error);

  // Replaces the handler; an empty one brings back the plain warning.
  void SetErrorHandler(ErrorHandler handler);

  // The plain warning: a message box with the error's text and a single OK button. An
  // error that escapes while one is shown is written to the log stream instead, so that a
  // failing timer cannot stack up message boxes.
  static void WarnOfError(QObject* receiver, const std::exception_ptr& error);

  // The text the user is shown: the error's message, or the name of its type when it
  // carries none.
  static QString ErrorText(const std::exception_ptr& error);

 private:
  void HandleError(QObject* receiver, const std::exception_ptr& error);

  ErrorHandler handler_;
};

}  // namespace vantrel
