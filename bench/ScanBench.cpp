// The dictionary scan of a search against the machine's limit: a plain memchr count of
// the line ends of the same file, read the same way. Run both in one process so that
// the ratio of their throughputs is measured under the same conditions.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
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

void BM_MemchrLineEnds(benchmark::State& state) {
  const std::string& path = BigDictionary();
  constexpr std::size_t kBuffer = vantrel::detail::ScanBuffer::kSize;
  std::unique_ptr<char[]> buffer(new char[kBuffer]);
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::size_t lines = 0;
    ssize_t got;
    while ((got = ::read(fd, buffer.get(), kBuffer)) > 0) {
      const char* p = buffer.get();
      const char* end = p + got;
      while ((p = static_cast<const char*>(
                  std::memchr(p, '\r', static_cast<std::size_t>(end - p)))) != nullptr) {
        ++lines;
        ++p;
      }
    }
    ::close(fd);
    benchmark::DoNotOptimize(lines);
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

}  // namespace

BENCHMARK_MAIN();
