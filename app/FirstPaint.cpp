#include "FirstPaint.h"

#include <unistd.h>

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <QtGlobal>

namespace vantrel {
namespace {

class FirstPaintSignal final : public QObject {
 public:
  FirstPaintSignal(QWidget& window, int fd) : QObject(&window), fd_(fd) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && fd_ >= 0) {
      const char shown = '1';
      // The parent only waits for the byte; a failed write leaves it to its own time limit.
      [[maybe_unused]] const ssize_t written = ::write(fd_, &shown, 1);
      ::close(fd_);
      fd_ = -1;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  int fd_;
};

}  // namespace

void SignalFirstPaint(QWidget& window) {
  bool ok = false;
  const int fd = qEnvironmentVariableIntValue("VANTREL_FIRST_PAINT_FD", &ok);
  if (ok && fd > 2) {
    window.installEventFilter(new FirstPaintSignal(window, fd));
  }
}

}  // namespace vantrel
