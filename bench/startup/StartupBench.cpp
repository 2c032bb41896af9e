// SPDX-License-Identifier: GPL-3.0-or-later
// Time from starting a process to its first window painted: the program against a bare Qt
// window with a line edit, both as fresh processes, in English and in German, on the
// offscreen platform and on an X server of their own (Xvfb), as a user's desktop shows them. The
// program starts with a stored dictionary and settings in a throwaway configuration folder, so that
// no dialog opens. The counter "ratio" is the program's median time over the bare window's,
// measured alternately in the same run.

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
#include <optional>
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

// An X server of its own for the windows, on the first free display; gone with the object.
class VirtualScreen {
 public:
  VirtualScreen() {
    int number = 90;
    while (fs::exists("/tmp/.X11-unix/X" + std::to_string(number)) ||
           fs::exists("/tmp/.X" + std::to_string(number) + "-lock")) {
      ++number;
    }
    display_ = ":" + std::to_string(number);
    server_ = ::fork();
    if (server_ == 0) {
      const int quiet = ::open("/dev/null", O_WRONLY);
      ::dup2(quiet, 1);
      ::dup2(quiet, 2);
      ::execlp("Xvfb", "Xvfb", display_.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    for (int wait = 0; wait < 100 && !fs::exists(socket); ++wait) {
      int status = 0;
      if (::waitpid(server_, &status, WNOHANG) == server_) {
        server_ = -1;
        throw std::runtime_error("Xvfb did not start (Debian: xvfb)");
      }
      ::usleep(50000);
    }
    if (!fs::exists(socket)) {
      throw std::runtime_error("Xvfb opened no display within 5 s");
    }
  }
  ~VirtualScreen() {
    if (server_ > 0) {
      ::kill(server_, SIGTERM);
      ::waitpid(server_, nullptr, 0);
    }
  }
  VirtualScreen(const VirtualScreen&) = delete;
  VirtualScreen& operator=(const VirtualScreen&) = delete;

  const std::string& Display() const { return display_; }

 private:
  std::string display_;
  pid_t server_ = -1;
};

// Where the windows show: the platform plugin and, for xcb, the display.
struct Screen {
  const char* platform;
  std::string display;
};

// Starts the program and returns the seconds until it reports its first paint; the
// process is killed then, so that nothing of its close is timed or written.
double SecondsToFirstPaint(const char* program, const std::string& config, const std::string& lang,
                           const Screen& screen) {
  int pipe[2];
  if (::pipe2(pipe, O_CLOEXEC) != 0) {
    throw std::runtime_error("no pipe");
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(pipe[1], 3);  // dup2 clears close-on-exec on the copy
    ::setenv("VANTREL_FIRST_PAINT_FD", "3", 1);
    ::setenv("QT_QPA_PLATFORM", screen.platform, 1);
    if (!screen.display.empty()) {
      ::setenv("DISPLAY", screen.display.c_str(), 1);
    }
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

void FirstWindow(benchmark::State& state, const char* language, const char* lang, bool x11) {
  const ThrowawayConfig config(language);
  std::vector<double> program;
  std::vector<double> bare;
  try {
    std::optional<VirtualScreen> server;
    Screen screen{"offscreen", {}};
    if (x11) {
      server.emplace();
      screen = {"xcb", server->Display()};
    }
    // One start of each first, so that both find their libraries in the page cache.
    SecondsToFirstPaint(VANTREL_BARE_WINDOW, config.Folder(), lang, screen);
    SecondsToFirstPaint(VANTREL_PROGRAM, config.Folder(), lang, screen);
    for (auto _ : state) {
      bare.push_back(SecondsToFirstPaint(VANTREL_BARE_WINDOW, config.Folder(), lang, screen));
      program.push_back(SecondsToFirstPaint(VANTREL_PROGRAM, config.Folder(), lang, screen));
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

void Register() {
  struct Language {
    const char* name;
    const char* setting;
    const char* lang;
  };
  const Language languages[] = {{"English", "en", "en_US.UTF-8"}, {"German", "de", "de_DE.UTF-8"}};
  for (const bool x11 : {false, true}) {
    for (const Language& language : languages) {
      const std::string name =
          std::string("FirstWindow/") + language.name + (x11 ? "/Xvfb" : "/offscreen");
      benchmark::RegisterBenchmark(name.c_str(), FirstWindow, language.setting, language.lang, x11)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond)
          ->Iterations(31);
    }
  }
}

const bool registered = (Register(), true);

}  // namespace

BENCHMARK_MAIN();
