// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The register lines of both writers: the crash record (from the context of a fatal
// signal) and the error report (from the registers kept at a raise). Each has its own
// layout of rows; the rows, the bytes at the instruction pointer and the words at the
// stack pointer are written by the same code. The crash record is written inside a signal
// handler, so everything here is async-signal-safe: no allocation, no locks, no stdio.

#include <ucontext.h>

#include <cstdint>

#include "MemoryProbe.h"
#include "SignalSafeText.h"

namespace vantrel {

// The processor state at a raise or a fault. On x86-64 every general register; elsewhere
// zeros.
struct RaiseRegisters {
  std::uint64_t rax = 0, rbx = 0, rcx = 0, rdx = 0, rsi = 0, rdi = 0, rbp = 0, rsp = 0;
  std::uint64_t r8 = 0, r9 = 0, r10 = 0, r11 = 0, r12 = 0, r13 = 0, r14 = 0, r15 = 0;
  std::uint64_t rip = 0, flags = 0;
  std::uint16_t cs = 0, ss = 0, ds = 0, es = 0, fs = 0, gs = 0;
};

inline constexpr int kStackWords = 20;
inline constexpr int kCodeBytes = 16;

// The registers of a signal's context. The kernel keeps no DS and ES there, and SS only
// on kernels that say so (UC_SIGCONTEXT_SS); those stay 0.
RaiseRegisters RegistersOfContext(const ucontext_t& context);

enum class RegisterLayout {
  kCrashRecord,  // the general registers, RIP and the flags, all of 16 digits
  kErrorReport,  // the segment registers too, the flags of 8 digits
};

// "Registers:" and the rows of the layout, each line ended by the record's line break.
void AddRegisterRows(SignalSafeText& out, const RaiseRegisters& registers, RegisterLayout layout);

// A title line, then kCodeBytes bytes of two digits, each followed by a space.
void AddCodeBytes(SignalSafeText& out, const char* title, const std::uint8_t* bytes);

// "Stack:", then kStackWords words of 16 digits, five to a line, each followed by a space.
void AddStackWords(SignalSafeText& out, const std::uint64_t* words);

// The crash record's register part: the rows, then the code at RIP and the stack at RSP
// where memory lets them be read. Nothing on processors other than x86-64.
void AddCrashRegisters(SignalSafeText& out, const ucontext_t& context, const MemoryReader& memory);

}  // namespace vantrel
