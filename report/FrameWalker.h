// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The return addresses of a broken state, found without the system's unwinder: the state
// may be too broken for it (a jump to a bad address, a stack pointer off its stack). Used
// inside a signal handler after the program broke, so everything here is
// async-signal-safe: no allocation, no locks, no stdio. Every word of the stack is read
// through a MemoryReader, so no address can fault.

#include <ucontext.h>

#include <cstdint>

#include "MemoryProbe.h"
#include "ProcMaps.h"

namespace vantrel {

// The instruction pointer of a signal's context; 0 without a context or on processors
// other than x86-64.
std::uintptr_t ContextPc(const ucontext_t* context);

// The instruction pointer, then the return address on top of the stack when the
// instruction pointer is no code (a call to a bad address has just pushed it), then the
// chain of frame pointers for as long as it climbs the stack and leads to code. Returns
// how many of frames (at most max) were filled; 0 without a context.
int WalkFrames(const ucontext_t* context, const ProcMaps& maps, const MemoryReader& memory,
               std::uintptr_t* frames, int max);

// Whether the system's unwinder can start from this state: the instruction pointer is
// code and the stack pointer can be read. True on processors other than x86-64, where
// nothing here can check it.
bool SaneState(const ucontext_t* context, const ProcMaps& maps, const MemoryReader& memory);

}  // namespace vantrel
