// SPDX-License-Identifier: GPL-3.0-or-later
// The program itself, ended as a logout or a shutdown ends it: by SIGTERM or SIGHUP. Its
// main window closes as File > Exit closes it and writes every setting, and the program
// ends normally. A write past the file-size limit fails as a write: the old settings stay
// whole, no temporary file is left, and no signal ends the program.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "RegFile.h"
#include "SettingsList.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kKeyPath = "HKEY_CURRENT_USER\\Software\\Vantrel";
constexpr const char* kStoredLanguage = "de_DE";
// Far from zero, so that the close counts it down by one and shows no notice.
constexpr std::uint32_t kStoredNotifyCount = 100;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Describe(int status) {
  std::ostringstream text;
  if (WIFEXITED(status)) {
    text << "exit code " << WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    text << "killed by signal " << WTERMSIG(status) << " (" << strsignal(WTERMSIG(status)) << ")";
  } else {
    text << "status " << status;
  }
  return text.str();
}

// A scratch home for one run of the program: its own configuration, state and runtime
// folders, and a settings file made by the test.
class ScratchHome {
 public:
  ScratchHome() {
    std::string pattern = (fs::temp_directory_path() / "vantrel-end-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data()) != nullptr ? fs::path(pattern) : fs::path();
    for (const char* folder : {"home", "config/Vantrel", "state", "cache", "runtime"}) {
      fs::create_directories(root_ / folder);
    }
    fs::permissions(root_ / "runtime", fs::perms::owner_all, fs::perm_options::replace);
  }
  ~ScratchHome() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  ScratchHome(const ScratchHome&) = delete;
  ScratchHome& operator=(const ScratchHome&) = delete;

  const fs::path& Root() const { return root_; }
  fs::path SettingsFolder() const { return root_ / "config/Vantrel"; }
  fs::path SettingsFile() const { return SettingsFolder() / "Vantrel.reg"; }

  // Every file in the settings folder.
  std::vector<std::string> SettingsFolderFiles() const {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(SettingsFolder())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

 private:
  fs::path root_;
};

// The stored language and dictionary, every value the main window reads and the countdown,
// but not the affix window's last column width: only a write of the close brings it.
std::string StoredSettings() {
  regfile::Key key{kKeyPath, {}};
  key.Set(regfile::Value::MakeText("Language", kStoredLanguage));
  key.Set(regfile::Value::MakeText("Dictionary", VANTREL_ENGLISH_DICTIONARY));
  for (const SettingRow& row : kSettingsTable) {
    if (row.type != SettingType::kText && row.setting != Setting::kAffixNumberWidth &&
        row.setting != Setting::kNotifyCount) {
      key.Set(
          regfile::Value::MakeDword(std::string(row.name), static_cast<std::uint32_t>(row.design)));
    }
  }
  key.Set(regfile::Value::MakeDword("NotifyCount", kStoredNotifyCount));
  return regfile::Serialize(regfile::Document{{key}});
}

// The program running on the offscreen platform in a scratch home, its first paint
// reported through a pipe (VANTREL_FIRST_PAINT_FD). A file-size limit, when given, holds
// for the program from its first instruction on, as `ulimit -f` does.
class RunningProgram {
 public:
  RunningProgram(const ScratchHome& home, std::optional<rlim_t> fileSizeLimit = std::nullopt) {
    int painted[2];
    if (::pipe2(painted, O_CLOEXEC) != 0) {
      return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(painted[1], 3);  // the copy is not closed on exec
      const int null = ::open("/dev/null", O_RDWR);
      // Not a file: the limit would cut Qt's messages short, and end them by SIGXFSZ.
      ::dup2(null, STDIN_FILENO);
      ::dup2(null, STDOUT_FILENO);
      ::dup2(null, STDERR_FILENO);
      const fs::path& root = home.Root();
      ::setenv("VANTREL_FIRST_PAINT_FD", "3", 1);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      ::setenv("HOME", (root / "home").c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
      ::setenv("XDG_STATE_HOME", (root / "state").c_str(), 1);
      ::setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
      ::setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
      if (fileSizeLimit) {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = *fileSizeLimit;
        ::setrlimit(RLIMIT_FSIZE, &limit);
      }
      // The test's own signal dispositions are not the program's.
      ::signal(SIGXFSZ, SIG_DFL);
      ::signal(SIGTERM, SIG_DFL);
      ::signal(SIGHUP, SIG_DFL);
      ::execl(VANTREL_PROGRAM, VANTREL_PROGRAM, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(painted[1]);
    painted_ = painted[0];
  }
  ~RunningProgram() {
    if (pid_ > 0 && !status_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (painted_ >= 0) {
      ::close(painted_);
    }
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool Started() const { return pid_ > 0 && painted_ >= 0; }

  // Whether the main window painted within the time.
  bool WaitForWindow() {
    pollfd wait{painted_, POLLIN, 0};
    char shown = 0;
    return ::poll(&wait, 1, 60000) == 1 && ::read(painted_, &shown, 1) == 1;
  }

  void Send(int signal) const { ::kill(pid_, signal); }

  // The wait status once the program has ended, or nothing when it still runs.
  std::optional<int> Ended() {
    if (!status_) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
      }
    }
    return status_;
  }

  // Sends the signal, and again every half second while the program runs, for at most a
  // minute: the first starts the close, a later one ends a dialog that the close shows.
  std::optional<int> EndBy(int signal) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
      Send(signal);
      for (int i = 0; i < 50; ++i) {
        if (Ended()) {
          return status_;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    return Ended();
  }

 private:
  pid_t pid_ = -1;
  int painted_ = -1;
  std::optional<int> status_;
};

// The file is whole and holds every value the close writes, the language and dictionary as
// stored, and the countdown one less.
void ExpectWrittenByTheClose(const ScratchHome& home) {
  const std::string bytes = ReadAll(home.SettingsFile());
  const regfile::ParseResult parsed = regfile::Parse(bytes);
  ASSERT_TRUE(parsed.IsOk()) << parsed.status << "\n" << bytes;
  const regfile::Key* key = parsed.document.Find(kKeyPath);
  ASSERT_NE(key, nullptr) << bytes;
  for (const SettingRow& row : kSettingsTable) {
    const regfile::Value* value = key->Find(row.name);
    ASSERT_NE(value, nullptr) << row.name << " missing from\n" << bytes;
    EXPECT_EQ(value->kind, row.type == SettingType::kText ? regfile::ValueKind::kText
                                                          : regfile::ValueKind::kDword)
        << row.name;
  }
  EXPECT_EQ(key->Find("Language")->text, kStoredLanguage);
  EXPECT_EQ(key->Find("Dictionary")->text, VANTREL_ENGLISH_DICTIONARY);
  EXPECT_EQ(key->Find("NotifyCount")->dword, kStoredNotifyCount - 1) << "the countdown ran";
  EXPECT_EQ(home.SettingsFolderFiles(), std::vector<std::string>{"Vantrel.reg"});
}

struct EndingSignal {
  int signal;
  const char* name;
};

class ProgramEnd : public testing::TestWithParam<EndingSignal> {};

TEST_P(ProgramEnd, TheSignalClosesTheWindowWhichWritesEverySettingAndTheProgramEndsNormally) {
  ScratchHome home;
  std::ofstream(home.SettingsFile(), std::ios::binary) << StoredSettings();
  RunningProgram program(home);
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(program.WaitForWindow()) << "no window within a minute";

  program.Send(GetParam().signal);
  std::optional<int> status;
  for (int i = 0; i < 6000 && !status; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    status = program.Ended();
  }
  ASSERT_TRUE(status.has_value()) << "still running a minute after " << GetParam().name;
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << Describe(*status);
  ExpectWrittenByTheClose(home);
}

TEST_P(ProgramEnd, ABurstOfSignalsStillEndsWithOneWholeFile) {
  ScratchHome home;
  std::ofstream(home.SettingsFile(), std::ios::binary) << StoredSettings();
  RunningProgram program(home);
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(program.WaitForWindow()) << "no window within a minute";

  // A session manager that repeats itself: signals that meet the close on its way.
  std::optional<int> status;
  for (int i = 0; i < 200 && !status; ++i) {
    program.Send(GetParam().signal);
    if (i % 10 == 9) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    status = program.Ended();
  }
  if (!status) {
    status = program.EndBy(GetParam().signal);
  }
  ASSERT_TRUE(status.has_value()) << "still running";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << Describe(*status);
  ExpectWrittenByTheClose(home);
}

INSTANTIATE_TEST_SUITE_P(Signals, ProgramEnd,
                         testing::Values(EndingSignal{SIGTERM, "SIGTERM"},
                                         EndingSignal{SIGHUP, "SIGHUP"}),
                         [](const testing::TestParamInfo<EndingSignal>& param) {
                           return std::string(param.param.name);
                         });

// Limits below the size of the settings the close writes: nothing at all may be written,
// or only part of the file.
class FileSizeLimit : public testing::TestWithParam<rlim_t> {};

TEST_P(FileSizeLimit, AWriteOverTheLimitFailsAndKeepsTheOldSettingsWhole) {
  ScratchHome home;
  const std::string stored = StoredSettings();
  std::ofstream(home.SettingsFile(), std::ios::binary) << stored;
  ASSERT_GT(stored.size(), GetParam());
  RunningProgram program(home, GetParam());
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(program.WaitForWindow()) << "no window within a minute";

  // The close fails to write and warns; the warning waits for the user, and the next
  // signal ends it.
  const std::optional<int> status = program.EndBy(SIGTERM);
  ASSERT_TRUE(status.has_value()) << "still running";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << Describe(*status);
  EXPECT_EQ(ReadAll(home.SettingsFile()), stored);
  EXPECT_EQ(home.SettingsFolderFiles(), std::vector<std::string>{"Vantrel.reg"})
      << "a temporary file was left";
}

INSTANTIATE_TEST_SUITE_P(Limits, FileSizeLimit, testing::Values(rlim_t{0}, rlim_t{512}),
                         [](const testing::TestParamInfo<rlim_t>& param) {
                           return "Bytes" + std::to_string(param.param);
                         });

}  // namespace
}  // namespace vantrel
