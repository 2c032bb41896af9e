// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A library built without debug information, as a stripped installation would be.

// Raises std::out_of_range("no debug information").
void RaiseWithoutDebugInformation();
