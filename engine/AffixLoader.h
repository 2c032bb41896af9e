// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a dictionary's affix table on a thread of its own, so that a window stays
// responsive while a large dictionary loads. Plain C++: the window polls Progress and
// Done from its timer and takes the table when it is read.
//
// A load is prepared with the opened dictionary (Prepare) and begins when the window is
// ready for it (Begin: after the first paint, so that the window shows at once); Stop
// ends it at any time, returning within one read of the source.

#include <atomic>
#include <memory>
#include <thread>

#include "Dictionary.h"
#include "MainModel.h"

namespace vantrel {

class AffixLoader {
 public:
  AffixLoader() = default;
  AffixLoader(const AffixLoader&) = delete;
  AffixLoader& operator=(const AffixLoader&) = delete;
  ~AffixLoader() { Stop(); }

  // Stops any load under way and keeps source for Begin. size is the dictionary's size in
  // bytes, 0 when unknown.
  void Prepare(std::unique_ptr<ByteSource> source, long long size);
  // Starts the thread of the prepared load; nothing when there is none (begun already or
  // stopped before it began).
  void Begin();
  // Ends the load: the thread stops at its next read and is joined; its table is
  // dropped.
  void Stop();

  // True while a load is prepared or under way and its table not yet taken.
  bool Active() const { return prepared_ != nullptr || thread_.joinable(); }
  // True once the thread has read the whole table (or failed); then Take.
  bool Done() const { return done_.load(std::memory_order_acquire); }
  long long BytesRead() const { return bytesRead_.load(std::memory_order_relaxed); }
  long long Size() const { return size_; }
  // The table read; only after Done. Joins the finished thread.
  MainModel::ReadAffixTable Take();

 private:
  std::unique_ptr<ByteSource> prepared_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::atomic<long long> bytesRead_{0};
  long long size_ = 0;
  // Written by the thread before it sets done_, read only after that.
  std::unique_ptr<MainModel::ReadAffixTable> read_;
};

}  // namespace vantrel
