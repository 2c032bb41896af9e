// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the crash record's pieces read, laid out by hand: a list of mappings in the form of
// /proc/self/maps, and memory whose words are known.

#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "MemoryProbe.h"
#include "ProcMaps.h"

namespace vantrel {

// Code at 0x1000-0x2000 (file offset 0x3000), data at 0x3000-0x4000, a stack at
// 0x10000-0x20000; nothing between them.
inline constexpr char kWalkMaps[] =
    "00001000-00002000 r-xp 00003000 08:02 11   /usr/lib/libwalk.so\n"
    "00003000-00004000 rw-p 00000000 08:02 11   /usr/lib/libwalk.so\n"
    "00010000-00020000 rw-p 00000000 00:00 0    [stack]\n";

inline ProcMaps WalkMaps() {
  return ProcMaps(kWalkMaps, sizeof kWalkMaps - 1);
}

// Memory of whole words at addresses divisible by 8; any other read fails.
class FakeMemory final : public MemoryReader {
 public:
  void Put(std::uintptr_t address, std::uint64_t word) { words_[address] = word; }
  void PutBytes(std::uintptr_t address, const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; i += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, bytes + i, 8);
      Put(address + i, word);
    }
  }

  bool Read(std::uintptr_t address, void* out, std::size_t count) const override {
    if (address % 8 != 0 || count % 8 != 0) {
      return false;
    }
    for (std::size_t i = 0; i < count; i += 8) {
      const auto word = words_.find(address + i);
      if (word == words_.end()) {
        return false;
      }
      std::memcpy(static_cast<char*>(out) + i, &word->second, 8);
    }
    return true;
  }

 private:
  std::map<std::uintptr_t, std::uint64_t> words_;
};

}  // namespace vantrel
