// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ten worm pictures beside the main window's Convert, Clear, Copy and Lookup buttons.
// They lie beneath the buttons, each overlapping the edge of its button so that it seems
// to come out from behind it, and follow the buttons wherever the layout puts them. All
// start hidden; they take no mouse input.

#include <QObject>
#include <array>

#include "ButtonAnimation.h"

class QPushButton;

namespace vantrel {

class AnimatedPicture;

class ButtonWorms final : public QObject, public WormPictures {
  Q_OBJECT

 public:
  // The pictures become children of the buttons' common parent.
  ButtonWorms(QPushButton* convert, QPushButton* clear, QPushButton* copy, QPushButton* lookup);

  // By index: ConvertWormLeft, ConvertWormTop, ConvertWormRight, ClearWormLeft,
  // ClearWormRight, CopyWormLeft, CopyWormRight, LookupWormLeft, LookupWormBottom,
  // LookupWormRight. The ten pictures are made the first time one is asked for or shown,
  // so that the window's first showing does without them.
  AnimatedPicture* Worm(int index);
  // Where worm index belongs, in its parent's coordinates, for the buttons as they are.
  QRect Place(int index) const;

  void HideAndStop(int index) override;
  void ShowAndRestart(int index) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void MakePictures();
  void PlaceAll();

  std::array<QPushButton*, 4> buttons_;
  std::array<AnimatedPicture*, kWormCount> worms_{};
  bool made_ = false;
};

}  // namespace vantrel
