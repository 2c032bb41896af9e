// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramStyle.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

namespace vantrel {
namespace {

// An icon that asks the style for the real one the first time anything needs its
// pictures. Copies made before that share the one that is read.
class DeferredIconEngine final : public QIconEngine {
 public:
  DeferredIconEngine(const QStyle* style, QStyle::StandardPixmap which, const QWidget* widget)
      // Held by weak pointers, which take no const object; nothing is changed through them.
      : state_(std::make_shared<State>(State{const_cast<QStyle*>(style), which,
                                             const_cast<QWidget*>(widget), std::nullopt})) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Real().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Real().actualSize(size, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Real().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return Real().pixmap(size, scale, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Real().availableSizes(mode, state);
  }
  // Asked by every button that is given the icon: answered without reading it.
  bool isNull() override { return state_->real ? state_->real->isNull() : false; }
  QString key() const override { return QStringLiteral("DeferredIconEngine"); }
  QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

 private:
  struct State {
    QPointer<QStyle> style;
    QStyle::StandardPixmap which;
    QPointer<QWidget> widget;
    std::optional<QIcon> real;
  };

  const QIcon& Real() {
    if (!state_->real) {
      state_->real = state_->style != nullptr
                         ? state_->style->standardIcon(state_->which, nullptr, state_->widget)
                         : QIcon();
    }
    return *state_->real;
  }

  std::shared_ptr<State> state_;
};

}  // namespace

ProgramStyle::ProgramStyle(const QString& baseStyleName) : QProxyStyle(baseStyleName) {}

QIcon ProgramStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                 const QWidget* widget) const {
  if (option != nullptr) {
    return QProxyStyle::standardIcon(standardIcon, option, widget);
  }
  return QIcon(new DeferredIconEngine(baseStyle(), standardIcon, widget));
}

}  // namespace vantrel
