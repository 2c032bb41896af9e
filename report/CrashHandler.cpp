// SPDX-License-Identifier: GPL-3.0-or-later
#include "CrashHandler.h"

#include <execinfo.h>
#include <fcntl.h>
#include <setjmp.h>
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

#include "CrashRecordText.h"
#include "FrameWalker.h"
#include "MemoryProbe.h"
#include "ProcMaps.h"
#include "RegisterDump.h"
#include "SignalSafeText.h"
#include "ThreadStacks.h"

namespace vantrel {
namespace {

// Everything below runs inside a signal handler after the program broke: no allocation,
// no locks, no stdio; only system calls and static buffers.

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr std::size_t kPathMax = 4096;
constexpr int kMaxFrames = 100;

char logPath[kPathMax];
char markerPath[kPathMax];
long utcOffset = 0;  // seconds east of UTC, taken when the handler is installed
struct sigaction previous[sizeof kSignals / sizeof kSignals[0]];
std::atomic<long> crashingThread{0};

alignas(16) char alternateStack[kAlternateStackSize];
char maps[256 * 1024];
char text[64 * 1024];

void OnFatalSignal(int signal, siginfo_t* info, void* context);

// The folders of the log, made one by one as on the first record of a run; the log is
// the user's alone.
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

// ----- the record, written in steps -----

// A step of the record that faults (a broken state can break anything that reads it) is
// left off, and the record goes on with the next step.
sigjmp_buf stepFault;
volatile sig_atomic_t inStep = 0;

template <typename Work>
bool Guarded(Work work) {
  if (sigsetjmp(stepFault, 1) != 0) {
    inStep = 0;
    return false;
  }
  inStep = 1;
  work();
  inStep = 0;
  return true;
}

struct Record {
  int fd = -1;
  bool whole = true;  // every piece so far reached the file

