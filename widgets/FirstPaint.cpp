// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <utility>

namespace vantrel {
namespace {

// Watches every event of the application until a widget of the window paints.
class FirstPaintWatch final : public QObject {
 public:
  FirstPaintWatch(QWidget& window, std::function<void()> action)
      : QObject(&window), window_(window), action_(std::move(action)) {
    QCoreApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && action_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
      QCoreApplication::instance()->removeEventFilter(this);
      deleteLater();
      std::exchange(action_, {})();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget& window_;
  std::function<void()> action_;
};

}  // namespace

void OnFirstPaint(QWidget& window, std::function<void()> action) {
  new FirstPaintWatch(window, std::move(action));
}

void AfterFirstPaint(QWidget& window, std::function<void()> action) {
  // A zero timer runs once the paint under way and its flush to the screen are over.
  OnFirstPaint(window,
               [&window, action = std::move(action)] { QTimer::singleShot(0, &window, action); });
}

}  // namespace vantrel
