// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the engine needs from the window that shows it.

#include <string>
#include <string_view>

#include "Message.h"

namespace vantrel {

class EngineHost {
 public:
  virtual ~EngineHost() = default;
  // A warning with a single OK button.
  virtual void Warn(const Message& message) = 0;
  // The busy pointer around a dictionary scan; it is put back before any message.
  virtual void SetBusy(bool /*busy*/) {}
  // Buttons, status line or labels may have changed.
  virtual void StateChanged() {}
  // One English text in the user's language, as UTF-8.
  virtual std::string Translate(std::string_view english) { return std::string(english); }
  // Seconds on a clock that never goes back.
  virtual double Now();
  // The user's locale decimal separator, for the time in the status line.
  virtual char DecimalSeparator() { return '.'; }
};

// The status line of a search or lookup: " 3 Matches out of 10 words in .001 secs".
Message StatusLine(int matches, int words, double seconds, char decimalSeparator);

}  // namespace vantrel