  // Appends what the text holds and empties it.
  void Put(SignalSafeText& out) {
    std::size_t done = 0;
    while (whole && done < out.Size()) {
      const ssize_t n = write(fd, out.Data() + done, out.Size() - done);
      if (n < 0 && errno == EINTR) {
        continue;
      }
      if (n <= 0) {
        whole = false;
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    out.Clear();
  }
};

int OpenLog() {
  if (logPath[0] == '\0') {
    return -1;
  }
  MakeLogFolders();
  const int fd = open(logPath, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) {
    return -1;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

// The log's lock, if it comes free soon: whoever holds it (this very process, stopped in
// the middle of a record, or another copy of the program) may never let it go, and then
// the record is appended without it.
bool LockBriefly(int fd) {
  for (int i = 0; i < 20; ++i) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      return true;
    }
    timespec pause{0, 10 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  return false;
}

bool WriteRecord(int signal, const siginfo_t* info, const ucontext_t* context) {
  Record record;
  record.fd = OpenLog();
  if (record.fd < 0) {
    return false;
  }
  const bool locked = LockBriefly(record.fd);

  SignalSafeText out(text, sizeof text);
  AddRecordHead(out, static_cast<long>(time(nullptr)) + utcOffset, signal, info);
  record.Put(out);

  std::size_t mapsSize = 0;
  if (!Guarded([&] { mapsSize = ReadOwnMaps(maps, sizeof maps); })) {
    mapsSize = 0;
  }
  const ProcMaps mappings(maps, mapsSize);
  const OwnMemory memory;

  static std::uintptr_t frames[kMaxFrames];
  int depth = 0;
  const bool sane = SaneState(context, mappings, memory);
  if (sane) {
    // The system's unwinder knows the frames without frame pointers; the frames of this
    // handler and of the signal's return are left off, up to the faulting address.
    static void* raw[kMaxFrames + 8];
    int rawDepth = 0;
    if (Guarded([&] { rawDepth = backtrace(raw, kMaxFrames + 8); })) {
      const std::uintptr_t pc = ContextPc(context);
      int from = 0;
      while (from < rawDepth && reinterpret_cast<std::uintptr_t>(raw[from]) != pc) {
        ++from;
      }
      if (from == rawDepth) {
        from = 0;
      }
      for (int i = from; i < rawDepth && depth < kMaxFrames; ++i) {
        frames[depth++] = reinterpret_cast<std::uintptr_t>(raw[i]);
      }
    }
  }
  if (depth == 0) {
    depth = WalkFrames(context, mappings, memory, frames, kMaxFrames);
  }
  for (int i = 0; i < depth; ++i) {
    Guarded([&] { AddFrameLine(out, frames[i], mappings); });
    record.Put(out);
  }
  out.Line();
  record.Put(out);
  if (context != nullptr) {
    if (!Guarded([&] { AddCrashRegisters(out, *context, memory); })) {
      out.Line();
    }
    record.Put(out);
  }
  out.Line();
  out.Line();
  record.Put(out);

  if (locked) {
    flock(record.fd, LOCK_UN);
  }
  const bool closed = close(record.fd) == 0;
  return record.whole && closed;
}

// The handler that was there before this one, for each signal; never this one itself.
bool IsOurs(const struct sigaction& action) {
  return (action.sa_flags & SA_SIGINFO) != 0 && action.sa_sigaction == OnFatalSignal;
}

void GiveUp(int signal) {
  for (std::size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) {
    if (kSignals[i] == signal) {
      sigaction(signal, &previous[i], nullptr);
    }
  }
  raise(signal);
}

void OnFatalSignal(int signal, siginfo_t* info, void* context) {
  const int saved = errno;
  const long self = syscall(SYS_gettid);
  long expected = 0;
  if (crashingThread.compare_exchange_strong(expected, self)) {
    if (WriteRecord(signal, info, static_cast<const ucontext_t*>(context)) &&
        markerPath[0] != '\0') {
      const int marker = open(markerPath, O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
      if (marker >= 0) {
        close(marker);
      }
    }
  } else if (expected == self) {
    if (inStep != 0) {
      // A step of the record faulted: it is left off.
      siglongjmp(stepFault, 1);
    }
  } else {
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
  GiveUp(signal);
  errno = saved;
}

// A path too long for the buffer is not copied; the caller then keeps no path at all.
bool CopyPath(char* to, const std::string& from) {
  if (from.size() >= kPathMax) {
    return false;
  }
  std::memcpy(to, from.c_str(), from.size() + 1);
  return true;
}

}  // namespace

std::string CrashMarkerPath(const std::string& log) {
  return log.empty() ? std::string() : log + ".crashed";
}

void InstallCrashHandler(const std::string& path) {
  if (!CopyPath(logPath, path) || !CopyPath(markerPath, CrashMarkerPath(path))) {
    logPath[0] = '\0';
    markerPath[0] = '\0';
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) != nullptr) {
    utcOffset = local.tm_gmtoff;
  }
  // The walker loads its helper library now, not in the handler.
  void* warmUp[2];
  backtrace(warmUp, 2);
  PrepareMemoryProbe();

  // A stack overflow or a broken stack pointer leaves no stack for the handler: it gets
  // one of its own, here and in every thread (ThreadStacks.h).
  stack_t current{};
  if (sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) != 0) {
    stack_t alternate{};
    alternate.ss_sp = alternateStack;
    alternate.ss_size = sizeof alternateStack;
    sigaltstack(&alternate, nullptr);
  }

  struct sigaction action {};
  action.sa_sigaction = OnFatalSignal;
  // SA_NODEFER: a fault inside the handler comes back to it, which leaves that step of
  // the record off instead of dying silently.
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) {
    struct sigaction before {};
    if (sigaction(kSignals[i], &action, &before) == 0 && !IsOurs(before)) {
      previous[i] = before;
    }
  }
}

bool TakeCrashNotice(const std::string& path) {
  const std::string marker = CrashMarkerPath(path);
  return !marker.empty() && unlink(marker.c_str()) == 0;
}

}  // namespace vantrel
