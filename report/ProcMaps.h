// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process's list of mappings as the kernel gives it in /proc/self/maps, read into a
// buffer before the crash record needs it and looked up from there: which module holds an
// address, at which offset of its file, and whether the address is code. Used inside a
// signal handler after the program broke, so everything here is async-signal-safe (no
// allocation, no locks, no stdio); the lookups only read the buffer they are given.

#include <cstddef>
#include <cstdint>

#include "SignalSafeText.h"

namespace vantrel {

// Reads /proc/self/maps into buffer, cut after the last whole line: a list longer than
// the buffer loses its end, never the end of a line. Returns the bytes kept (0 when the
// list cannot be read).
std::size_t ReadOwnMaps(char* buffer, std::size_t capacity);

// A number in lower-case hexadecimal, as the list writes it, from p up to the first other
// character (or end); p is left there.
std::uint64_t ParseHex(const char*& p, const char* end);

// One line of the list: "start-stop perms offset dev inode   path".
struct Mapping {
  std::uint64_t start = 0;
  std::uint64_t stop = 0;    // the first address after the mapping
  std::uint64_t offset = 0;  // of start in the mapped file
  bool executable = false;
  const char* name = nullptr;  // the file name without folder, up to nameEnd; null without
  const char* nameEnd = nullptr;
};

class ProcMaps {
 public:
  // text holds whole lines, each ending in '\n'; an unfinished last line is not looked at.
  ProcMaps(const char* text, std::size_t size) : text_(text), size_(size) {}

  // The mapping that holds address; false, and found untouched, when none does.
  bool Find(std::uint64_t address, Mapping& found) const;

  // Whether address lies in a mapping that may be executed.
  bool IsCode(std::uint64_t address) const;

  // " [module] +offset" for an address: the offset is the one in the module's file, which
  // is what a debugger is given; " []" for an address outside every mapping.
  void AddModule(SignalSafeText& out, std::uint64_t address) const;

 private:
  const char* text_;
  std::size_t size_;
};

}  // namespace vantrel
