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
#include "Status.h"

namespace vantrel {

// Reads the settings file into bytes: at most one byte more than a settings file may
// hold, so that the parser can tell a file that is too large. Only a regular file, or a
// link to one, is read: a FIFO would wait for a writer and a device could be read for
// ever, so neither is even opened in a way that waits. kNotFound when there is no file
// (a link to nothing included), kNotAFile, or the system's refusal (kCannotOpen,
// kReadFailed); the reason is the English text the user is told. bytes are empty then.
Status ReadSettingsFile(const std::string& path, std::string& bytes);

// A value read as a setting's type. A switch is on when it is not 0.
struct TypedValue {
  std::string text;
  std::int32_t integer = 0;
};
// A missing text reads as empty. A missing integer or switch is kNotFound, a value of
// another type kMalformed; the reason is the English text the user is told ("The setting
// "Form Top" is missing").
Status ReadTyped(const regfile::Key& key, std::string_view name, SettingType type,
                 TypedValue& value);

}  // namespace vantrel
