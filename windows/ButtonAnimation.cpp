// SPDX-License-Identifier: GPL-3.0-or-later
#include "ButtonAnimation.h"

#include <chrono>
#include <climits>

#include "VantrelGlobal.h"

namespace vantrel {
namespace {

// A program left running for 68 years would see a count wrap round to a negative
// number and the worms stay away for as long again; the counts stop at the top instead.
int Raised(int count) {
  return count < INT_MAX ? count + 1 : count;
}

}  // namespace

ClockSeededRandom::ClockSeededRandom(std::uint64_t clockReading) : engine_(clockReading) {}

int ClockSeededRandom::Pick(int count) {
  return std::uniform_int_distribution<int>(0, count - 1)(engine_);
}

std::uint64_t ClockReading() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        std::chrono::system_clock::now().time_since_epoch())
                                        .count());
}

ButtonAnimation::ButtonAnimation(WormPictures& pictures, RandomPick& random, ShellState& state)
    : pictures_(pictures), random_(random), state_(state) {}

void ButtonAnimation::Tick() {
  state_.IdleTicks = Raised(state_.IdleTicks);
  wormTicks_ = Raised(wormTicks_);
  if (wormTicks_ > kLastWormTick) {
    // At every such tick, a worm out or not: each hidden, and stopped, in turn.
    for (int index = 0; index < kWormCount; ++index) {
      pictures_.HideAndStop(index);
    }
  }
  if (state_.IdleTicks >= kIdleTicksBeforeWorms && state_.AnimationOn &&
      wormTicks_ >= kTicksBetweenWorms) {
    const int index = random_.Pick(kWormCount);
    wormTicks_ = 0;
    pictures_.ShowAndRestart(index);
  }
}

}  // namespace vantrel
