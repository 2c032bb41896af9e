// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lines of the crash record that say what happened and where: its head (time, signal,
// cause) and one line per frame of the call stack. Written inside a signal handler after
// the program broke, so everything here is async-signal-safe: no allocation, no locks, no
// stdio.

#include <signal.h>

#include <cstdint>

#include "ProcMaps.h"
#include "SignalSafeText.h"

namespace vantrel {

// "SIGSEGV" and the other fatal signals by name; "signal" for any other.
const char* SignalName(int signal);

// The record's first lines, up to and with "Call stack:": the local time (seconds since
// 1970 with the zone's offset added), the signal with its sender or its faulting address,
// and that the program ended there. info may be null.
void AddRecordHead(SignalSafeText& out, long localSeconds, int signal, const siginfo_t* info);

// ":address [module] +offset" and the line break, for one frame of the call stack.
void AddFrameLine(SignalSafeText& out, std::uintptr_t address, const ProcMaps& maps);

}  // namespace vantrel
