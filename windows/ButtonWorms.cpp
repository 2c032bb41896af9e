// SPDX-License-Identifier: GPL-3.0-or-later
#include "ButtonWorms.h"

#include <QEvent>
#include <QPushButton>

#include "AnimatedPicture.h"
#include "Pictures.h"

namespace vantrel {
namespace {

enum class Side { kLeft, kTop, kRight, kBottom };

struct WormPlace {
  const char* name;
  int button;  // Convert 0, Clear 1, Copy 2, Lookup 3
  Side side;
  // How far below the button's top a worm beside it lies.
  int drop;
};

// The worms' places, as laid out for buttons 99 pixels wide and 25 high: 22 pixels of
// each worm show beside its button, the other 11 lie behind it.
constexpr std::array<WormPlace, kWormCount> kWorms = {{
    {"ConvertWormLeft", 0, Side::kLeft, 1},
    {"ConvertWormTop", 0, Side::kTop, 0},
    {"ConvertWormRight", 0, Side::kRight, 1},
    {"ClearWormLeft", 1, Side::kLeft, 2},
    {"ClearWormRight", 1, Side::kRight, 0},
    {"CopyWormLeft", 2, Side::kLeft, 3},
    {"CopyWormRight", 2, Side::kRight, 3},
    {"LookupWormLeft", 3, Side::kLeft, 0},
    {"LookupWormBottom", 3, Side::kBottom, 0},
    {"LookupWormRight", 3, Side::kRight, 0},
}};

constexpr int kOutside = 22;
constexpr int kBehind = 11;
constexpr int kControlHeight = 33;
constexpr int kSideWidth = 33;
constexpr int kRightWidth = 35;
// The upright worms stand a little left of the button's middle.
constexpr int kUprightFromMiddle = 15;

const char* PictureFile(Side side) {
  switch (side) {
    case Side::kLeft:
      return "worm-left.gif";
    case Side::kTop:
      return "worm-top.gif";
    case Side::kRight:
      return "worm-right.gif";
    case Side::kBottom:
      return "worm-bottom.gif";
  }
  return "";
}

}  // namespace

ButtonWorms::ButtonWorms(QPushButton* convert, QPushButton* clear, QPushButton* copy,
                         QPushButton* lookup)
    : QObject(convert), buttons_{convert, clear, copy, lookup} {
  for (QPushButton* button : buttons_) {
    button->installEventFilter(this);
  }
}

AnimatedPicture* ButtonWorms::Worm(int index) {
  MakePictures();
  return worms_[static_cast<std::size_t>(index)];
}

void ButtonWorms::MakePictures() {
  if (made_) {
    return;
  }
  made_ = true;
  QWidget* panel = buttons_[0]->parentWidget();
  for (int index = 0; index < kWormCount; ++index) {
    const WormPlace& place = kWorms[static_cast<std::size_t>(index)];
    const QSize size(place.side == Side::kRight ? kRightWidth : kSideWidth, kControlHeight);
    AnimatedPicture* worm = NewAnimatedPicture(panel, place.name, PictureFile(place.side), size);
    // Beneath every sibling, the buttons included.
    worm->lower();
    worms_[static_cast<std::size_t>(index)] = worm;
  }
  PlaceAll();
}

QRect ButtonWorms::Place(int index) const {
  const WormPlace& place = kWorms[static_cast<std::size_t>(index)];
  const QRect button = buttons_[static_cast<std::size_t>(place.button)]->geometry();
  const int middle = button.x() + button.width() / 2 - kUprightFromMiddle;
  switch (place.side) {
    case Side::kLeft:
      return {button.x() - kOutside, button.y() + place.drop, kSideWidth, kControlHeight};
    case Side::kRight:
      return {button.x() + button.width() - kBehind, button.y() + place.drop, kRightWidth,
              kControlHeight};
    case Side::kTop:
      return {middle, button.y() - kOutside, kSideWidth, kControlHeight};
    case Side::kBottom:
      return {middle, button.y() + button.height() - kBehind, kSideWidth, kControlHeight};
  }
  return {};
}

void ButtonWorms::PlaceAll() {
  for (int index = 0; index < kWormCount; ++index) {
    Worm(index)->setGeometry(Place(index));
  }
}

bool ButtonWorms::eventFilter(QObject* watched, QEvent* event) {
  if (made_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
    PlaceAll();
  }
  return QObject::eventFilter(watched, event);
}

void ButtonWorms::HideAndStop(int index) {
  if (!made_) {
    return;  // no worm was ever shown
  }
  AnimatedPicture* worm = Worm(index);
  worm->hide();
  worm->Stop();
}

void ButtonWorms::ShowAndRestart(int index) {
  AnimatedPicture* worm = Worm(index);
  worm->show();
  worm->Restart();
}

}  // namespace vantrel
