// SPDX-License-Identifier: GPL-3.0-or-later
#include "CrashHandler.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>

namespace vantrel {
namespace {

// Everything below runs inside a signal handler after the program broke: no allocation,
// no locks, no stdio; only system calls and static buffers.

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr std::size_t kPathMax = 4096;

char logPath[kPathMax];
char markerPath[kPathMax];
long utcOffset = 0;  // seconds east of UTC, taken when the handler is installed
struct sigaction previous[sizeof kSignals / sizeof kSignals[0]];
std::atomic<long> crashingThread{0};

alignas(16) char alternateStack[64 * 1024];
char maps[256 * 1024];
char text[64 * 1024];

struct Text {
  std::size_t used = 0;

  void Add(const char* s) {
    while (*s != '\0' && used < sizeof text) {
      text[used++] = *s++;
    }
  }
  void AddN(const char* s, std::size_t n) {
    for (std::size_t i = 0; i < n && used < sizeof text; ++i) {
      text[used++] = s[i];
    }
  }
  void Hex(std::uint64_t value, int digits) {
    char out[17];
    for (int i = digits - 1; i >= 0; --i) {
      out[i] = "0123456789ABCDEF"[value & 0xF];
      value >>= 4;
    }
    AddN(out, static_cast<std::size_t>(digits));
  }
  void Dec(long value, int width = 1) {
    char out[24];
    int n = 0;
    const bool negative = value < 0;
    unsigned long v =
        negative ? 0UL - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    do {
      out[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v != 0 || n < width);
    if (negative) {
      out[n++] = '-';
    }
    while (n > 0) {
      AddN(&out[--n], 1);
    }
  }
  void Line() { Add("\r\n"); }
};

const char* SignalName(int signal) {
  switch (signal) {
    case SIGSEGV:
      return "SIGSEGV";
    case SIGBUS:
      return "SIGBUS";
    case SIGILL:
      return "SIGILL";
    case SIGFPE:
      return "SIGFPE";
    case SIGABRT:
      return "SIGABRT";
    default:
      return "signal";
  }
}

// The local time from the clock alone: days since 1970 to a civil date.
void AddTime(Text& out) {
  const long now = static_cast<long>(time(nullptr)) + utcOffset;
  long days = now / 86400;
  long seconds = now % 86400;
  if (seconds < 0) {
    seconds += 86400;
    --days;
  }
  days += 719468;
  const long era = (days >= 0 ? days : days - 146096) / 146097;
  const long dayOfEra = days - era * 146097;
  const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long mp = (5 * dayOfYear + 2) / 153;
  const long day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const long month = mp < 10 ? mp + 3 : mp - 9;
  const long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  out.Dec(seconds / 3600, 2);
  out.Add(":");
  out.Dec(seconds / 60 % 60, 2);
  out.Add(":");
  out.Dec(seconds % 60, 2);
  out.Add(" ");
  out.Dec(day, 2);
  out.Add("/");
  out.Dec(month, 2);
  out.Add("/");
  out.Dec(year, 4);
}

std::size_t ReadMaps() {
  const int fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return 0;
  }
  std::size_t used = 0;
  while (used < sizeof maps) {
    const ssize_t n = read(fd, maps + used, sizeof maps - used);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      break;
    }
    used += static_cast<std::size_t>(n);
  }
  close(fd);
  return used;
}

std::uint64_t ParseHex(const char*& p, const char* end) {
  std::uint64_t value = 0;
  for (; p < end; ++p) {
    const char c = *p;
    if (c >= '0' && c <= '9') {
      value = value * 16 + static_cast<std::uint64_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      value = value * 16 + static_cast<std::uint64_t>(c - 'a' + 10);
    } else {
      break;
    }
  }
  return value;
}

// " [module] +offset" for an address, from the process's own list of mappings: the
// offset is the one in the module's file, which is what a debugger is given.
void AddModule(Text& out, std::uint64_t address, std::size_t mapsSize) {
  const char* p = maps;
  const char* end = maps + mapsSize;
  while (p < end) {
    const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', end - p));
    if (lineEnd == nullptr) {
      lineEnd = end;
    }
    const char* q = p;
    const std::uint64_t start = ParseHex(q, lineEnd);
    ++q;
    const std::uint64_t stop = ParseHex(q, lineEnd);
    if (address >= start && address < stop) {
      q += 6;  // " rwxp "
      const std::uint64_t offset = ParseHex(q, lineEnd);
      const char* path = static_cast<const char*>(std::memchr(q, '/', lineEnd - q));
      const char* name = path;
      for (const char* s = path; s != nullptr && s < lineEnd; ++s) {
        if (*s == '/') {
          name = s + 1;
        }
      }
      out.Add(" [");
      if (name != nullptr) {
        out.AddN(name, static_cast<std::size_t>(lineEnd - name));
      }
      out.Add("] +");
      out.Hex(address - start + offset, 8);
      return;
    }
    p = lineEnd + 1;
  }
  out.Add(" []");
}

void AddRegisters(Text& out, const ucontext_t* context) {
#if defined(__x86_64__)
  const greg_t* g = context->uc_mcontext.gregs;
  struct Named {
    const char* name;
    int index;
  };
  static constexpr Named kRows[][4] = {
      {{"RAX = ", REG_RAX}, {"  RIP = ", REG_RIP}, {"  Flags = ", REG_EFL}, {nullptr, 0}},
      {{"RBX = ", REG_RBX}, {"  RSP = ", REG_RSP}, {"  RBP = ", REG_RBP}, {nullptr, 0}},
      {{"RCX = ", REG_RCX}, {"  RSI = ", REG_RSI}, {"  RDI = ", REG_RDI}, {"  RDX = ", REG_RDX}},
      {{"R8  = ", REG_R8}, {"  R9  = ", REG_R9}, {"  R10 = ", REG_R10}, {"  R11 = ", REG_R11}},
      {{"R12 = ", REG_R12}, {"  R13 = ", REG_R13}, {"  R14 = ", REG_R14}, {"  R15 = ", REG_R15}},
  };
  out.Add("Registers:");
  out.Line();
  for (const auto& row : kRows) {
    for (const Named& reg : row) {
      if (reg.name != nullptr) {
        out.Add(reg.name);
        out.Hex(static_cast<std::uint64_t>(g[reg.index]), 16);
      }
    }
    out.Line();
  }
#else
  (void)out;
  (void)context;
#endif
}

// The folders of the log, made one by one as on the first record of a run.
void MakeLogFolders() {
  static char folder[kPathMax];
  std::memcpy(folder, logPath, kPathMax);
  for (char* p = folder + 1; *p != '\0'; ++p) {
    if (*p == '/') {
      *p = '\0';
      mkdir(folder, 0700);
      *p = '/';
    }
  }
}

void WriteRecord(int signal, const siginfo_t* info, const ucontext_t* context) {
  Text out;
  out.Add("---------------------------");
  AddTime(out);
  out.Add("---------------------------");
  out.Line();
  out.Add("Signal ");
  out.Add(SignalName(signal));
  out.Add(" (");
  out.Dec(signal);
  if (info != nullptr && info->si_code <= 0) {
    // Sent, not caused: by kill, by another process, or by abort in this one.
    out.Add(") sent by process ");
    out.Dec(info->si_pid);
  } else {
    out.Add(") at address ");
    out.Hex(reinterpret_cast<std::uintptr_t>(info != nullptr ? info->si_addr : nullptr), 16);
    out.Add(", code ");
    out.Dec(info != nullptr ? info->si_code : 0);
  }
  out.Line();
  out.Add("The program ended here.");
  out.Line();
  out.Line();

  const std::size_t mapsSize = ReadMaps();
  void* frames[102];
  const int depth = backtrace(frames, 102);
  out.Add("Call stack:");
  out.Line();
  for (int i = 0; i < depth && i < 100; ++i) {
    out.Add(":");
    const auto address = reinterpret_cast<std::uintptr_t>(frames[i]);
    out.Hex(address, 16);
    AddModule(out, address, mapsSize);
    out.Line();
  }
  out.Line();
  if (context != nullptr) {
    AddRegisters(out, context);
  }
  out.Line();
  out.Line();

  if (logPath[0] != '\0') {
    MakeLogFolders();
    const int fd = open(logPath, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd >= 0) {
      struct stat st {};
      if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        flock(fd, LOCK_EX);
        std::size_t done = 0;
        while (done < out.used) {
          const ssize_t n = write(fd, text + done, out.used - done);
          if (n < 0 && errno == EINTR) {
            continue;
          }
          if (n <= 0) {
            break;
          }
          done += static_cast<std::size_t>(n);
        }
        flock(fd, LOCK_UN);
        const int marker = open(markerPath, O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (marker >= 0) {
          close(marker);
        }
      }
      close(fd);
    }
  }
}

void OnFatalSignal(int signal, siginfo_t* info, void* context) {
  const int saved = errno;
  const long self = syscall(SYS_gettid);
  long expected = 0;
  if (crashingThread.compare_exchange_strong(expected, self)) {
    WriteRecord(signal, info, static_cast<const ucontext_t*>(context));
  } else if (expected != self) {
    // Another thread is writing its record: give it time to finish before this signal
    // ends the process.
    timespec pause{0, 100 * 1000 * 1000};
    for (int i = 0; i < 20; ++i) {
      nanosleep(&pause, nullptr);
    }
  }
  // Whoever handled the signal before (the system's default, a sanitizer) takes it over
  // again, and it is raised anew: a fault repeats when the handler returns, a sent or
  // raised signal is pending until then.
  for (std::size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) {
    if (kSignals[i] == signal) {
      sigaction(signal, &previous[i], nullptr);
    }
  }
  raise(signal);
  errno = saved;
}

bool CopyPath(char* to, const std::string& from) {
  if (from.size() >= kPathMax) {
    to[0] = '\0';
    return false;
  }
  std::memcpy(to, from.c_str(), from.size() + 1);
  return true;
}

}  // namespace

std::string CrashMarkerPath(const std::string& logPath) {
  return logPath.empty() ? std::string() : logPath + ".crashed";
}

void InstallCrashHandler(const std::string& path) {
  if (!CopyPath(logPath, path) || !CopyPath(markerPath, CrashMarkerPath(path))) {
    logPath[0] = '\0';
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) != nullptr) {
    utcOffset = local.tm_gmtoff;
  }
  // The walker loads its helper library now, not in the handler.
  void* warmUp[2];
  backtrace(warmUp, 2);

  // A stack overflow leaves no stack for the handler: it gets one of its own.
  stack_t alternate{};
  alternate.ss_sp = alternateStack;
  alternate.ss_size = sizeof alternateStack;
  sigaltstack(&alternate, nullptr);

  struct sigaction action {};
  action.sa_sigaction = OnFatalSignal;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) {
    sigaction(kSignals[i], &action, &previous[i]);
  }
}

bool TakeCrashNotice(const std::string& path) {
  const std::string marker = CrashMarkerPath(path);
  return !marker.empty() && unlink(marker.c_str()) == 0;
}

}  // namespace vantrel
