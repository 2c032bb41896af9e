// SPDX-License-Identifier: GPL-3.0-or-later
// Every thread that a binary linked with the tracer starts has an alternate signal stack
// of its own for the time it runs.

#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <latch>
#include <string>
#include <thread>

#include "ThreadStacks.h"

namespace vantrel {
namespace {

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VANTREL_CHECKER_BUILD 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VANTREL_CHECKER_BUILD 1
#endif

TEST(ThreadStacks, AThreadRunsWithAnAlternateSignalStackOfItsOwn) {
#if defined(VANTREL_CHECKER_BUILD)
  GTEST_SKIP() << "the address and thread checkers give threads their stacks themselves";
#else
  stack_t seen[2]{};
  int result[2] = {-1, -1};
  for (int i = 0; i < 2; ++i) {
    std::thread([&, i] { result[i] = sigaltstack(nullptr, &seen[i]); }).join();
  }
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(result[i], 0);
    EXPECT_EQ(seen[i].ss_flags & SS_DISABLE, 0) << "thread " << i;
    EXPECT_EQ(seen[i].ss_size, kAlternateStackSize) << "thread " << i;
  }
  // A stack is the thread's alone: two threads that run at once never share one.
  stack_t together[2]{};
  std::latch bothRead(2);
  const auto look = [&](int i) {
    sigaltstack(nullptr, &together[i]);
    bothRead.arrive_and_wait();
  };
  std::thread first(look, 0);
  std::thread second(look, 1);
  first.join();
  second.join();
  EXPECT_NE(together[0].ss_sp, nullptr);
  EXPECT_NE(together[0].ss_sp, together[1].ss_sp);
#endif
}

// The number of the process's memory mappings.
[[maybe_unused]] int Mappings() {
  std::ifstream maps("/proc/self/maps");
  int lines = 0;
  for (std::string line; std::getline(maps, line);) {
    ++lines;
  }
  return lines;
}

// A program that starts threads all day (the affix loader starts one for each dictionary)
// gives each thread's stack back when the thread ends.
TEST(ThreadStacks, AnEndedThreadGivesItsStackBack) {
#if defined(VANTREL_CHECKER_BUILD)
  GTEST_SKIP() << "the address and thread checkers give threads their stacks themselves";
#else
  std::thread([] {}).join();  // the first thread's lasting set-up is not counted
  const int before = Mappings();
  for (int i = 0; i < 64; ++i) {
    std::thread([] {}).join();
  }
  // Allocators may keep an arena or two; one stack left behind per thread would be 64.
  EXPECT_LT(Mappings() - before, 8);
#endif
}

}  // namespace
}  // namespace vantrel
