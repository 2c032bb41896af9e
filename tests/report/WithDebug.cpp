// SPDX-License-Identifier: GPL-3.0-or-later
#include "WithDebug.h"

#include <stdexcept>

namespace vantrel {
namespace {

MergedRaisePlaces places;

// Merged into CallMergedRaise by the compiler.
__attribute__((always_inline)) inline void RaiseMerged() {
  places.raiseLine = __LINE__ + 1;
  throw std::runtime_error("merged");
}

}  // namespace

// Defined first in the file, so that the function that raises is not its unit's first.
MergedRaisePlaces PlacesOfMergedRaise() {
  return places;
}

__attribute__((noinline)) void CallMergedRaise() {
  places.callLine = __LINE__ + 1;
  RaiseMerged();
}

__attribute__((noinline)) void CallMergedRaiseInABlock(int rounds) {
  for (int round = 0; round < rounds; ++round) {
    // A variable of the block's own, which the compiler cannot drop.
    volatile int left = rounds - round;
    if (left == 1) {
      places.blockCallLine = __LINE__ + 1;
      RaiseMerged();
    }
  }
}

}  // namespace vantrel
