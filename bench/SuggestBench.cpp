// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-number suggestions on the bundled dictionaries, and the whole vantrel-cli
// suggest process against a plain search of the same number: suggestions should cost at
// most twice a search on the bundled dictionaries, and at most five times on two
// dictionaries made to hurt them (a million words with inner blanks on one digit, and
// one word listed a million times that stands 63 times in the number), with a peak
// memory below 50 MB whatever the dictionary holds. Both processes run in the same
// benchmark, turn about, so that their ratio is measured under the same conditions.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Dictionary.h"
#include "Suggest.h"

extern char** environ;

namespace {

const std::string kEnglish = VANTREL_SHARE "/Vantrel Dictionary.txt";
const std::string kGerman = VANTREL_SHARE "/Vantrel Deutsch.txt";
const std::string kFrench = VANTREL_SHARE "/Vantrel Francais.txt";
const std::string kFlowers = "18003569377";
const std::string kTwos(14, '2');
const std::string kThirty = "493-7568-2273-9462-8357-4628-3946-28";  // 30 digits

// The dictionaries made to hurt, written once into the temporary folder.
std::string WriteOnce(const std::string& name, const std::string& linePattern, bool numbered) {
  const std::string path = "/tmp/vantrel-bench-suggest-" + name + ".txt";
  std::ifstream probe(path);
  if (probe.good()) {
    return path;
  }
  std::ofstream out(path + ".part", std::ios::binary);
  char line[64];
  for (int i = 1; i <= 1000000; ++i) {
    const int n = numbered ? std::snprintf(line, sizeof line, linePattern.c_str(), i)
                           : std::snprintf(line, sizeof line, "%s", linePattern.c_str());
    out.write(line, n);
  }
  out << "\r\n";
  out.close();
  std::rename((path + ".part").c_str(), path.c_str());
  return path;
}
const std::string kInnerBlanks = WriteOnce("inner-blanks", "2,a x%07d,B\r\n", true);
const std::string kMillionBalls = WriteOnce("ball-million", "2255,ball,B\r\n", false);
std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) {
    out += text;
  }
  return out;
}
const std::string kBalls = Repeat("2255", 63);
// The longest number the program reads, with the most suggestions it gives.
const std::string kLongest = Repeat("4937568227394628357462839462", 10).substr(0, 255);

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

struct CliCost {
  double seconds = -1;  // negative on failure
  double peakMb = 0;
};

// What one vantrel-cli run takes, output thrown away.
CliCost TimeCli(const std::vector<std::string>& args) {
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
  struct rusage usage {};
  if (spawned != 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return {};
  }
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
          static_cast<double>(usage.ru_maxrss) / 1024.0};
}

void CliSuggestAgainstSearch(benchmark::State& state, const std::string& path,
                             const std::string& number, const std::string& limit) {
  double search = 0;
  double suggest = 0;
  double peakMb = 0;
  for (auto _ : state) {
    const CliCost a = TimeCli({"search", "--dictionary", path, "--", number});
    const CliCost b = TimeCli({"suggest", "--limit", limit, "--dictionary", path, "--", number});
    if (a.seconds < 0 || b.seconds < 0) {
      state.SkipWithError("vantrel-cli failed");
      return;
    }
    search += a.seconds;
    suggest += b.seconds;
    peakMb = std::max(peakMb, b.peakMb);
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["search_ms"] = 1000 * search / runs;
  state.counters["suggest_ms"] = 1000 * suggest / runs;
  state.counters["suggest_per_search"] = suggest / search;
  state.counters["suggest_peak_MB"] = peakMb;
}

struct Named {
  const char* name;
  const std::string& text;
};

// Each bundled dictionary is measured on each of these numbers.
const Named kBundled[] = {{"english", kEnglish}, {"german", kGerman}, {"french", kFrench}};
const Named kNumbers[] = {{"flowers", kFlowers}, {"14_twos", kTwos}, {"30_digits", kThirty}};

void Register(const std::string& name, const std::string& dictionary, const std::string& number,
              const std::string& limit, bool inProcessToo) {
  if (inProcessToo) {
    benchmark::RegisterBenchmark(("RunSuggest/" + name).c_str(), [=](benchmark::State& state) {
      RunSuggest(state, dictionary, number);
    })->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark(
      ("CliSuggestAgainstSearch/" + name).c_str(),
      [=](benchmark::State& state) { CliSuggestAgainstSearch(state, dictionary, number, limit); })
      ->Unit(benchmark::kMillisecond);
}

bool RegisterCases() {
  for (const Named& dictionary : kBundled) {
    for (const Named& number : kNumbers) {
      Register(std::string(dictionary.name) + "_" + number.name, dictionary.text, number.text, "20",
               true);
    }
  }
  // The most suggestions the program gives, and the two dictionaries made to hurt them.
  Register("english_255_digits_limit_1000", kEnglish, kLongest, "1000", false);
  Register("million_inner_blanks", kInnerBlanks, kTwos, "20", false);
  Register("million_balls_63_places", kMillionBalls, kBalls, "20", false);
  return true;
}
[[maybe_unused]] const bool kRegistered = RegisterCases();

}  // namespace

BENCHMARK_MAIN();
