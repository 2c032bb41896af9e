// SPDX-License-Identifier: GPL-3.0-or-later
#include "CrashRecordText.h"

#include "CivilDate.h"

namespace vantrel {

const char* SignalName(int signal) {
  switch (signal) {
    case SIGSEGV:
      return "SIGSEGV";
    case SIGBUS:
      return "SIGBUS";
    case SIGILL:
      return "SIGILL";
    case SIGFPE:
      return "SIGFPE";
    case SIGABRT:
      return "SIGABRT";
    default:
      return "signal";
  }
}

void AddRecordHead(SignalSafeText& out, long localSeconds, int signal, const siginfo_t* info) {
  out.Add("---------------------------");
  AddCivilTime(out, localSeconds);
  out.Add("---------------------------");
  out.Line();
  out.Add("Signal ");
  out.Add(SignalName(signal));
  out.Add(" (");
  out.Dec(signal);
  if (info != nullptr && info->si_code <= 0) {
    // Sent, not caused: by kill, by another process, or by abort in this one.
    out.Add(") sent by process ");
    out.Dec(info->si_pid);
  } else {
    out.Add(") at address ");
    out.Hex(reinterpret_cast<std::uintptr_t>(info != nullptr ? info->si_addr : nullptr), 16);
    out.Add(", code ");
    out.Dec(info != nullptr ? info->si_code : 0);
  }
  out.Line();
  out.Add("The program ended here.");
  out.Line();
  out.Line();
  out.Add("Call stack:");
  out.Line();
}

void AddFrameLine(SignalSafeText& out, std::uintptr_t address, const ProcMaps& maps) {
  out.Add(":");
  out.Hex(address, 16);
  maps.AddModule(out, address);
  out.Line();
}

}  // namespace vantrel
