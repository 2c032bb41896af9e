// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A crash is never silent. When the program dies of a fatal signal (SIGSEGV, SIGBUS,
// SIGILL, SIGFPE, SIGABRT), a record goes to the error log with what can be learnt
// without help of anything that might be broken: the signal, the faulting address, the
// registers, and the raw return addresses with the file and offset of their modules.
// Then the program ends as the signal would have ended it. A marker beside the log tells
// the next start that the last run crashed.

#include <string>

namespace vantrel {

// Installs the handlers; logPath is where the record goes (nothing is written when it is
// empty). Everything the handler needs is prepared here.
void InstallCrashHandler(const std::string& logPath);

// The marker that the crash handler leaves beside the log.
std::string CrashMarkerPath(const std::string& logPath);

// True once after a crash was recorded: the marker is removed, so the next start is
// quiet again.
bool TakeCrashNotice(const std::string& logPath);

}  // namespace vantrel
