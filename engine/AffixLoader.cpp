// SPDX-License-Identifier: GPL-3.0-or-later
#include "AffixLoader.h"

#include <utility>

namespace vantrel {

void AffixLoader::Prepare(std::unique_ptr<ByteSource> source, long long size) {
  Stop();
  prepared_ = std::move(source);
  size_ = size;
  stop_ = false;
  done_ = false;
  bytesRead_ = 0;
}

void AffixLoader::Begin() {
  if (prepared_ == nullptr) {
    return;
  }
  // The thread gets its alternate signal stack where every thread of the program does:
  // the crash handler takes over the start of each thread.
  thread_ = std::thread([this, source = std::move(prepared_)] {
    StoppableSource stoppable(*source, stop_, bytesRead_);
    read_ = std::make_unique<MainModel::ReadAffixTable>(MainModel::ReadAffixes(stoppable));
    done_.store(true, std::memory_order_release);
  });
}

void AffixLoader::Stop() {
  prepared_.reset();
  if (thread_.joinable()) {
    // The flag first: the thread sees it at its next read and ends there.
    stop_ = true;
    thread_.join();
  }
  read_.reset();
  done_ = false;
}

MainModel::ReadAffixTable AffixLoader::Take() {
  thread_.join();
  MainModel::ReadAffixTable read = std::move(*read_);
  read_.reset();
  done_ = false;
  return read;
}

}  // namespace vantrel
