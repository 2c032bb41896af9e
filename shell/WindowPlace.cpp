// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vantrel {
namespace {

// Counted in 64 bits: a hand-edited place may lie at the very edge of the integers.
bool Shown(QPoint place, QSize size, const QList<QRect>& screens) {
  const qint64 left = place.x();
  const qint64 top = place.y();
  const qint64 right = left + std::max(size.width(), 1);
  const qint64 bottom = top + kTitleStrip;
  return std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
    const qint64 across = std::min<qint64>(right, qint64{screen.left()} + screen.width()) -
                          std::max<qint64>(left, screen.left());
    const qint64 down = std::min<qint64>(bottom, qint64{screen.top()} + screen.height()) -
                        std::max<qint64>(top, screen.top());
    return across >= kShownWidth && down >= kTitleStrip;
  });
}

// Moves a window onto the screen, its top-left corner first when it is larger.
QPoint OntoScreen(const QRect& window, const QRect& screen) {
  const int x = std::clamp(window.left(), screen.left(),
                           std::max(screen.left(), screen.right() + 1 - window.width()));
  const int y = std::clamp(window.top(), screen.top(),
                           std::max(screen.top(), screen.bottom() + 1 - window.height()));
  return {x, y};
}

}  // namespace

QPoint PlaceOnScreens(QPoint stored, QSize size, QPoint design, const QList<QRect>& screens) {
  if (screens.isEmpty() || Shown(stored, size, screens)) {
    return stored;
  }
  if (Shown(design, size, screens)) {
    return design;
  }
  return OntoScreen(QRect(design, size), screens.front());
}

QSize WindowSize(const QWidget& window) {
  const QRect geometry = window.geometry();
  auto extent = [](int first, int last) {
    return static_cast<int>(std::clamp<qint64>(qint64{last} - first + 1, 0, QWIDGETSIZE_MAX));
  };
  return {extent(geometry.left(), geometry.right()), extent(geometry.top(), geometry.bottom())};
}

QSize SizeOnScreens(QSize stored, QSize design, const QList<QRect>& screens) {
  int widest = kMaxWindowExtent;
  int highest = kMaxWindowExtent;
  if (!screens.isEmpty()) {
    widest = 0;
    highest = 0;
    for (const QRect& screen : screens) {
      widest = std::max(widest, screen.width());
      highest = std::max(highest, screen.height());
    }
  }
  return {stored.width() > widest ? design.width() : stored.width(),
          stored.height() > highest ? design.height() : stored.height()};
}

namespace {

QList<QRect> Screens() {
  QList<QRect> screens;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    screens << primary->availableGeometry();
  }
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != QGuiApplication::primaryScreen()) {
      screens << screen->availableGeometry();
    }
  }
  return screens;
}

}  // namespace

QPoint PlaceOnScreen(QPoint stored, QSize size, QPoint design) {
  return PlaceOnScreens(stored, size, design, Screens());
}

QSize SizeOnScreen(QSize stored, QSize design) {
  return SizeOnScreens(stored, design, Screens());
}

int StoredColumnWidth(qint32 stored, int design) {
  return stored < kMinStoredColumnWidth ? design : stored;
}

int StoredColumnWidth(qint32 stored, Setting setting) {
  return StoredColumnWidth(stored, SettingDesignValue(setting).integer);
}

QPoint DesignPlace(Setting left, Setting top) {
  return {SettingDesignValue(left).integer, SettingDesignValue(top).integer};
}

bool ApplyPlace(QWidget& window, const PlaceSettings& place, Setting setting,
                const SettingValue& value) {
  if (setting == place.top) {
    window.move(window.x(), value.integer);
  } else if (setting == place.left) {
    window.move(value.integer, window.y());
  } else if (setting == place.width) {
    window.resize(value.integer, window.height());
  } else if (setting == place.height) {
    window.resize(window.width(), value.integer);
  } else {
    return false;
  }
  return true;
}

std::optional<SettingValue> StoredPlace(const QWidget& window, const PlaceSettings& place,
                                        Setting setting) {
  if (setting == place.top) {
    return SettingValue::Integer(window.y());
  }
  if (setting == place.left) {
    return SettingValue::Integer(window.x());
  }
  if (setting == place.width) {
    return SettingValue::Integer(window.width());
  }
  if (setting == place.height) {
    return SettingValue::Integer(window.height());
  }
  return std::nullopt;
}

}  // namespace vantrel
