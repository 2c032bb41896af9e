// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegisterDump.h"

namespace vantrel {
namespace {

enum class Register {
  kNone,
  kRax,
  kRbx,
  kRcx,
  kRdx,
  kRsi,
  kRdi,
  kRbp,
  kRsp,
  kR8,
  kR9,
  kR10,
  kR11,
  kR12,
  kR13,
  kR14,
  kR15,
  kRip,
  kFlags,
  kCs,
  kSs,
  kDs,
  kEs,
  kFs,
  kGs,
};

std::uint64_t ValueOf(const RaiseRegisters& r, Register which) {
  switch (which) {
    case Register::kRax:
      return r.rax;
    case Register::kRbx:
      return r.rbx;
    case Register::kRcx:
      return r.rcx;
    case Register::kRdx:
      return r.rdx;
    case Register::kRsi:
      return r.rsi;
    case Register::kRdi:
      return r.rdi;
    case Register::kRbp:
      return r.rbp;
    case Register::kRsp:
      return r.rsp;
    case Register::kR8:
      return r.r8;
    case Register::kR9:
      return r.r9;
    case Register::kR10:
      return r.r10;
    case Register::kR11:
      return r.r11;
    case Register::kR12:
      return r.r12;
    case Register::kR13:
      return r.r13;
    case Register::kR14:
      return r.r14;
    case Register::kR15:
      return r.r15;
    case Register::kRip:
      return r.rip;
    case Register::kFlags:
      return r.flags;
    case Register::kCs:
      return r.cs;
    case Register::kSs:
      return r.ss;
    case Register::kDs:
      return r.ds;
    case Register::kEs:
      return r.es;
    case Register::kFs:
      return r.fs;
    case Register::kGs:
      return r.gs;
    case Register::kNone:
      break;
  }
  return 0;
}

struct Field {
  const char* label = nullptr;  // a row ends at the first field without one
  Register which = Register::kNone;
  int digits = 16;  // at least; a wider value keeps all its digits
};

constexpr int kColumns = 4;

constexpr Field kCrashRows[][kColumns] = {
    {{"RAX = ", Register::kRax}, {"  RIP = ", Register::kRip}, {"  Flags = ", Register::kFlags}},
    {{"RBX = ", Register::kRbx}, {"  RSP = ", Register::kRsp}, {"  RBP = ", Register::kRbp}},
    {{"RCX = ", Register::kRcx},
     {"  RSI = ", Register::kRsi},
     {"  RDI = ", Register::kRdi},
     {"  RDX = ", Register::kRdx}},
    {{"R8  = ", Register::kR8},
     {"  R9  = ", Register::kR9},
     {"  R10 = ", Register::kR10},
     {"  R11 = ", Register::kR11}},
    {{"R12 = ", Register::kR12},
     {"  R13 = ", Register::kR13},
     {"  R14 = ", Register::kR14},
     {"  R15 = ", Register::kR15}},
};

constexpr Field kReportRows[][kColumns] = {
    {{"RAX = ", Register::kRax},
     {"  CS = ", Register::kCs, 4},
     {"  RIP = ", Register::kRip},
     {"  Flags = ", Register::kFlags, 8}},
    {{"RBX = ", Register::kRbx},
     {"  SS = ", Register::kSs, 4},
     {"  RSP = ", Register::kRsp},
     {"    RBP = ", Register::kRbp}},
    {{"RCX = ", Register::kRcx},
     {"  DS = ", Register::kDs, 4},
     {"  RSI = ", Register::kRsi},
     {"    FS  = ", Register::kFs, 4}},
    {{"RDX = ", Register::kRdx},
     {"  ES = ", Register::kEs, 4},
     {"  RDI = ", Register::kRdi},
     {"    GS  = ", Register::kGs, 4}},
    {{"R8  = ", Register::kR8},
     {"  R9  = ", Register::kR9},
     {"  R10 = ", Register::kR10},
     {"  R11 = ", Register::kR11}},
    {{"R12 = ", Register::kR12},
     {"  R13 = ", Register::kR13},
     {"  R14 = ", Register::kR14},
     {"  R15 = ", Register::kR15}},
};

template <std::size_t kRowCount>
void AddRows(SignalSafeText& out, const RaiseRegisters& registers,
             const Field (&rows)[kRowCount][kColumns]) {
  for (const auto& row : rows) {
    for (const Field& field : row) {
      if (field.label == nullptr) {
        break;
      }
      out.Add(field.label);
      out.HexAtLeast(ValueOf(registers, field.which), field.digits);
    }
    out.Line();
  }
}

}  // namespace

RaiseRegisters RegistersOfContext(const ucontext_t& context) {
  RaiseRegisters r;
#if defined(__x86_64__)
  const greg_t* g = context.uc_mcontext.gregs;
  const auto at = [g](int index) { return static_cast<std::uint64_t>(g[index]); };
  r.rax = at(REG_RAX);
  r.rbx = at(REG_RBX);
  r.rcx = at(REG_RCX);
  r.rdx = at(REG_RDX);
  r.rsi = at(REG_RSI);
  r.rdi = at(REG_RDI);
  r.rbp = at(REG_RBP);
  r.rsp = at(REG_RSP);
  r.r8 = at(REG_R8);
  r.r9 = at(REG_R9);
  r.r10 = at(REG_R10);
  r.r11 = at(REG_R11);
  r.r12 = at(REG_R12);
  r.r13 = at(REG_R13);
  r.r14 = at(REG_R14);
  r.r15 = at(REG_R15);
  r.rip = at(REG_RIP);
  r.flags = at(REG_EFL);
  // CS, GS, FS and SS share one word, in that order from the lowest bits.
  const std::uint64_t segments = at(REG_CSGSFS);
  r.cs = static_cast<std::uint16_t>(segments);
  r.gs = static_cast<std::uint16_t>(segments >> 16);
  r.fs = static_cast<std::uint16_t>(segments >> 32);
  constexpr unsigned long kContextHasSs = 0x2;  // UC_SIGCONTEXT_SS of the kernel
  if ((context.uc_flags & kContextHasSs) != 0) {
    r.ss = static_cast<std::uint16_t>(segments >> 48);
  }
#else
  (void)context;
#endif
  return r;
}

void AddRegisterRows(SignalSafeText& out, const RaiseRegisters& registers, RegisterLayout layout) {
  out.Add("Registers:");
  out.Line();
  if (layout == RegisterLayout::kCrashRecord) {
    AddRows(out, registers, kCrashRows);
  } else {
    AddRows(out, registers, kReportRows);
  }
}

void AddCodeBytes(SignalSafeText& out, const char* title, const std::uint8_t* bytes) {
  out.Add(title);
  out.Line();
  for (int i = 0; i < kCodeBytes; ++i) {
    out.Hex(bytes[i], 2);
    out.Add(" ");
  }
  out.Line();
}

void AddStackWords(SignalSafeText& out, const std::uint64_t* words) {
  out.Add("Stack:");
  out.Line();
  for (int row = 0; row < kStackWords / 5; ++row) {
    for (int column = 0; column < 5; ++column) {
      out.Hex(words[row * 5 + column], 16);
      out.Add(" ");
    }
    out.Line();
  }
}

void AddCrashRegisters(SignalSafeText& out, const ucontext_t& context, const MemoryReader& memory) {
#if defined(__x86_64__)
  const RaiseRegisters registers = RegistersOfContext(context);
  AddRegisterRows(out, registers, RegisterLayout::kCrashRecord);
  // The bytes at the instruction and stack pointers, where they can be read.
  std::uint8_t code[kCodeBytes];
  if (memory.Read(registers.rip, code, sizeof code)) {
    AddCodeBytes(out, "Code at RIP", code);
  }
  std::uint64_t stack[kStackWords];
  if (memory.Read(registers.rsp, stack, sizeof stack)) {
    AddStackWords(out, stack);
  }
#else
  (void)out;
  (void)context;
  (void)memory;
#endif
}

}  // namespace vantrel
