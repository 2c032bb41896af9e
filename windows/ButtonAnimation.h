// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The button animation's tick: once a second the main window's timer raises the idle
// count and the worm count. A worm that has been out for 11 ticks goes back; when the user
// has done nothing for 90 ticks and the animation is on, every 12th tick brings out one of
// the ten worms, picked at random. Any user action (NoteUserActivity) restarts the wait;
// it does not send back a worm that is out, nor does switching the animation off.
//
// The pictures and the random source are seams, so the tick is tested without a window
// and without chance.

#include <cstdint>
#include <random>

#include "Services.h"

namespace vantrel {

inline constexpr int kWormCount = 10;

// The ten worm pictures, by index, as the tick needs them.
class WormPictures {
 public:
  virtual ~WormPictures() = default;
  // Hides the worm and stops its animation; when this returns, it no longer plays.
  virtual void HideAndStop(int index) = 0;
  // Shows the worm and plays its animation from the first frame.
  virtual void ShowAndRestart(int index) = 0;
};

class RandomPick {
 public:
  virtual ~RandomPick() = default;
  // A whole number from 0 to count - 1, each equally likely.
  virtual int Pick(int count) = 0;
};

// The program's random generator, seeded once from a reading of the clock.
class ClockSeededRandom final : public RandomPick {
 public:
  explicit ClockSeededRandom(std::uint64_t clockReading);
  int Pick(int count) override;

 private:
  std::mt19937_64 engine_;
};

// The wall clock now, in nanoseconds, for seeding.
std::uint64_t ClockReading();

class ButtonAnimation {
 public:
  static constexpr int kIdleTicksBeforeWorms = 90;
  // A worm goes back at the tick on which the worm count passes this.
  static constexpr int kLastWormTick = 10;
  static constexpr int kTicksBetweenWorms = 12;

  // The state's idle count is raised at every tick and its animation switch read; both
  // may change between ticks.
  ButtonAnimation(WormPictures& pictures, RandomPick& random, ShellState& state);

  // Timer1Timer's work.
  void Tick();

  // Ticks since a worm was last shown.
  int WormTicks() const { return wormTicks_; }

 private:
  WormPictures& pictures_;
  RandomPick& random_;
  ShellState& state_;
  int wormTicks_ = 0;
};

}  // namespace vantrel
