// SPDX-License-Identifier: GPL-3.0-or-later
// Time from starting a process to its first window painted: the program against a bare Qt
// window with a line edit, both as fresh processes on the offscreen platform, in English
// and in German. The program starts with a stored dictionary and settings in a throwaway
// configuration folder, so that no dialog opens. The counter "ratio" is the program's median
// time over the bare window's, measured alternately in the same run.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A configuration folder of its own with the program's settings for one language.
class ThrowawayConfig {
 public:
  explicit ThrowawayConfig(const std::string& language) {
    char pattern[] = "/tmp/vantrel-startup.XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
      throw std::runtime_error("no scratch folder");
    }
    folder_ = pattern;
    fs::create_directories(folder_ / "Vantrel");
    std::ofstream reg(folder_ / "Vantrel" / "Vantrel.reg");
    reg << "Windows Registry Editor Version 5.00\n\n"
        << "[HKEY_CURRENT_USER\\Software\\Vantrel]\n"
        << "\"Dictionary\"=\"" << VANTREL_ENGLISH << "\"\n"
        << "\"Language\"=\"" << language << "\"\n";
    // Every value the windows read at their creation: a missing one would ask for a
    // dictionary before the first window.
    const std::pair<const char*, int> values[] = {{"Form Top", 189},
                                                  {"Form Left", 474},
                                                  {"Form Width", 485},
                                                  {"Form Height", 498},
                                                  {"Selected Panel Height", 106},
                                                  {"Word Width", 151},
                                                  {"Number Width", 115},
                                                  {"Lookup Top", 190},
                                                  {"Lookup Left", 302},
                                                  {"Affix Top", 221},
                                                  {"Affix Left", 347},
                                                  {"Affix Width", 466},
                                                  {"Affix Word Width", 175},
                                                  {"Affix Number Width", 135},
                                                  {"Animation On", 0},
                                                  {"NotifyCount", 5}};
    char dword[16];
    for (const auto& [name, value] : values) {
      std::snprintf(dword, sizeof dword, "%08x", value);
      reg << "\"" << name << "\"=dword:" << dword << "\n";
    }
  }
  ~ThrowawayConfig() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  ThrowawayConfig(const ThrowawayConfig&) = delete;
  ThrowawayConfig& operator=(const ThrowawayConfig&) = delete;

  std::string Folder() const { return folder_.string(); }

 private:
  fs::path folder_;
};

// Starts the program and returns the seconds until it reports its first paint; the
// process is killed then, so that nothing of its close is timed or written.
double SecondsToFirstPaint(const char* program, const std::string& config,
                           const std::string& lang) {
  int pipe[2];
  if (::pipe2(pipe, O_CLOEXEC) != 0) {
    throw std::runtime_error("no pipe");
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(pipe[1], 3);  // dup2 clears close-on-exec on the copy
    ::setenv("VANTREL_FIRST_PAINT_FD", "3", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::setenv("LANG", lang.c_str(), 1);
    ::setenv("LC_ALL", lang.c_str(), 1);
    ::execl(program, program, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(pipe[1]);
  pollfd wait{pipe[0], POLLIN, 0};
  const int ready = ::poll(&wait, 1, 30000);
  char shown = 0;
  const bool painted = ready == 1 && ::read(pipe[0], &shown, 1) == 1;
  const auto end = std::chrono::steady_clock::now();
  ::close(pipe[0]);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  if (!painted) {
    throw std::runtime_error(std::string(program) + " showed no window within 30 s");
  }
  return std::chrono::duration<double>(end - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void FirstWindow(benchmark::State& state, const char* language, const char* lang) {
  const ThrowawayConfig config(language);
  std::vector<double> program;
  std::vector<double> bare;
  try {
    // One start of each first, so that both find their libraries in the page cache.
    SecondsToFirstPaint(VANTREL_BARE_WINDOW, config.Folder(), lang);
    SecondsToFirstPaint(VANTREL_PROGRAM, config.Folder(), lang);
    for (auto _ : state) {
      bare.push_back(SecondsToFirstPaint(VANTREL_BARE_WINDOW, config.Folder(), lang));
      program.push_back(SecondsToFirstPaint(VANTREL_PROGRAM, config.Folder(), lang));
      state.SetIterationTime(program.back());
    }
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
    return;
  }
  // Medians, so that a start slowed by something else on the machine moves neither side.
  const double programMedian = Median(program);
  const double bareMedian = Median(bare);
  state.counters["program_ms"] = programMedian * 1000;
  state.counters["bare_ms"] = bareMedian * 1000;
  state.counters["ratio"] = programMedian / bareMedian;
}

BENCHMARK_CAPTURE(FirstWindow, English, "en", "en_US.UTF-8")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(31);
BENCHMARK_CAPTURE(FirstWindow, German, "de", "de_DE.UTF-8")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(31);

}  // namespace

BENCHMARK_MAIN();
