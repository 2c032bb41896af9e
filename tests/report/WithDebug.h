// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A library that carries its debug information whatever the build type, so that the
// error report's source places can be checked in optimised builds without -g too.

namespace vantrel {

// Raises std::runtime_error("merged") in code that the compiler merged into its caller,
// a function defined after others in its file.
void CallMergedRaise();

// The places of that raise, known once it has raised.
struct MergedRaisePlaces {
  int raiseLine = 0;  // the throw, in the merged function
  int callLine = 0;   // the call of the merged function, in CallMergedRaise
};
MergedRaisePlaces PlacesOfMergedRaise();

}  // namespace vantrel
