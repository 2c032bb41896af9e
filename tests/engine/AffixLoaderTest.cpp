// SPDX-License-Identifier: GPL-3.0-or-later
// The affix table read on a thread of its own: whole, stopped in the middle, stopped
// before it began, and prepared again while a load runs.
#include "AffixLoader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace vantrel {
namespace {

// A dictionary of many lines, one ending every 1000 lines, that holds still once
// holdAt bytes are read until the test lets it go on; total bytes in all.
class HeldSource final : public ByteSource {
 public:
  HeldSource(long long total, long long holdAt) : total_(total), holdAt_(holdAt) {}

  long Read(char* buffer, std::size_t size) override {
    if (given_ >= holdAt_ && !released_) {
      held_ = true;
      while (!released_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }
    if (given_ >= total_) {
      return 0;
    }
    std::size_t n = 0;
    while (n + kLine.size() <= size &&
           given_ + static_cast<long long>(n + kLine.size()) <= total_) {
      const std::string_view line = (++lines_ % 1000 == 2) ? kEnding : kLine;
      std::memcpy(buffer + n, line.data(), line.size());
      n += line.size();
      if (n + kLine.size() > 65536) {
        break;
      }
    }
    given_ += static_cast<long long>(n);
    return static_cast<long>(n);
  }

  std::atomic<bool> held_{false};
  std::atomic<bool> released_{false};

 private:
  static constexpr std::string_view kLine = "4357,help,B\r\n";
  static constexpr std::string_view kEnding = "464,-ing,B\r\n";
  long long total_;
  long long holdAt_;
  long long given_ = 0;
  long long lines_ = 0;
};

// Waits until done() holds; the tests' timeout ends a wait that never ends.
template <typename Done>
void WaitUntil(const Done& done) {
  while (!done()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

TEST(AffixLoaderTest, ReadsTheWholeTableOnItsThreadAndHandsItOver) {
  AffixLoader loader;
  EXPECT_FALSE(loader.Active());
  loader.Begin();  // nothing prepared: nothing happens
  EXPECT_FALSE(loader.Active());

  auto source = std::make_unique<HeldSource>(1 << 20, 1LL << 40);
  loader.Prepare(std::move(source), 1 << 20);
  EXPECT_TRUE(loader.Active());
  EXPECT_FALSE(loader.Done());
  EXPECT_EQ(loader.Size(), 1 << 20);
  EXPECT_EQ(loader.BytesRead(), 0);  // nothing is read before Begin
  loader.Begin();
  loader.Begin();  // a second Begin starts no second thread
  WaitUntil([&] { return loader.Done(); });
  EXPECT_GT(loader.BytesRead(), (1 << 20) - 14);
  EXPECT_LE(loader.BytesRead(), 1 << 20);
  const MainModel::ReadAffixTable read = loader.Take();
  EXPECT_TRUE(read.result.IsOk()) << read.result.Reason();
  ASSERT_GE(read.table.AffixLast, 0);
  EXPECT_EQ(read.table[0].Word, "-ing");
  EXPECT_FALSE(loader.Done());
  EXPECT_FALSE(loader.Active());
}

TEST(AffixLoaderTest, AStopEndsTheReadingInTheMiddle) {
  constexpr long long kTotal = 64LL << 20;
  constexpr long long kHold = 8LL << 20;
  AffixLoader loader;
  auto owned = std::make_unique<HeldSource>(kTotal, kHold);
  HeldSource& source = *owned;
  loader.Prepare(std::move(owned), kTotal);
  loader.Begin();
  WaitUntil([&] { return source.held_.load(); });
  EXPECT_TRUE(loader.Active());
  EXPECT_FALSE(loader.Done());
  // Let the reading go on while the stop is on its way: it must end at the next read.
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    source.released_ = true;
  });
  loader.Stop();
  release.join();
  EXPECT_LT(loader.BytesRead(), kTotal / 2);
  EXPECT_FALSE(loader.Active());
  EXPECT_FALSE(loader.Done());
}

TEST(AffixLoaderTest, AStopBeforeTheBeginAndANewPrepareLeaveNothingRunning) {
  AffixLoader loader;
  loader.Prepare(std::make_unique<HeldSource>(1 << 20, 1LL << 40), 1 << 20);
  loader.Stop();
  EXPECT_FALSE(loader.Active());
  loader.Begin();  // stopped before it began: nothing to begin
  EXPECT_FALSE(loader.Active());
  EXPECT_EQ(loader.BytesRead(), 0);

  // Prepared again while a load is held in the middle: the first stops, the second reads
  // its own dictionary from the start.
  auto firstOwned = std::make_unique<HeldSource>(64LL << 20, 1 << 20);
  HeldSource& first = *firstOwned;
  loader.Prepare(std::move(firstOwned), 64LL << 20);
  loader.Begin();
  WaitUntil([&] { return first.held_.load(); });
  first.released_ = true;
  loader.Prepare(std::make_unique<HeldSource>(1 << 16, 1LL << 40), 1 << 16);
  EXPECT_EQ(loader.BytesRead(), 0);
  EXPECT_EQ(loader.Size(), 1 << 16);
  loader.Begin();
  WaitUntil([&] { return loader.Done(); });
  EXPECT_LE(loader.BytesRead(), 1 << 16);
  EXPECT_TRUE(loader.Take().result.IsOk());
}

}  // namespace
}  // namespace vantrel
