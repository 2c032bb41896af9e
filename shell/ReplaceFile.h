// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's one way of writing a whole file: the settings store writes its file with
// it, the dictionary generator the bundled dictionaries. Plain C++, so that the tools and
// the fuzz build, which have no Qt, share it.

#include <string>
#include <string_view>

#include "FileCalls.h"
#include "Status.h"

namespace vantrel {

// Writes `bytes` as the whole file at `path` through a temporary file of a unique name
// beside it: every byte is written and synced before the rename puts it in place, so the
// old file stays whole until the new one is, and two writers never share a temporary
// file. Every step's result is checked, a short write included. A file linked from
// elsewhere stays linked (the link's target is replaced) and an existing file keeps its
// permissions. A failure (kCannotOpen: no temporary file could be made; kWriteFailed:
// any later step) removes the temporary file and leaves the old file as it was.
Status ReplaceFile(const std::string& path, std::string_view bytes,
                   FileCalls& calls = FileCalls::Real());

}  // namespace vantrel
