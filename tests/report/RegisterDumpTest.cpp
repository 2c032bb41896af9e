// SPDX-License-Identifier: GPL-3.0-or-later
// The register lines of the crash record from a hand-filled context, and of the error
// report from kept registers, line by line.

#include <gtest/gtest.h>
#include <ucontext.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "CrashTestData.h"
#include "ErrorTracer.h"
#include "RegisterDump.h"

namespace vantrel {
namespace {

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

std::string Printed(const char* format, auto... values) {
  char line[256];
  std::snprintf(line, sizeof line, format, values...);
  return line;
}

#if defined(__x86_64__)

// Each register gets a value of its own: its number in the top byte and the bottom one.
std::uint64_t ValueOfRegister(int index) {
  return (static_cast<std::uint64_t>(index + 0xA0) << 56) | 0x0000123456789A00ULL |
         static_cast<std::uint64_t>(index);
}

constexpr std::uintptr_t kPc = 0x1100;
constexpr std::uintptr_t kSp = 0x10000;

ucontext_t FilledContext() {
  ucontext_t context{};
  for (int i = 0; i < NGREG; ++i) {
    context.uc_mcontext.gregs[i] = static_cast<greg_t>(ValueOfRegister(i));
  }
  context.uc_mcontext.gregs[REG_RIP] = kPc;
  context.uc_mcontext.gregs[REG_RSP] = kSp;
  return context;
}

std::string V(int index) {
  const ucontext_t context = FilledContext();
  return Printed("%016llX", static_cast<unsigned long long>(context.uc_mcontext.gregs[index]));
}

// The rows as the crash record has them.
std::vector<std::string> ExpectedCrashRows() {
  return {
      "Registers:",
      "RAX = " + V(REG_RAX) + "  RIP = " + V(REG_RIP) + "  Flags = " + V(REG_EFL),
      "RBX = " + V(REG_RBX) + "  RSP = " + V(REG_RSP) + "  RBP = " + V(REG_RBP),
      "RCX = " + V(REG_RCX) + "  RSI = " + V(REG_RSI) + "  RDI = " + V(REG_RDI) +
          "  RDX = " + V(REG_RDX),
      "R8  = " + V(REG_R8) + "  R9  = " + V(REG_R9) + "  R10 = " + V(REG_R10) +
          "  R11 = " + V(REG_R11),
      "R12 = " + V(REG_R12) + "  R13 = " + V(REG_R13) + "  R14 = " + V(REG_R14) +
          "  R15 = " + V(REG_R15),
  };
}

constexpr std::uint8_t kCode[kCodeBytes] = {0x55, 0x48, 0x89, 0xE5, 0x0F, 0x0B, 0x00, 0xFF,
                                            0xC3, 0x90, 0x90, 0x90, 0xCC, 0xCC, 0x01, 0x10};

std::string CodeLine() {
  std::string line;
  for (std::uint8_t byte : kCode) {
    line += Printed("%02X ", unsigned{byte});
  }
  return line;
}

std::vector<std::string> StackLines() {
  std::vector<std::string> lines{"Stack:"};
  for (int row = 0; row < kStackWords / 5; ++row) {
    std::string line;
    for (int column = 0; column < 5; ++column) {
      line += Printed("%016llX ", 0x1000ULL * static_cast<unsigned long long>(row * 5 + column));
    }
    lines.push_back(line);
  }
  return lines;
}

FakeMemory Memory(bool code, bool stack) {
  FakeMemory memory;
  if (code) {
    memory.PutBytes(kPc, kCode, sizeof kCode);
  }
  if (stack) {
    for (int i = 0; i < kStackWords; ++i) {
      memory.Put(kSp + 8 * static_cast<std::uintptr_t>(i), 0x1000ULL * static_cast<unsigned>(i));
    }
  }
  return memory;
}

std::vector<std::string> CrashLines(const FakeMemory& memory) {
  char buffer[4096];
  SignalSafeText out(buffer, sizeof buffer);
  AddCrashRegisters(out, FilledContext(), memory);
  return Lines(out);
}

TEST(CrashRegisters, EveryRegisterOnceWithItsValueInTheRecordsOrder) {
  const std::vector<std::string> lines = CrashLines(Memory(false, false));
  EXPECT_EQ(lines, ExpectedCrashRows());
  std::string all;
  for (const std::string& line : lines) {
    all += line + "\n";
  }
  const char* const names[] = {"RAX", "RIP", "Flags", "RBX", "RSP", "RBP", "RCX", "RSI", "RDI",
                               "RDX", "R8 ", "R9 ",   "R10", "R11", "R12", "R13", "R14", "R15"};
  std::size_t last = 0;
  for (const char* name : names) {
    const std::size_t at = all.find(std::string(name) + " = ");
    ASSERT_NE(at, std::string::npos) << name;
    EXPECT_EQ(all.find(std::string(name) + " = ", at + 1), std::string::npos) << name;
    EXPECT_GT(at, last) << name << " is out of order";
    last = at;
  }
}

TEST(CrashRegisters, TheCodeAndTheStackFollowWhereTheyCanBeRead) {
  struct Row {
    const char* name;
    bool code, stack;
  };
  for (const Row row : {Row{"Neither", false, false}, Row{"CodeOnly", true, false},
                        Row{"StackOnly", false, true}, Row{"Both", true, true}}) {
    std::vector<std::string> expected = ExpectedCrashRows();
    if (row.code) {
      expected.push_back("Code at RIP");
      expected.push_back(CodeLine());
    }
    if (row.stack) {
      for (const std::string& line : StackLines()) {
        expected.push_back(line);
      }
    }
    EXPECT_EQ(CrashLines(Memory(row.code, row.stack)), expected) << row.name;
  }
}

TEST(CrashRegisters, TheContextGivesEveryRegister) {
  ucontext_t context = FilledContext();
  context.uc_mcontext.gregs[REG_CSGSFS] = static_cast<greg_t>(0x002B000000630033ULL);
  context.uc_flags = 0;
  RaiseRegisters r = RegistersOfContext(context);
  const auto g = [&](int index) {
    return static_cast<std::uint64_t>(context.uc_mcontext.gregs[index]);
  };
  const std::uint64_t pairs[][2] = {
      {r.rax, g(REG_RAX)}, {r.rbx, g(REG_RBX)},  {r.rcx, g(REG_RCX)}, {r.rdx, g(REG_RDX)},
      {r.rsi, g(REG_RSI)}, {r.rdi, g(REG_RDI)},  {r.rbp, g(REG_RBP)}, {r.rsp, g(REG_RSP)},
      {r.r8, g(REG_R8)},   {r.r9, g(REG_R9)},    {r.r10, g(REG_R10)}, {r.r11, g(REG_R11)},
      {r.r12, g(REG_R12)}, {r.r13, g(REG_R13)},  {r.r14, g(REG_R14)}, {r.r15, g(REG_R15)},
      {r.rip, g(REG_RIP)}, {r.flags, g(REG_EFL)}};
  for (std::size_t i = 0; i < std::size(pairs); ++i) {
    EXPECT_EQ(pairs[i][0], pairs[i][1]) << "register " << i;
  }
  EXPECT_EQ(r.cs, 0x33);
  EXPECT_EQ(r.gs, 0x63);
  EXPECT_EQ(r.fs, 0);
  EXPECT_EQ(r.ss, 0);  // not said to be there
  context.uc_flags = 0x2;
  r = RegistersOfContext(context);
  EXPECT_EQ(r.ss, 0x2B);
}

#endif

// The error report's rows: the same as printf writes them, also for flags wider than 32
// bits.
TEST(ReportRegisters, TheReportsLayoutWithSegmentsAndItsCodeAndStack) {
  RaiseRegisters r;
  std::uint64_t next = 0x0102030405060708ULL;
  for (std::uint64_t* field :
       {&r.rax, &r.rbx, &r.rcx, &r.rdx, &r.rsi, &r.rdi, &r.rbp, &r.rsp, &r.r8, &r.r9, &r.r10,
        &r.r11, &r.r12, &r.r13, &r.r14, &r.r15, &r.rip}) {
    *field = next;
    next += 0x1111111111111111ULL;
  }
  r.cs = 0x33;
  r.ss = 0x2B;
  r.ds = 0;
  r.es = 0xFFFF;
  r.fs = 0x1;
  r.gs = 0xABC;
  const auto u = [](std::uint64_t v) { return static_cast<unsigned long long>(v); };
  for (const std::uint64_t flags : {0x246ULL, 0x1FFFFFFFFULL}) {
    r.flags = flags;
    std::vector<std::string> expected{
        "Registers:",
        Printed("RAX = %.16llX  CS = %.4X  RIP = %.16llX  Flags = %.8llX", u(r.rax), unsigned{r.cs},
                u(r.rip), u(r.flags)),
        Printed("RBX = %.16llX  SS = %.4X  RSP = %.16llX    RBP = %.16llX", u(r.rbx),
                unsigned{r.ss}, u(r.rsp), u(r.rbp)),
        Printed("RCX = %.16llX  DS = %.4X  RSI = %.16llX    FS  = %.4X", u(r.rcx), unsigned{r.ds},
                u(r.rsi), unsigned{r.fs}),
        Printed("RDX = %.16llX  ES = %.4X  RDI = %.16llX    GS  = %.4X", u(r.rdx), unsigned{r.es},
                u(r.rdi), unsigned{r.gs}),
        Printed("R8  = %.16llX  R9  = %.16llX  R10 = %.16llX  R11 = %.16llX", u(r.r8), u(r.r9),
                u(r.r10), u(r.r11)),
        Printed("R12 = %.16llX  R13 = %.16llX  R14 = %.16llX  R15 = %.16llX", u(r.r12), u(r.r13),
                u(r.r14), u(r.r15)),
    };
    EXPECT_EQ(RegisterLines(r, nullptr, nullptr), expected);

    std::uint8_t code[kCodeBytes];
    std::uint64_t stack[kStackWords];
    for (int i = 0; i < kCodeBytes; ++i) {
      code[i] = static_cast<std::uint8_t>(0xF0 + i);
    }
    for (int i = 0; i < kStackWords; ++i) {
      stack[i] = ~static_cast<std::uint64_t>(i);
    }
    expected.push_back("Code at CS:RIP");
    std::string codeLine;
    for (std::uint8_t byte : code) {
      codeLine += Printed("%.2X ", unsigned{byte});
    }
    expected.push_back(codeLine);
    expected.push_back("Stack:");
    for (int row = 0; row < kStackWords / 5; ++row) {
      std::string words;
      for (int column = 0; column < 5; ++column) {
        words += Printed("%.16llX ", u(stack[row * 5 + column]));
      }
      expected.push_back(words);
    }
    EXPECT_EQ(RegisterLines(r, code, stack), expected);
  }
}

}  // namespace
}  // namespace vantrel
