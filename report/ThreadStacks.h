// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An alternate signal stack for every thread.
//
// What: ThreadStacks.cpp defines pthread_create itself. Every binary that links the tracer
// library gets this definition in place of the C library's (the library's link options
// make the linker take it even where nothing else asks for it): the program, and its
// tests and benchmarks too. Builds with the address or thread checker keep the C
// library's, since the checker keeps its own list of threads and gives them their own
// stacks.
//
// Why: a stack overflow leaves the faulting thread no stack to run the crash handler on,
// so without a stack of its own for signals the thread dies without a crash record. The
// program's threads are mostly started by the libraries it uses, so the start of every
// thread is taken over: the thread's own function runs with an alternate signal stack
// (kAlternateStackSize bytes, with a guard page below it) that is unmapped when the
// thread ends, also by pthread_exit or cancellation.
//
// How: the C library's pthread_create is found with dlsym(RTLD_NEXT, "pthread_create") on
// the first call, and every thread is started through it. Where it cannot be found, no
// thread is started (EAGAIN); where the small start record cannot be allocated, the
// thread starts as it would have without this.

#include <cstddef>

namespace vantrel {

// The size of each alternate signal stack: the crash handler's deepest step with room to
// spare.
inline constexpr std::size_t kAlternateStackSize = 64 * 1024;

}  // namespace vantrel
