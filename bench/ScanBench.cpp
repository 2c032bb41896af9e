// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary scan of a search against the machine's limit: a plain memchr count of
// the line ends of the same file, read the same way. Run both in one process so that
// the ratio of their throughputs is measured under the same conditions.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include "Dictionary.h"
#include "DictionaryGen.h"
#include "Search.h"

namespace {

const std::string& BigDictionary() {
  static const std::string path = [] {
    const char* dir = std::getenv("VANTREL_BENCH_DIR");
    return vantrel::bench::GenerateDictionary(
        std::string(dir != nullptr ? dir : "/tmp") + "/vantrel-bench-100mb.txt", 100u << 20);
  }();
  return path;
}

std::size_t FileSize(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  const off_t size = ::lseek(fd, 0, SEEK_END);
  ::close(fd);
  return static_cast<std::size_t>(size);
}

std::size_t CountLineEnds(const std::string& path, char* buffer, std::size_t size) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  std::size_t lines = 0;
  ssize_t got;
  while ((got = ::read(fd, buffer, size)) > 0) {
    const char* p = buffer;
    const char* end = p + got;
    while ((p = static_cast<const char*>(
                std::memchr(p, '\r', static_cast<std::size_t>(end - p)))) != nullptr) {
      ++lines;
      ++p;
    }
  }
  ::close(fd);
  return lines;
}

void BM_MemchrLineEnds(benchmark::State& state) {
  const std::string& path = BigDictionary();
  constexpr std::size_t kBuffer = vantrel::detail::ScanBuffer::kSize;
  std::unique_ptr<char[]> buffer(new char[kBuffer]);
  for (auto _ : state) {
    benchmark::DoNotOptimize(CountLineEnds(path, buffer.get(), kBuffer));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileSize(path)));
}
BENCHMARK(BM_MemchrLineEnds)->Unit(benchmark::kMillisecond);

void BM_Search(benchmark::State& state) {
  const std::string& path = BigDictionary();
  const auto mode = static_cast<vantrel::SearchMode>(state.range(0));
  vantrel::CellTable candidates(2, vantrel::kSearchRows);
  int matches = 0;
  for (auto _ : state) {
    auto source = vantrel::OpenFileSource(path);
    vantrel::SearchCounts counts;
    vantrel::SearchCandidates(*source, "1-800-356-9377 228 4357", mode, candidates, counts);
    matches = counts.matches;
  }
  state.counters["matches"] = matches;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileSize(path)));
}
BENCHMARK(BM_Search)
    ->Arg(static_cast<int>(vantrel::SearchMode::kAnyPoint))
    ->Arg(static_cast<int>(vantrel::SearchMode::kLeft))
    ->Arg(static_cast<int>(vantrel::SearchMode::kRight))
    ->Unit(benchmark::kMillisecond);

// The two turn about in one loop, so that the ratio of their speeds (the search's
// share of the memchr count's speed, higher is better) sees the same machine load.
void BM_SearchSpeedPerMemchrSpeed(benchmark::State& state) {
  const std::string& path = BigDictionary();
  constexpr std::size_t kBuffer = vantrel::detail::ScanBuffer::kSize;
  std::unique_ptr<char[]> buffer(new char[kBuffer]);
  vantrel::CellTable candidates(2, vantrel::kSearchRows);
  double memchrSeconds = 0;
  double searchSeconds = 0;
  auto cpu = [] {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
  };
  for (auto _ : state) {
    const double t0 = cpu();
    benchmark::DoNotOptimize(CountLineEnds(path, buffer.get(), kBuffer));
    const double t1 = cpu();
    auto source = vantrel::OpenFileSource(path);
    vantrel::SearchCounts counts;
    vantrel::SearchCandidates(*source, "1-800-356-9377 228 4357", vantrel::SearchMode::kAnyPoint,
                              candidates, counts);
    const double t2 = cpu();
    memchrSeconds += t1 - t0;
    searchSeconds += t2 - t1;
  }
  state.counters["search_per_memchr_speed"] = memchrSeconds / searchSeconds;
}
BENCHMARK(BM_SearchSpeedPerMemchrSpeed)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
