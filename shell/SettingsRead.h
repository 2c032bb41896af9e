// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reading half of the settings store in plain C++: the checks on the settings file
// before it is read, and the reading of a value with the registry's type rules. The store
// (SettingsStore.h) wraps both for the windows; the fuzz build takes them alone.

#include <cstdint>
#include <string>
#include <string_view>

#include "RegFile.h"
#include "SettingsList.h"

namespace vantrel {

struct SettingsFileBytes {
  enum class State { Missing, Read, Unusable } state = State::Missing;
  std::string bytes;    // Read: at most one byte more than a settings file may hold
  std::string problem;  // Unusable: why (English)
};

// Reads the settings file. Only a regular file, or a link to one, is read: a FIFO would
// wait for a writer and a device could be read for ever, so neither is even opened in a
// way that waits.
SettingsFileBytes ReadSettingsFile(const std::string& path);

// A value read as a setting's type: a missing text reads as empty, a missing integer or
// switch, or a value of another type, is a failure. A switch is on when it is not 0.
struct TypedValue {
  enum class Failure { kNone, kMissing, kWrongType } failure = Failure::kNone;
  std::string text;
  std::int32_t integer = 0;
};
TypedValue ReadTyped(const regfile::Key& key, std::string_view name, SettingType type);

}  // namespace vantrel
