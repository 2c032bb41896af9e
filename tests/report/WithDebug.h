// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A library that carries its debug information whatever the build type, so that the
// error report's source places can be checked in optimised builds without -g too.

namespace vantrel {

// Raises std::runtime_error("merged") in code that the compiler merged into its caller,
// a function defined after others in its file.
void CallMergedRaise();

// The same from a call inside a loop's block with variables of its own, at its last
// round of rounds.
void CallMergedRaiseInABlock(int rounds);

// The places of those raises, known once one has raised.
struct MergedRaisePlaces {
  int raiseLine = 0;      // the throw, in the merged function
  int callLine = 0;       // the call of the merged function, in CallMergedRaise
  int blockCallLine = 0;  // the call in CallMergedRaiseInABlock
};
MergedRaisePlaces PlacesOfMergedRaise();

}  // namespace vantrel
