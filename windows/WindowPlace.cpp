#include "WindowPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace vantrel {
namespace {

bool Shown(const QRect& window, const QList<QRect>& screens) {
  const QRect strip(window.left(), window.top(), std::max(window.width(), 1), kTitleStrip);
  return std::any_of(screens.begin(), screens.end(), [&strip](const QRect& screen) {
    const QRect part = strip.intersected(screen);
    return part.width() >= kShownWidth && part.height() >= kTitleStrip;
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

QPoint PlaceOnScreens(const QRect& stored, QPoint design, const QList<QRect>& screens) {
  if (screens.isEmpty() || Shown(stored, screens)) {
    return stored.topLeft();
  }
  const QRect atDesign(design, stored.size());
  if (Shown(atDesign, screens)) {
    return design;
  }
  return OntoScreen(atDesign, screens.front());
}

QPoint PlaceOnScreen(const QRect& stored, QPoint design) {
  QList<QRect> screens;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    screens << primary->availableGeometry();
  }
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != QGuiApplication::primaryScreen()) {
      screens << screen->availableGeometry();
    }
  }
  return PlaceOnScreens(stored, design, screens);
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

}  // namespace vantrel
