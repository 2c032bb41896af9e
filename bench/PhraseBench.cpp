// SPDX-License-Identifier: GPL-3.0-or-later
// Picking a candidate and searching the free digits again, on the bundled English
// dictionary: what a person waits for after every click.

#include <benchmark/benchmark.h>

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

}  // namespace

BENCHMARK_MAIN();
