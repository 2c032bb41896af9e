// SPDX-License-Identifier: GPL-3.0-or-later
#include "CrashHandler.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <fcntl.h>
#include <pthread.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <new>

namespace vantrel {
namespace {

// Everything below runs inside a signal handler after the program broke: no allocation,
// no locks, no stdio; only system calls and static buffers.

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr std::size_t kPathMax = 4096;
constexpr int kMaxFrames = 100;
constexpr std::size_t kAlternateStackSize = 64 * 1024;

char logPath[kPathMax];
char markerPath[kPathMax];
long utcOffset = 0;  // seconds east of UTC, taken when the handler is installed
struct sigaction previous[sizeof kSignals / sizeof kSignals[0]];
std::atomic<long> crashingThread{0};

alignas(16) char alternateStack[kAlternateStackSize];
char maps[256 * 1024];
char text[64 * 1024];

void OnFatalSignal(int signal, siginfo_t* info, void* context);

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

// Reads memory that may not be there without touching it: the kernel copies it, and an
// address that is not mapped gives an error, not a second fault.
int probe[2] = {-1, -1};  // a pipe, where the kernel lacks process_vm_readv

bool ReadMemory(void* to, std::uintptr_t from, std::size_t count) {
  iovec local{to, count};
  iovec remote{reinterpret_cast<void*>(from), count};
  const ssize_t n = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
  if (n == static_cast<ssize_t>(count)) {
    return true;
  }
  if (n >= 0 || (errno != ENOSYS && errno != EPERM) || probe[1] < 0) {
    return false;
  }
  // write() from an unmapped address fails with EFAULT.
  if (write(probe[1], reinterpret_cast<const void*>(from), count) != static_cast<ssize_t>(count)) {
    char drain[64];
    while (read(probe[0], drain, sizeof drain) > 0) {
    }
    return false;
  }
  return read(probe[0], to, count) == static_cast<ssize_t>(count);
}

// The mappings, cut after the last whole line: a list longer than the buffer loses its
// end, never the end of a line.
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
  while (used > 0 && maps[used - 1] != '\n') {
    --used;
  }
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

// One line of the mappings: "start-stop perms offset dev inode   path".
struct Mapping {
  std::uint64_t start = 0;
  std::uint64_t stop = 0;
  std::uint64_t offset = 0;
  bool executable = false;
  const char* name = nullptr;  // file name without folder, up to nameEnd
  const char* nameEnd = nullptr;
};

bool FindMapping(std::uint64_t address, std::size_t mapsSize, Mapping& found) {
  const char* p = maps;
  const char* end = maps + mapsSize;
  while (p < end) {
    const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', end - p));
    if (lineEnd == nullptr) {
      return false;
    }
    const char* q = p;
    found.start = ParseHex(q, lineEnd);
    if (q < lineEnd) {
      ++q;
    }
    found.stop = ParseHex(q, lineEnd);
    if (address >= found.start && address < found.stop) {
      found.executable = lineEnd - q > 4 && q[3] == 'x';
      q = lineEnd - q > 6 ? q + 6 : lineEnd;  // " rwxp "
      found.offset = ParseHex(q, lineEnd);
      const char* path = static_cast<const char*>(std::memchr(q, '/', lineEnd - q));
      found.name = path;
      for (const char* s = path; s != nullptr && s < lineEnd; ++s) {
        if (*s == '/') {
          found.name = s + 1;
        }
      }
      found.nameEnd = lineEnd;
      return true;
    }
    p = lineEnd + 1;
  }
  return false;
}

// " [module] +offset" for an address, from the process's own list of mappings: the
// offset is the one in the module's file, which is what a debugger is given.
void AddModule(Text& out, std::uint64_t address, std::size_t mapsSize) {
  Mapping mapping;
  if (!FindMapping(address, mapsSize, mapping)) {
    out.Add(" []");
    return;
  }
  out.Add(" [");
  if (mapping.name != nullptr) {
    out.AddN(mapping.name, static_cast<std::size_t>(mapping.nameEnd - mapping.name));
  }
  out.Add("] +");
  out.Hex(address - mapping.start + mapping.offset, 8);
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
  // The bytes at the instruction and stack pointers, where they can be read.
  unsigned char code[16];
  if (ReadMemory(code, static_cast<std::uintptr_t>(g[REG_RIP]), sizeof code)) {
    out.Add("Code at RIP");
    out.Line();
    for (unsigned char byte : code) {
      out.Hex(byte, 2);
      out.Add(" ");
    }
    out.Line();
  }
  std::uint64_t stack[20];
  if (ReadMemory(stack, static_cast<std::uintptr_t>(g[REG_RSP]), sizeof stack)) {
    out.Add("Stack:");
    out.Line();
    for (int row = 0; row < 4; ++row) {
      for (int column = 0; column < 5; ++column) {
        out.Hex(stack[row * 5 + column], 16);
        out.Add(" ");
      }
      out.Line();
    }
  }
#else
  (void)out;
  (void)context;
#endif
}

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
  void Put(Text& out) {
    std::size_t done = 0;
    while (whole && done < out.used) {
      const ssize_t n = write(fd, text + done, out.used - done);
      if (n < 0 && errno == EINTR) {
        continue;
      }
      if (n <= 0) {
        whole = false;
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    out.used = 0;
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

std::uintptr_t ContextPc(const ucontext_t* context) {
#if defined(__x86_64__)
  return context != nullptr ? static_cast<std::uintptr_t>(context->uc_mcontext.gregs[REG_RIP]) : 0;
#else
  (void)context;
  return 0;
#endif
}

// The return addresses from the broken state: the instruction pointer, the return
// address on top of the stack when the instruction pointer is no code (a call to a bad
// address has just pushed it), and then the chain of frame pointers. Every word is read
// through the kernel, and the chain must climb the stack, so no address can fault.
int WalkFrames(const ucontext_t* context, std::size_t mapsSize, std::uintptr_t* frames, int max) {
  int depth = 0;
#if defined(__x86_64__)
  if (context == nullptr) {
    return 0;
  }
  const greg_t* g = context->uc_mcontext.gregs;
  const auto pc = static_cast<std::uintptr_t>(g[REG_RIP]);
  const auto sp = static_cast<std::uintptr_t>(g[REG_RSP]);
  frames[depth++] = pc;
  Mapping mapping;
  if (!FindMapping(pc, mapsSize, mapping) || !mapping.executable) {
    std::uintptr_t top = 0;
    if (ReadMemory(&top, sp, sizeof top) && top != 0) {
      frames[depth++] = top;
    }
  }
  std::uintptr_t fp = static_cast<std::uintptr_t>(g[REG_RBP]);
  while (depth < max && fp != 0 && fp % sizeof(void*) == 0) {
    std::uintptr_t pair[2];  // the caller's frame pointer, the return address
    if (!ReadMemory(pair, fp, sizeof pair) || pair[1] == 0 ||
        !FindMapping(pair[1], mapsSize, mapping) || !mapping.executable) {
      break;
    }
    frames[depth++] = pair[1];
    if (pair[0] <= fp || pair[0] - fp > 16 * 1024 * 1024) {
      break;
    }
    fp = pair[0];
  }
#else
  (void)context;
  (void)mapsSize;
  (void)frames;
  (void)max;
#endif
  return depth;
}

// Whether the unwinder of the system can start from this state: the code and the stack
// are where they should be. It still runs guarded.
bool SaneState(const ucontext_t* context, std::size_t mapsSize) {
#if defined(__x86_64__)
  if (context == nullptr) {
    return false;
  }
  Mapping mapping;
  std::uintptr_t top = 0;
  return FindMapping(ContextPc(context), mapsSize, mapping) && mapping.executable &&
         ReadMemory(&top, static_cast<std::uintptr_t>(context->uc_mcontext.gregs[REG_RSP]),
                    sizeof top);
#else
  (void)context;
  (void)mapsSize;
  return true;
#endif
}

bool WriteRecord(int signal, const siginfo_t* info, const ucontext_t* context) {
  Record record;
  record.fd = OpenLog();
  if (record.fd < 0) {
    return false;
  }
  const bool locked = LockBriefly(record.fd);

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
  out.Add("Call stack:");
  out.Line();
  record.Put(out);

  std::size_t mapsSize = 0;
  if (!Guarded([&] { mapsSize = ReadMaps(); })) {
    mapsSize = 0;
  }

  static std::uintptr_t frames[kMaxFrames];
  int depth = 0;
  const bool sane = SaneState(context, mapsSize);
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
    depth = WalkFrames(context, mapsSize, frames, kMaxFrames);
  }
  for (int i = 0; i < depth; ++i) {
    Guarded([&] {
      out.Add(":");
      out.Hex(frames[i], 16);
      AddModule(out, frames[i], mapsSize);
      out.Line();
    });
    record.Put(out);
  }
  out.Line();
  record.Put(out);
  if (context != nullptr) {
    if (!Guarded([&] { AddRegisters(out, context); })) {
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

bool CopyPath(char* to, const std::string& from) {
  if (from.size() >= kPathMax) {
    to[0] = '\0';
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
  if (probe[0] < 0 && pipe2(probe, O_NONBLOCK | O_CLOEXEC) != 0) {
    probe[0] = probe[1] = -1;
  }

  // A stack overflow or a broken stack pointer leaves no stack for the handler: it gets
  // one of its own, here and in every thread started from now on.
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

// ----- an alternate signal stack for every thread -----
//
// The program's threads are mostly started by the libraries it uses, so the start of
// every thread is taken over here: each thread runs with an alternate signal stack of its
// own, mapped with a guard page below it and unmapped when the thread ends. The address
// checker keeps its own thread list and gives threads their own stacks, so it keeps the
// start for itself.

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VANTREL_THREADS_OF_THE_CHECKER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VANTREL_THREADS_OF_THE_CHECKER 1
#endif

#if !defined(VANTREL_THREADS_OF_THE_CHECKER)
namespace vantrel {
namespace {

struct ThreadStart {
  void* (*start)(void*);
  void* argument;
};

class AlternateStack {
 public:
  AlternateStack() {
    const long page = sysconf(_SC_PAGESIZE);
    size_ = kAlternateStackSize + static_cast<std::size_t>(page);
    void* area = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) {
      return;
    }
    area_ = static_cast<char*>(area);
    mprotect(area_, static_cast<std::size_t>(page), PROT_NONE);
    stack_t alternate{};
    alternate.ss_sp = area_ + page;
    alternate.ss_size = kAlternateStackSize;
    sigaltstack(&alternate, nullptr);
  }
  ~AlternateStack() {
    if (area_ == nullptr) {
      return;
    }
    stack_t none{};
    none.ss_flags = SS_DISABLE;
    sigaltstack(&none, nullptr);
    munmap(area_, size_);
  }
  AlternateStack(const AlternateStack&) = delete;
  AlternateStack& operator=(const AlternateStack&) = delete;

 private:
  char* area_ = nullptr;
  std::size_t size_ = 0;
};

void* StartWithAlternateStack(void* argument) {
  const ThreadStart start = *static_cast<ThreadStart*>(argument);
  delete static_cast<ThreadStart*>(argument);
  // Also unmapped when the thread ends by pthread_exit or is cancelled: both unwind.
  const AlternateStack stack;
  return start.start(start.argument);
}

using CreateThread = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);

}  // namespace
}  // namespace vantrel

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                              void* (*start)(void*), void* argument) {
  static const auto real =
      reinterpret_cast<vantrel::CreateThread>(dlsym(RTLD_NEXT, "pthread_create"));
  if (real == nullptr) {
    return EAGAIN;
  }
  auto* wrapped = new (std::nothrow) vantrel::ThreadStart{start, argument};
  if (wrapped == nullptr) {
    return real(thread, attributes, start, argument);
  }
  const int result = real(thread, attributes, vantrel::StartWithAlternateStack, wrapped);
  if (result != 0) {
    delete wrapped;
  }
  return result;
}
#endif
