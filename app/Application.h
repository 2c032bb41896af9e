#pragma once
// TVantrelApplication: the application object. Every event passes through its notify, so
// an error that escapes an event handler is caught here and handed to the error handler;
// the event loop then goes on.

#include <QApplication>
#include <exception>
#include <functional>

namespace vantrel {

class TVantrelApplication : public QApplication {
  Q_OBJECT

 public:
  // The receiver of the event whose handler let the error escape, and the error.
  using ErrorHandler = std::function<void(QObject* receiver, const std::exception_ptr& error)>;

  TVantrelApplication(int& argc, char** argv);

  void SetErrorHandler(ErrorHandler handler) { handler_ = std::move(handler); }

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  ErrorHandler handler_;
};

}  // namespace vantrel
