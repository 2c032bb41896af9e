// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontConfigAhead.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace vantrel {

FontConfigAhead::FontConfigAhead() {
  try {
    // Qt calls FcInit() itself before it lists the fonts; once the configuration is
    // loaded, that call returns at once.
    reader_ = std::thread([] { FcInit(); });
  } catch (const std::system_error&) {
    // No thread to be had: Qt reads the configuration when it first needs it.
  }
}

FontConfigAhead::~FontConfigAhead() {
  Wait();
}

void FontConfigAhead::Wait() {
  if (reader_.joinable()) {
    reader_.join();
  }
}

}  // namespace vantrel
