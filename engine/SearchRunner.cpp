// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchRunner.h"

#include <chrono>
#include <utility>

namespace vantrel {

void SearchRunner::Start(std::unique_ptr<ByteSource> source, long long size, std::string number,
                         SearchMode mode) {
  Stop();
  size_ = size;
  stop_ = false;
  done_ = false;
  bytesRead_ = 0;
  thread_ = std::thread([this, source = std::move(source), number = std::move(number), mode] {
    const auto start = std::chrono::steady_clock::now();
    auto found = std::make_unique<Found>();
    StoppableSource stoppable(*source, stop_, bytesRead_);
    found->result = SearchCandidates(stoppable, number, mode, found->candidates, found->counts);
    found->seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    found_ = std::move(found);
    done_.store(true, std::memory_order_release);
  });
}

void SearchRunner::Stop() {
  if (thread_.joinable()) {
    // The flag first: the thread sees it at its next read and ends there.
    stop_ = true;
    thread_.join();
  }
  found_.reset();
  done_ = false;
}

SearchRunner::Found SearchRunner::Take() {
  thread_.join();
  Found found = std::move(*found_);
  found_.reset();
  done_ = false;
  return found;
}

}  // namespace vantrel
