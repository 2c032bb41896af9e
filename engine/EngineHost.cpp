// SPDX-License-Identifier: GPL-3.0-or-later
#include "EngineHost.h"

#include <chrono>
#include <string>

#include "Search.h"

namespace vantrel {

double EngineHost::Now() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

Message StatusLine(int matches, int words, double seconds, char decimalSeparator) {
  return {Lit(" " + std::to_string(matches)),
          Tr(" Matches out of "),
          Lit(std::to_string(words)),
          Tr(" words in "),
          Lit(FormatSeconds(seconds, decimalSeparator)),
          Tr(" secs")};
}

}  // namespace vantrel
