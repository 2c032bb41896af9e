// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Searches a large dictionary on a thread of its own, so that the window answers, shows
// how far the search has got and can stop it, while a file of gigabytes is read. Plain
// C++: the window polls Done and BytesRead from its timer and takes what was found.

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "CellTable.h"
#include "Dictionary.h"
#include "Search.h"
#include "Status.h"

namespace vantrel {

class SearchRunner {
 public:
  // What a search found: the candidates in rows 1 up, the counts for the status line,
  // and the seconds it took.
  struct Found {
    CellTable candidates{2, kSearchRows};
    SearchCounts counts;
    Status result;
    double seconds = 0;
  };

  SearchRunner() = default;
  SearchRunner(const SearchRunner&) = delete;
  SearchRunner& operator=(const SearchRunner&) = delete;
  ~SearchRunner() { Stop(); }

  // Stops any search under way and searches source for number on a new thread. size is
  // the source's size in bytes, 0 when unknown.
  void Start(std::unique_ptr<ByteSource> source, long long size, std::string number,
             SearchMode mode);
  // Ends the search: the thread stops at its next read and is joined; what it found is
  // dropped. Nothing when no search is under way.
  void Stop();

  // True from Start until Stop or Take.
  bool Running() const { return thread_.joinable(); }
  // True once the thread has read the whole dictionary (or failed); then Take.
  bool Done() const { return done_.load(std::memory_order_acquire); }
  long long BytesRead() const { return bytesRead_.load(std::memory_order_relaxed); }
  long long Size() const { return size_; }
  // What the search found; only after Done. Joins the finished thread.
  Found Take();

 private:
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::atomic<long long> bytesRead_{0};
  long long size_ = 0;
  // Written by the thread before it sets done_, read only after that.
  std::unique_ptr<Found> found_;
};

}  // namespace vantrel
