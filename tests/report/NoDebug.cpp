// SPDX-License-Identifier: GPL-3.0-or-later
#include "NoDebug.h"

#include <stdexcept>

void RaiseWithoutDebugInformation() {
  throw std::out_of_range("no debug information");
}
