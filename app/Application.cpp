#include "Application.h"

#include <QMessageBox>

namespace vantrel {

TVantrelApplication::TVantrelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TVantrelApplication::notify(QObject* receiver, QEvent* event) {
  std::exception_ptr error;
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    error = std::current_exception();
  }
  // Reported after the catch has ended, so that an error raised while the report is shown
  // is caught by the notify of the report's own event loop, not lost in this one.
  if (handler_) {
    handler_(receiver, error);
  } else {
    QMessageBox::warning(nullptr, QStringLiteral("Vantrel"),
                         QStringLiteral("An unexpected error occurred."));
  }
  return false;
}

}  // namespace vantrel
