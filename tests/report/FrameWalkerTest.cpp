// SPDX-License-Identifier: GPL-3.0-or-later
// The walk over a broken stack, fed a hand-filled context, a hand-written list of
// mappings and memory laid out word by word.

#include <gtest/gtest.h>
#include <ucontext.h>

#include <cstdint>
#include <vector>

#include "CrashTestData.h"
#include "FrameWalker.h"

namespace vantrel {
namespace {

#if defined(__x86_64__)

constexpr std::uintptr_t kCode = 0x1100;     // inside the executable mapping
constexpr std::uintptr_t kData = 0x3100;     // inside a mapping that is no code
constexpr std::uintptr_t kNowhere = 0x9000;  // outside every mapping
constexpr std::uintptr_t kStackTop = 0x10000;
constexpr std::uintptr_t kPushed = 0x1800;  // the word at the stack pointer

ucontext_t Context(std::uintptr_t pc, std::uintptr_t sp, std::uintptr_t fp) {
  ucontext_t context{};
  context.uc_mcontext.gregs[REG_RIP] = static_cast<greg_t>(pc);
  context.uc_mcontext.gregs[REG_RSP] = static_cast<greg_t>(sp);
  context.uc_mcontext.gregs[REG_RBP] = static_cast<greg_t>(fp);
  return context;
}

// A stack with a word on top and three frames, each pointing up to the next.
FakeMemory Stack() {
  FakeMemory memory;
  memory.Put(kStackTop, kPushed);
  memory.Put(0x10100, 0x10200);
  memory.Put(0x10108, 0x1200);
  memory.Put(0x10200, 0x10300);
  memory.Put(0x10208, 0x1300);
  memory.Put(0x10300, 0);  // the outermost frame
  memory.Put(0x10308, 0x1400);
  return memory;
}

std::vector<std::uintptr_t> Walk(const ucontext_t& context, const FakeMemory& memory,
                                 int max = 100) {
  std::uintptr_t frames[100] = {};
  const int depth = WalkFrames(&context, WalkMaps(), memory, frames, max);
  return std::vector<std::uintptr_t>(frames, frames + depth);
}

struct PcRow {
  const char* name;
  std::uintptr_t pc;
  bool sane;
  std::vector<std::uintptr_t> frames;
};

void PrintTo(const PcRow& row, std::ostream* out) {
  *out << row.name;
}

class FrameWalkerPc : public ::testing::TestWithParam<PcRow> {};

// A pc that is no code came from a call to a bad address: the return address it pushed
// is on top of the stack and is the caller's frame.
TEST_P(FrameWalkerPc, TheWordOnTopOfTheStackCountsOnlyWhenThePcIsNoCode) {
  EXPECT_EQ(Walk(Context(GetParam().pc, kStackTop, 0x10100), Stack()), GetParam().frames);
}

TEST_P(FrameWalkerPc, TheSystemsUnwinderIsTrustedOnlyFromCode) {
  const ucontext_t context = Context(GetParam().pc, kStackTop, 0x10100);
  EXPECT_EQ(SaneState(&context, WalkMaps(), Stack()), GetParam().sane);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FrameWalkerPc,
    ::testing::Values(
        PcRow{"InsideExecutableMapping", kCode, true, {kCode, 0x1200, 0x1300, 0x1400}},
        PcRow{"InsideNonExecutableMapping", kData, false, {kData, kPushed, 0x1200, 0x1300, 0x1400}},
        PcRow{
            "OutsideEveryMapping", kNowhere, false, {kNowhere, kPushed, 0x1200, 0x1300, 0x1400}}));

TEST(FrameWalker, AnUnreadableStackPointerGivesNoWordAndNoSaneState) {
  const ucontext_t context = Context(kNowhere, 0x50000, 0x10100);
  EXPECT_EQ(Walk(context, Stack()),
            (std::vector<std::uintptr_t>{kNowhere, 0x1200, 0x1300, 0x1400}));
  const ucontext_t inCode = Context(kCode, 0x50000, 0x10100);
  EXPECT_FALSE(SaneState(&inCode, WalkMaps(), Stack()));
}

TEST(FrameWalker, TheChainStopsWhereItLeavesCodeOrStopsClimbing) {
  struct Row {
    const char* name;
    std::uintptr_t fp;
    std::uintptr_t savedFp, returnAddress;  // at fp
    std::vector<std::uintptr_t> frames;
  };
  const Row rows[] = {
      {"ReturnIntoData", 0x10050, 0x10200, kData, {kCode}},
      {"ReturnOutsideEveryMapping", 0x10050, 0x10200, kNowhere, {kCode}},
      {"ZeroReturn", 0x10050, 0x10200, 0, {kCode}},
      {"FramePointerGoesDown", 0x10050, 0x10040, 0x1500, {kCode, 0x1500}},
      {"FramePointerStaysPut", 0x10050, 0x10050, 0x1500, {kCode, 0x1500}},
      {"FramePointerLeapsTooFar", 0x10050, 0x10050 + 32 * 1024 * 1024, 0x1500, {kCode, 0x1500}},
      {"ChainGoesOn", 0x10050, 0x10200, 0x1500, {kCode, 0x1500, 0x1300, 0x1400}},
  };
  for (const Row& row : rows) {
    FakeMemory memory = Stack();
    memory.Put(row.fp, row.savedFp);
    memory.Put(row.fp + 8, row.returnAddress);
    EXPECT_EQ(Walk(Context(kCode, kStackTop, row.fp), memory), row.frames) << row.name;
  }
}

TEST(FrameWalker, AFramePointerThatCannotBeFollowedEndsTheWalk) {
  struct Row {
    const char* name;
    std::uintptr_t fp;
  };
  const Row rows[] = {{"Zero", 0}, {"Misaligned", 0x10404}, {"Unreadable", 0x60000}};
  for (const Row& row : rows) {
    // What a misaligned frame pointer would point at looks like a good frame.
    FakeMemory memory = Stack();
    memory.Put(0x10404, 0x10500);
    memory.Put(0x1040c, 0x1200);
    EXPECT_EQ(Walk(Context(kNowhere, kStackTop, row.fp), memory),
              (std::vector<std::uintptr_t>{kNowhere, kPushed}))
        << row.name;
  }
}

TEST(FrameWalker, NoMoreFramesThanAskedFor) {
  const ucontext_t context = Context(kNowhere, kStackTop, 0x10100);
  EXPECT_EQ(Walk(context, Stack(), 1), (std::vector<std::uintptr_t>{kNowhere}));
  EXPECT_EQ(Walk(context, Stack(), 3), (std::vector<std::uintptr_t>{kNowhere, kPushed, 0x1200}));
  EXPECT_TRUE(Walk(context, Stack(), 0).empty());
}

TEST(FrameWalker, WithoutAContextThereIsNothingToWalk) {
  std::uintptr_t frames[4] = {};
  EXPECT_EQ(WalkFrames(nullptr, WalkMaps(), Stack(), frames, 4), 0);
  EXPECT_FALSE(SaneState(nullptr, WalkMaps(), Stack()));
  EXPECT_EQ(ContextPc(nullptr), 0u);
  const ucontext_t context = Context(kCode, kStackTop, 0);
  EXPECT_EQ(ContextPc(&context), kCode);
}

#else

TEST(FrameWalker, WalksOnX86_64Only) {
  GTEST_SKIP() << "the walk reads x86-64 registers";
}

#endif

}  // namespace
}  // namespace vantrel
