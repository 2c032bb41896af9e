// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-number suggestions on the bundled English and German dictionaries, and the whole
// vantrel-cli suggest process against a plain search of the same number: suggestions
// should cost at most twice a search. Both processes run in the same benchmark, turn
// about, so that their ratio is measured under the same conditions.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "Dictionary.h"
#include "Suggest.h"

extern char** environ;

namespace {

const std::string kEnglish = VANTREL_SHARE "/Vantrel Dictionary.txt";
const std::string kGerman = VANTREL_SHARE "/Vantrel Deutsch.txt";
const std::string kFlowers = "18003569377";
const std::string kTwos(14, '2');

void RunSuggest(benchmark::State& state, const std::string& path, const std::string& number) {
  std::size_t found = 0;
  for (auto _ : state) {
    auto source = vantrel::OpenFileSource(path);
    if (source == nullptr) {
      state.SkipWithError("the bundled dictionary is missing");
      return;
    }
    std::vector<vantrel::Suggestion> out;
    vantrel::Suggest(*source, number, vantrel::kDefaultSuggestions, out);
    found = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["suggestions"] = static_cast<double>(found);
}

BENCHMARK_CAPTURE(RunSuggest, english_flowers, kEnglish, kFlowers)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunSuggest, english_14_twos, kEnglish, kTwos)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunSuggest, german_flowers, kGerman, kFlowers)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunSuggest, german_14_twos, kGerman, kTwos)->Unit(benchmark::kMillisecond);

// Seconds that one vantrel-cli run takes, output thrown away; negative on failure.
double TimeCli(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string program = VANTREL_CLI;
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (std::string& arg : copies) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return -1;
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void CliSuggestAgainstSearch(benchmark::State& state, const std::string& path,
                             const std::string& number) {
  double search = 0;
  double suggest = 0;
  for (auto _ : state) {
    const double a = TimeCli({"search", "--dictionary", path, "--", number});
    const double b = TimeCli({"suggest", "--dictionary", path, "--", number});
    if (a < 0 || b < 0) {
      state.SkipWithError("vantrel-cli failed");
      return;
    }
    search += a;
    suggest += b;
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["search_ms"] = 1000 * search / runs;
  state.counters["suggest_ms"] = 1000 * suggest / runs;
  state.counters["suggest_per_search"] = suggest / search;
}

BENCHMARK_CAPTURE(CliSuggestAgainstSearch, english_flowers, kEnglish, kFlowers)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CliSuggestAgainstSearch, english_14_twos, kEnglish, kTwos)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CliSuggestAgainstSearch, german_flowers, kGerman, kFlowers)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CliSuggestAgainstSearch, german_14_twos, kGerman, kTwos)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
