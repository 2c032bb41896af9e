// SPDX-License-Identifier: GPL-3.0-or-later
// The memory probe reads what is there and refuses, without a fault, what is not: through
// the kernel's copy, and through the pipe where a sandbox forbids that copy.

#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "MemoryProbe.h"

namespace vantrel {
namespace {

// What the probe got wrong, one bit each: a mapped range not read or read wrong (1), a
// range across the end of a mapping read (2), an unmapped page read (4), an address near
// zero read (8), and a mapped range read wrong after those refusals (16).
int WrongAnswers() {
  int wrong = 0;
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  void* area = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (area == MAP_FAILED) {
    return 255;
  }
  auto* bytes = static_cast<unsigned char*>(area);
  for (std::size_t i = 0; i < page; ++i) {
    bytes[i] = static_cast<unsigned char>(i * 7);
  }
  munmap(bytes + page, page);  // the second page is gone
  const auto base = reinterpret_cast<std::uintptr_t>(bytes);

  unsigned char copy[64];
  if (!ReadOwnMemory(base + page - sizeof copy, copy, sizeof copy) ||
      std::memcmp(copy, bytes + page - sizeof copy, sizeof copy) != 0) {
    wrong |= 1;
  }
  if (ReadOwnMemory(base + page - 8, copy, sizeof copy)) {
    wrong |= 2;
  }
  if (ReadOwnMemory(base + page, copy, sizeof copy)) {
    wrong |= 4;
  }
  if (ReadOwnMemory(16, copy, sizeof copy)) {
    wrong |= 8;
  }
  if (!ReadOwnMemory(base, copy, sizeof copy) || std::memcmp(copy, bytes, sizeof copy) != 0) {
    wrong |= 16;
  }
  munmap(bytes, page);
  return wrong;
}

TEST(MemoryProbe, ReadsMappedMemoryAndRefusesARangeThatLeavesIt) {
  PrepareMemoryProbe();
  PrepareMemoryProbe();  // a second call keeps the first pipe
  EXPECT_EQ(WrongAnswers(), 0);

  const OwnMemory memory;
  const std::uint64_t word = 0x0123456789ABCDEFULL;
  std::uint64_t read = 0;
  EXPECT_TRUE(memory.Read(reinterpret_cast<std::uintptr_t>(&word), &read, sizeof read));
  EXPECT_EQ(read, word);
  EXPECT_FALSE(memory.Read(16, &read, sizeof read));
}

// A sandbox that forbids process_vm_readv (as some container runtimes do) leaves the pipe:
// the answers are the same. The child runs under a filter that fails that call with EPERM.
TEST(MemoryProbe, WhereTheKernelsCopyIsForbiddenThePipeAnswersTheSame) {
  PrepareMemoryProbe();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_process_vm_readv, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EPERM & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
      _exit(254);
    }
    // The filter is in place: the kernel's copy fails as in the sandbox.
    char byte = 0;
    iovec local{&byte, 1};
    iovec remote{&byte, 1};
    if (syscall(SYS_process_vm_readv, getpid(), &local, 1, &remote, 1, 0) != -1 || errno != EPERM) {
      _exit(253);
    }
    _exit(WrongAnswers());
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 254) {
    GTEST_SKIP() << "this system allows no seccomp filter, so no sandbox can be made";
  }
  EXPECT_EQ(WEXITSTATUS(status), 0) << "253: the filter did not take";
}

}  // namespace
}  // namespace vantrel
