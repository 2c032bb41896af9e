// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include <cxxabi.h>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <QtGlobal>
#include <typeinfo>

#include "ErrorTracer.h"

namespace vantrel {
namespace {

// A type's name as the source spells it.
QString TypeName(const std::type_info* type) {
  if (type == nullptr) {
    return QStringLiteral("unknown error");
  }
  return QString::fromStdString(Demangled(type->name()));
}

}  // namespace

VantrelApplication::VantrelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VantrelApplication::notify(QObject* receiver, QEvent* event) {
  std::exception_ptr error;
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    error = std::current_exception();
  }
  // Handled after the catch has ended, so that an error raised while the report is shown
  // is caught by the notify of the report's own event loop, not lost in this one.
  HandleError(receiver, error);
  return false;
}

void VantrelApplication::ReportLater(const std::exception_ptr& error) {
  QTimer::singleShot(0, this, [this, error] { HandleError(nullptr, error); });
}

void VantrelApplication::SetErrorHandler(ErrorHandler handler) {
  handler_ = std::move(handler);
}

void VantrelApplication::HandleError(QObject* receiver, const std::exception_ptr& error) {
  // Nothing may leave notify, not even a failure of the handler itself.
  try {
    if (handler_) {
      handler_(receiver, error);
    } else {
      WarnOfError(receiver, error);
    }
  } catch (...) {
    qWarning("Vantrel: an error escaped while an error was handled: %s",
             qUtf8Printable(ErrorText(std::current_exception())));
  }
}

void VantrelApplication::WarnOfError(QObject* receiver, const std::exception_ptr& error) {
  static bool showing = false;
  const QString text = ErrorText(error);
  if (showing) {
    qWarning("Vantrel: %s", qUtf8Printable(text));
    return;
  }
  showing = true;
  struct Shown {
    ~Shown() { showing = false; }
  } shown;
  // The message stands over the window whose event failed, when there is one.
  QWidget* parent = activeModalWidget() != nullptr ? activeModalWidget() : activeWindow();
  if (parent == nullptr && receiver != nullptr && receiver->isWidgetType()) {
    parent = static_cast<QWidget*>(receiver)->window();
  }
  while (overrideCursor() != nullptr) {
    restoreOverrideCursor();
  }
  QMessageBox::warning(parent, applicationName(), text, QMessageBox::Ok);
}

QString VantrelApplication::ErrorText(const std::exception_ptr& error) {
  if (!error) {
    return TypeName(nullptr);
  }
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& known) {
    const QString message = QString::fromUtf8(known.what());
    return message.trimmed().isEmpty() ? TypeName(&typeid(known)) : message;
  } catch (...) {
    return TypeName(abi::__cxa_current_exception_type());
  }
}

}  // namespace vantrel
