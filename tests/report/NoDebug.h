#pragma once
// A library built without debug information, as a stripped installation would be.

// Raises std::out_of_range("no debug information").
void RaiseWithoutDebugInformation();
