// SPDX-License-Identifier: GPL-3.0-or-later
// Picking a candidate and searching the free digits again, on the bundled English
// dictionary: what a person waits for after every click.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "MainModel.h"

namespace {

class QuietHost final : public vantrel::MainHost {
 public:
  void Warn(const vantrel::Message&) override { ++warnings; }
  int warnings = 0;
};

void BM_PickAndSearch(benchmark::State& state) {
  vantrel::DictionaryFile dictionary;
  dictionary.Bind(VANTREL_ENGLISH);
  dictionary.name = VANTREL_ENGLISH;
  QuietHost host;
  vantrel::MainModel model(dictionary, host);
  model.LoadAffixes();
  for (auto _ : state) {
    state.PauseTiming();
    model.ResumeNumber();
    model.TypeNumber("18003569377");
    model.Search();
    int row = 1;
    while (model.Candidates().Cell(0, row) != "flowers" && row < vantrel::kMaxCandidates) {
      ++row;
    }
    state.ResumeTiming();
    model.ChooseCandidate(row);  // inserts, rebuilds the phrase and searches again
  }
  if (host.warnings != 0 || model.EntryText() != "1800\x95\x95\x95\x95\x95\x95\x95") {
    state.SkipWithError("the bundled dictionary did not give flowers");
  }
}
BENCHMARK(BM_PickAndSearch)->Unit(benchmark::kMillisecond);

void BM_SearchBundled(benchmark::State& state) {
  vantrel::DictionaryFile dictionary;
  dictionary.Bind(VANTREL_ENGLISH);
  dictionary.name = VANTREL_ENGLISH;
  QuietHost host;
  vantrel::MainModel model(dictionary, host);
  model.SetEntryText("18003569377");
  for (auto _ : state) {
    model.Search();
  }
}
BENCHMARK(BM_SearchBundled)->Unit(benchmark::kMillisecond);

// A dictionary of 64 MB: the bundled English one repeated, in a file of its own.
class LargeDictionary {
 public:
  LargeDictionary() {
    char name[] = "/tmp/vantrel-bench-XXXXXX";
    const int fd = ::mkstemp(name);
    path_ = name;
    std::FILE* in = std::fopen(VANTREL_ENGLISH, "rb");
    std::string bytes;
    char buffer[1 << 16];
    for (std::size_t n; in != nullptr && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) {
      bytes.append(buffer, n);
    }
    if (in != nullptr) {
      std::fclose(in);
    }
    for (long long written = 0; fd >= 0 && !bytes.empty() && written < (64LL << 20);) {
      const ssize_t n = ::write(fd, bytes.data(), bytes.size());
      if (n <= 0) {
        break;
      }
      written += n;
    }
    if (fd >= 0) {
      ::close(fd);
    }
  }
  ~LargeDictionary() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The main window's engine on the large dictionary, the number typed.
struct LargeSearch {
  LargeSearch() {
    dictionary.Bind(large.Path());
    dictionary.name = large.Path();
    model.SetEntryText("18003569377");
  }
  const LargeDictionary large;
  vantrel::DictionaryFile dictionary;
  QuietHost host;
  vantrel::MainModel model{dictionary, host};
};

// What the window waits for when a search of a large dictionary begins: the search itself
// runs on a thread of its own.
void BM_LargeSearchHoldsTheWindow(benchmark::State& state) {
  LargeSearch large;
  vantrel::MainModel& model = large.model;
  for (auto _ : state) {
    model.Search();
    state.PauseTiming();
    if (!model.Searching()) {
      state.SkipWithError("the large dictionary was searched on the window's thread");
      break;
    }
    model.StopSearch();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LargeSearchHoldsTheWindow)->Unit(benchmark::kMicrosecond);

// The whole search of the large dictionary, polled as the window's timer does.
void BM_LargeSearchToTheEnd(benchmark::State& state) {
  LargeSearch large;
  vantrel::MainModel& model = large.model;
  for (auto _ : state) {
    model.Search();
    while (model.PollSearch()) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }
  if (large.host.warnings != 0 || model.Candidates().Cell(0, 1).empty()) {
    state.SkipWithError("the large dictionary gave no candidates");
  }
}
BENCHMARK(BM_LargeSearchToTheEnd)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
