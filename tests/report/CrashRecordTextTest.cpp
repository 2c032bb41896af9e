// SPDX-License-Identifier: GPL-3.0-or-later
// The crash record's head and frame lines, line by line.

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CrashRecordText.h"
#include "CrashTestData.h"

namespace vantrel {
namespace {

// The text cut at each CR LF; a text that does not end in one gets "<unended>" last.
std::vector<std::string> Lines(const SignalSafeText& out) {
  const std::string all(out.Data(), out.Size());
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t end; (end = all.find("\r\n", from)) != std::string::npos; from = end + 2) {
    lines.push_back(all.substr(from, end - from));
  }
  if (from < all.size()) {
    lines.push_back("<unended>" + all.substr(from));
  }
  return lines;
}

struct HeadRow {
  const char* name;
  int signal;
  bool withInfo;
  int code;
  int pid;
  std::uintptr_t address;
  const char* signalLine;
};

void PrintTo(const HeadRow& row, std::ostream* out) {
  *out << row.name;
}

class CrashRecordHead : public ::testing::TestWithParam<HeadRow> {};

TEST_P(CrashRecordHead, SaysWhenWhatAndWhereLineByLine) {
  const HeadRow& row = GetParam();
  siginfo_t info{};
  info.si_code = row.code;
  if (row.code <= 0) {
    info.si_pid = row.pid;
  } else {
    info.si_addr = reinterpret_cast<void*>(row.address);
  }
  char buffer[512];
  SignalSafeText out(buffer, sizeof buffer);
  AddRecordHead(out, 1709210096, row.signal, row.withInfo ? &info : nullptr);
  EXPECT_EQ(Lines(out), (std::vector<std::string>{"---------------------------12:34:56 29/02/2024"
                                                  "---------------------------",
                                                  row.signalLine, "The program ended here.", "",
                                                  "Call stack:"}));
}

INSTANTIATE_TEST_SUITE_P(
    Signals, CrashRecordHead,
    ::testing::Values(HeadRow{"FaultAtAnAddress", SIGSEGV, true, SEGV_MAPERR, 0, 0x1234,
                              "Signal SIGSEGV (11) at address 0000000000001234, code 1"},
                      HeadRow{"BusError", SIGBUS, true, BUS_ADRERR, 0, 0xFFFFFFFFFFFFFFF0,
                              "Signal SIGBUS (7) at address FFFFFFFFFFFFFFF0, code 2"},
                      HeadRow{"IllegalInstruction", SIGILL, true, ILL_ILLOPC, 0, 0x401000,
                              "Signal SIGILL (4) at address 0000000000401000, code 1"},
                      HeadRow{"DivisionByZero", SIGFPE, true, FPE_INTDIV, 0, 0x401002,
                              "Signal SIGFPE (8) at address 0000000000401002, code 1"},
                      HeadRow{"AbortRaised", SIGABRT, true, SI_TKILL, 4321, 0,
                              "Signal SIGABRT (6) sent by process 4321"},
                      HeadRow{"SentByKill", SIGSEGV, true, SI_USER, 17, 0,
                              "Signal SIGSEGV (11) sent by process 17"},
                      HeadRow{"AnyOtherSignal", SIGTERM, true, SI_USER, 1, 0,
                              "Signal signal (15) sent by process 1"},
                      HeadRow{"WithoutInfo", SIGSEGV, false, 0, 0, 0,
                              "Signal SIGSEGV (11) at address 0000000000000000, code 0"}));

TEST(CrashRecordFrames, EachFrameIsOneLineWithItsModule) {
  char buffer[512];
  SignalSafeText out(buffer, sizeof buffer);
  const ProcMaps maps = WalkMaps();
  for (std::uintptr_t address : {0x1100, 0x3008, 0x9000, 0x1ffe}) {
    AddFrameLine(out, address, maps);
  }
  EXPECT_EQ(Lines(out), (std::vector<std::string>{
                            ":0000000000001100 [libwalk.so] +00003100",
                            ":0000000000003008 [libwalk.so] +00000008",
                            ":0000000000009000 []",
                            ":0000000000001FFE [libwalk.so] +00003FFE",
                        }));
}

}  // namespace
}  // namespace vantrel
