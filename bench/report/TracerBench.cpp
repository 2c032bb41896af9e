// SPDX-License-Identifier: GPL-3.0-or-later
// What the error tracer costs: the search of a number with and without the tracer
// recording, and a throw caught a few calls up, which is what the tracer adds its stack
// walk to. Both variants of each run in one process, so their ratio is measured under the
// same conditions.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "Dictionary.h"
#include "DictionaryGen.h"
#include "ErrorTracer.h"
#include "Search.h"

namespace {

vantrel::TErrorTracer& Tracer() {
  static vantrel::TErrorTracer tracer;
  return tracer;
}

const std::string& Dictionary() {
  static const std::string path = [] {
    const char* dir = std::getenv("VANTREL_BENCH_DIR");
    return vantrel::bench::GenerateDictionary(
        std::string(dir != nullptr ? dir : "/tmp") + "/vantrel-bench-20mb.txt", 20u << 20);
  }();
  return path;
}

void BM_Search(benchmark::State& state) {
  Tracer().SetRecording(state.range(0) != 0);
  const std::string& path = Dictionary();
  vantrel::CellTable candidates(2, vantrel::kSearchRows);
  for (auto _ : state) {
    auto source = vantrel::OpenFileSource(path);
    vantrel::SearchCounts counts;
    vantrel::SearchCandidates(*source, "1-800-356-9377 228 4357", vantrel::SearchMode::kAnyPoint,
                              candidates, counts);
    benchmark::DoNotOptimize(counts.matches);
  }
  Tracer().SetRecording(true);
}
BENCHMARK(BM_Search)->ArgName("tracer")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

__attribute__((noinline)) int Raise(int depth) {
  if (depth == 0) {
    throw std::runtime_error("bench");
  }
  const int below = Raise(depth - 1);
  benchmark::DoNotOptimize(below);
  return below + 1;
}

void BM_ThrowAndCatch(benchmark::State& state) {
  Tracer().SetRecording(state.range(0) != 0);
  for (auto _ : state) {
    try {
      Raise(10);
    } catch (const std::runtime_error& error) {
      benchmark::DoNotOptimize(&error);
    }
  }
  Tracer().SetRecording(true);
}
BENCHMARK(BM_ThrowAndCatch)->ArgName("tracer")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
