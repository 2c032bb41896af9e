// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirstPaint.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <QtGlobal>

namespace vantrel {
namespace {

// Watches every event of the application until a widget of the window paints: the window
// itself may be covered by its children and never paint at all.
class FirstPaintSignal final : public QObject {
 public:
  FirstPaintSignal(QWidget& window, int fd) : QObject(&window), window_(window), fd_(fd) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && fd_ >= 0 && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
      const char shown = '1';
      // The parent only waits for the byte; a failed write leaves it to its own time limit.
      [[maybe_unused]] const ssize_t written = ::write(fd_, &shown, 1);
      ::close(fd_);
      fd_ = -1;
      QCoreApplication::instance()->removeEventFilter(this);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget& window_;
  int fd_;
};

}  // namespace

void SignalFirstPaint(QWidget& window) {
  bool ok = false;
  const int fd = qEnvironmentVariableIntValue("VANTREL_FIRST_PAINT_FD", &ok);
  if (ok && fd > 2) {
    QCoreApplication::instance()->installEventFilter(new FirstPaintSignal(window, fd));
  }
}

}  // namespace vantrel
