// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads memory of this process that may not be there without touching it: the kernel
// copies it, and an address that is not mapped gives an error, not a fault. Both the crash
// record (inside a signal handler) and the error report (for the code at a raise) read
// through it, so it is async-signal-safe: no allocation, no locks, no stdio.

#include <cstddef>
#include <cstdint>

namespace vantrel {

// Opens the pipe that stands in where the kernel refuses process_vm_readv (an older
// kernel, or a sandbox that forbids it). Called once, before a crash can need it; without
// it only process_vm_readv is tried.
void PrepareMemoryProbe();

// Copies count bytes at address when the whole range lies in readable memory of the
// process; false otherwise.
bool ReadOwnMemory(std::uintptr_t address, void* out, std::size_t count);

// Where a walk over a broken stack reads its words: the process's own memory through the
// probe, or, in a test, words laid out by hand.
class MemoryReader {
 public:
  virtual bool Read(std::uintptr_t address, void* out, std::size_t count) const = 0;

 protected:
  ~MemoryReader() = default;
};

class OwnMemory final : public MemoryReader {
 public:
  bool Read(std::uintptr_t address, void* out, std::size_t count) const override {
    return ReadOwnMemory(address, out, count);
  }
};

}  // namespace vantrel
