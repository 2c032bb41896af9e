// SPDX-License-Identifier: GPL-3.0-or-later
// The memory probe reads what is there and refuses, without a fault, what is not.

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "MemoryProbe.h"

namespace vantrel {
namespace {

TEST(MemoryProbe, ReadsMappedMemoryAndRefusesARangeThatLeavesIt) {
  PrepareMemoryProbe();
  PrepareMemoryProbe();  // a second call keeps the first pipe
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  void* area = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(area, MAP_FAILED);
  auto* bytes = static_cast<unsigned char*>(area);
  for (std::size_t i = 0; i < page; ++i) {
    bytes[i] = static_cast<unsigned char>(i * 7);
  }
  ASSERT_EQ(munmap(bytes + page, page), 0);  // the second page is gone
  const auto base = reinterpret_cast<std::uintptr_t>(bytes);

  unsigned char copy[64];
  ASSERT_TRUE(ReadOwnMemory(base + page - sizeof copy, copy, sizeof copy));
  EXPECT_EQ(std::memcmp(copy, bytes + page - sizeof copy, sizeof copy), 0);

  struct Row {
    const char* name;
    std::uintptr_t address;
  };
  for (const Row row : {Row{"AcrossTheEndOfTheMapping", base + page - 8},
                        Row{"InTheUnmappedPage", base + page}, Row{"NearZero", 16}}) {
    EXPECT_FALSE(ReadOwnMemory(row.address, copy, sizeof copy)) << row.name;
  }
  munmap(bytes, page);

  const OwnMemory memory;
  const std::uint64_t word = 0x0123456789ABCDEFULL;
  std::uint64_t read = 0;
  EXPECT_TRUE(memory.Read(reinterpret_cast<std::uintptr_t>(&word), &read, sizeof read));
  EXPECT_EQ(read, word);
  EXPECT_FALSE(memory.Read(16, &read, sizeof read));
}

}  // namespace
}  // namespace vantrel
