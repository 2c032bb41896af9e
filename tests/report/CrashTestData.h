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

// Memory laid out byte by byte, at any address; a read of a range with a byte that was
// never put there fails.
class FakeMemory final : public MemoryReader {
 public:
  void Put(std::uintptr_t address, std::uint64_t word) {
    std::uint8_t bytes[sizeof word];
    std::memcpy(bytes, &word, sizeof word);
    PutBytes(address, bytes, sizeof bytes);
  }
  void PutBytes(std::uintptr_t address, const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      bytes_[address + i] = bytes[i];
    }
  }

  bool Read(std::uintptr_t address, void* out, std::size_t count) const override {
    for (std::size_t i = 0; i < count; ++i) {
      const auto byte = bytes_.find(address + i);
      if (byte == bytes_.end()) {
        return false;
      }
      static_cast<std::uint8_t*>(out)[i] = byte->second;
    }
    return true;
  }

 private:
  std::map<std::uintptr_t, std::uint8_t> bytes_;
};

}  // namespace vantrel
