// SPDX-License-Identifier: GPL-3.0-or-later
// The tracer: what it keeps of a raise and the texts it builds from that.

#include <gtest/gtest.h>

#include "DebugInfo.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <regex.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <typeinfo>
#include <vector>

#include "ErrorTracer.h"
#include "NoDebug.h"
#include "WithDebug.h"

namespace vantrel {
namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    out += line + "\n";
  }
  return out;
}

// Whether the whole text matches the extended regular expression; the parenthesised
// parts go to groups.
bool Matches(const std::string& text, const std::string& pattern,
             std::vector<std::string>* groups = nullptr) {
  regex_t compiled;
  if (regcomp(&compiled, ("^" + pattern + "$").c_str(), REG_EXTENDED) != 0) {
    ADD_FAILURE() << "bad pattern " << pattern;
    return false;
  }
  regmatch_t parts[8];
  const bool matched = regexec(&compiled, text.c_str(), 8, parts, 0) == 0;
  if (matched && groups != nullptr) {
    groups->clear();
    for (std::size_t i = 1; i <= compiled.re_nsub && i < 8; ++i) {
      groups->push_back(parts[i].rm_so < 0 ? std::string()
                                           : text.substr(static_cast<std::size_t>(parts[i].rm_so),
                                                         static_cast<std::size_t>(parts[i].rm_eo -
                                                                                  parts[i].rm_so)));
    }
  }
  regfree(&compiled);
  return matched;
}

struct Raised {
  std::exception_ptr error;
  int line = 0;
};

__attribute__((noinline)) Raised RaiseEmpty() {
  Raised raised;
  try {
    raised.line = __LINE__ + 1;
    throw std::runtime_error(std::string());
  } catch (...) {
    raised.error = std::current_exception();
  }
  return raised;
}

__attribute__((noinline)) Raised RaiseNamed(const char* message) {
  Raised raised;
  try {
    raised.line = __LINE__ + 1;
    throw std::logic_error(message);
  } catch (...) {
    raised.error = std::current_exception();
  }
  return raised;
}

int inlinedRaiseLine = 0;
int inlinedCallLine = 0;

// Merged into its caller by the compiler.
__attribute__((always_inline)) inline void RaiseInlined() {
  inlinedRaiseLine = __LINE__ + 1;
  throw std::runtime_error("inlined");
}

__attribute__((noinline)) void CallsInlined() {
  inlinedCallLine = __LINE__ + 1;
  RaiseInlined();
}

int mergedTwiceLine = 0;
int callsMergedTwiceLine = 0;

// Merged into its caller, with RaiseInlined merged into it.
__attribute__((always_inline)) inline void MergedTwice() {
  mergedTwiceLine = __LINE__ + 1;
  RaiseInlined();
}

__attribute__((noinline)) void CallsMergedTwice() {
  callsMergedTwiceLine = __LINE__ + 1;
  MergedTwice();
}

// Calls itself depth times before raising; the work after the call keeps every level a
// real frame of its own.
__attribute__((noinline)) int Recurse(int depth) {
  if (depth == 0) {
    throw std::runtime_error("deep");
  }
  const int below = Recurse(depth - 1);
  asm volatile("" ::: "memory");
  return below + 1;
}

#if defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__) && defined(__OPTIMIZE__)
#define VANTREL_HELD_REGISTERS 1
struct HeldRegister {
  const char* name;  // as the register lines spell it
  std::uint64_t value;
  std::uint64_t RaiseRegisters::*field;
};

// Values that no address or counter of the raise would hold by chance.
constexpr HeldRegister kHeldRegisters[] = {
    {"R13", 0x5EA13A13C0DE1313, &RaiseRegisters::r13},
    {"R14", 0x5EA14A14C0DE1414, &RaiseRegisters::r14},
    {"R15", 0x5EA15A15C0DE1515, &RaiseRegisters::r15},
};

void DestroyRuntimeError(void* object) {
  static_cast<std::runtime_error*>(object)->~runtime_error();
}

// Raises with R13, R14 and R15 holding the values above. The throw is called straight
// from the assembly, so that no code of the compiler's own can use these registers
// between their loading and the raise.
__attribute__((noinline)) void RaiseHoldingRegisters() {
  void* object = abi::__cxa_allocate_exception(sizeof(std::runtime_error));
  new (object) std::runtime_error("held registers");
  void* type = const_cast<std::type_info*>(&typeid(std::runtime_error));
  void (*destroy)(void*) = DestroyRuntimeError;
  asm volatile(
      "movabsq %[r13], %%r13\n\t"
      "movabsq %[r14], %%r14\n\t"
      "movabsq %[r15], %%r15\n\t"
      "call __cxa_throw@PLT\n\t"
      :
      : "D"(object), "S"(type), "d"(destroy), [r13] "i"(kHeldRegisters[0].value),
        [r14] "i"(kHeldRegisters[1].value), [r15] "i"(kHeldRegisters[2].value)
      : "rax", "rcx", "r8", "r9", "r10", "r11", "r13", "r14", "r15", "memory", "cc");
  __builtin_unreachable();
}
#endif

#if !defined(__SANITIZE_ADDRESS__)
// The first raise of a run when the memory has run out, in a program of its own: this
// test program started anew with this variable set, before any test (or stack walk) ran.
constexpr char kFirstRaiseRun[] = "VANTREL_TRACER_FIRST_RAISE";

__attribute__((noinline)) void RaiseOutOfMemory() {
  throw std::bad_alloc();
}

// Takes whatever memory the process can still get: no more address space than it has,
// and every free piece of the heap, from the largest sizes to the smallest.
void UseUpMemory(rlimit& before) {
  char statm[64] = {};
  const int fd = open("/proc/self/statm", O_RDONLY);
  if (fd < 0 || read(fd, statm, sizeof statm - 1) <= 0) {
    _exit(2);
  }
  close(fd);
  if (getrlimit(RLIMIT_AS, &before) != 0) {
    _exit(2);
  }
  const rlimit none{std::strtoull(statm, nullptr, 10) * static_cast<rlim_t>(getpagesize()),
                    before.rlim_max};
  if (setrlimit(RLIMIT_AS, &none) != 0) {
    _exit(2);
  }
  for (std::size_t size = std::size_t{1} << 24; size > 0;
       size = size > 4096 ? size / 2 : size - 8) {
    // Kept in a volatile, so that the compiler cannot leave out an allocation nobody uses.
    void* volatile taken = nullptr;
    do {
      taken = std::malloc(size);
    } while (taken != nullptr);
  }
}

[[maybe_unused]] const bool firstRaiseRun = [] {
  if (std::getenv(kFirstRaiseRun) == nullptr) {
    return false;
  }
  TErrorTracer tracer;
  rlimit before{};
  UseUpMemory(before);
  std::exception_ptr error;
  try {
    RaiseOutOfMemory();
  } catch (...) {
    error = std::current_exception();
  }
  setrlimit(RLIMIT_AS, &before);
  std::fputs(Joined(TErrorTracer::BuildTexts(error).callStack).c_str(), stdout);
  std::fflush(stdout);
  _exit(0);
}();
#endif

// The texts of the error that raise throws, recorded by a tracer installed around it.
template <class Raise>
ErrorTexts TextsOfRaise(Raise raise) {
  TErrorTracer tracer;
  std::exception_ptr error;
  try {
    raise();
  } catch (...) {
    error = std::current_exception();
  }
  return TErrorTracer::BuildTexts(error);
}

TEST(Tracer, TheMessageNamesClassModuleOffsetEmptyTextAndTheRaisingLine) {
  VANTREL_SKIP_WITHOUT_DEBUG_INFO();
  TErrorTracer tracer;
  const Raised raised = RaiseEmpty();
  const ErrorTexts texts = TErrorTracer::BuildTexts(raised.error);

  std::vector<std::string> match;
  ASSERT_TRUE(Matches(texts.message,
                      "Exception 'std::runtime_error' in module tracer_tests at ([0-9A-F]{8,})\r\n"
                      "\r\n\r\nSource file: TracerTest\\.cpp, Line ([0-9]+)",
                      &match))
      << texts.message;
  EXPECT_EQ(std::stoi(match[1]), raised.line);

  // The offset leads back to the raise address from the module's load address.
  const RaiseRecord record = TErrorTracer::RecordOf(raised.error);
  Dl_info info{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(record.addresses[0]), &info), 0);
  EXPECT_EQ(std::stoull(match[0], nullptr, 16),
            record.addresses[0] - reinterpret_cast<std::uintptr_t>(info.dli_fbase));

  // The first stack entry is the raise itself, in the function that raised.
  ASSERT_GE(texts.callStack.size(), 3U);
  EXPECT_EQ(texts.callStack[0], "Call stack:");
  EXPECT_NE(texts.callStack[1].find("[tracer_tests] vantrel::(anonymous namespace)::RaiseEmpty()"),
            std::string::npos)
      << texts.callStack[1];
  EXPECT_NE(texts.callStack[1].find("(TracerTest.cpp, line " + std::to_string(raised.line) + ")"),
            std::string::npos)
      << texts.callStack[1];
}

TEST(Tracer, EachErrorIsReportedWithItsOwnRaiseAlsoAfterLaterOnes) {
  VANTREL_SKIP_WITHOUT_DEBUG_INFO();
  TErrorTracer tracer;
  const Raised first = RaiseNamed("first");
  const Raised second = RaiseEmpty();
  // A raise on another thread does not touch this thread's records.
  std::thread([] { RaiseNamed("elsewhere"); }).join();

  const ErrorTexts one = TErrorTracer::BuildTexts(first.error);
  EXPECT_NE(one.message.find("'std::logic_error'"), std::string::npos);
  EXPECT_NE(one.message.find("\r\nfirst\r\n"), std::string::npos);
  EXPECT_NE(one.message.find("Line " + std::to_string(first.line)), std::string::npos)
      << one.message;
  const ErrorTexts two = TErrorTracer::BuildTexts(second.error);
  EXPECT_NE(two.message.find("Line " + std::to_string(second.line)), std::string::npos)
      << two.message;
}

TEST(Tracer, ADeepRecursionIsFoldedAndTheStackKeepsAtMostAHundredEntries) {
  TErrorTracer tracer;
  std::exception_ptr error;
  try {
    Recurse(300);
  } catch (...) {
    error = std::current_exception();
  }
  const RaiseRecord record = TErrorTracer::RecordOf(error);
  EXPECT_EQ(record.depth, kMaxStackEntries);

  const ErrorTexts texts = TErrorTracer::BuildTexts(error);
  // The raise in the deepest level, then the one return address inside Recurse, 99 times.
  ASSERT_EQ(texts.callStack.size(), 4U) << Joined(texts.callStack);
  EXPECT_NE(texts.callStack[1].find("Recurse(int)"), std::string::npos);
  EXPECT_EQ(texts.callStack[2], "Recursive call (99 times):");
  EXPECT_NE(texts.callStack[3].find("Recurse(int)"), std::string::npos);
}

TEST(Tracer, RegistersAreThoseOfTheRaise) {
  TErrorTracer tracer;
  const Raised raised = RaiseEmpty();
  const RaiseRecord record = TErrorTracer::RecordOf(raised.error);
  EXPECT_EQ(record.registers.rip, record.addresses[0]);
  // The stack pointer lies in this thread's stack, just below this function's locals.
  const auto here = reinterpret_cast<std::uintptr_t>(&raised);
  EXPECT_LT(record.registers.rsp, here);
  EXPECT_GT(record.registers.rsp + 64 * 1024, here);
  ASSERT_TRUE(record.stackRead);

  const ErrorTexts texts = TErrorTracer::BuildTexts(raised.error);
  const std::string lines = Joined(texts.registers);
  EXPECT_TRUE(Matches(lines,
                      "Registers:\nRAX = [0-9A-F]{16}  CS = [0-9A-F]{4}"
                      "  RIP = [0-9A-F]{16}  Flags = [0-9A-F]{8}\n.*"))
      << lines;
  // The code bytes are those at the raise address.
  std::uint8_t code[kCodeBytes];
  std::memcpy(code, reinterpret_cast<const void*>(record.addresses[0]), sizeof code);
  char first[4];
  std::snprintf(first, sizeof first, "%.2X ", unsigned{code[0]});
  EXPECT_NE(lines.find("Code at CS:RIP\n" + std::string(first)), std::string::npos) << lines;
  EXPECT_TRUE(Matches(lines, ".*\nStack:\n(([0-9A-F]{16} ){5}\n){4}")) << lines;
}

// The registers that the raiser keeps for its caller reach the record and the report's
// register lines with the values they held at the raise.
TEST(Tracer, RegistersKeptForTheCallerAreReportedWithTheirValuesAtTheRaise) {
#if defined(VANTREL_HELD_REGISTERS)
  TErrorTracer tracer;
  std::exception_ptr error;
  try {
    RaiseHoldingRegisters();
  } catch (...) {
    error = std::current_exception();
  }
  ASSERT_TRUE(error);
  const RaiseRecord record = TErrorTracer::RecordOf(error);
  ASSERT_GT(record.depth, 0);
  const std::string lines = Joined(TErrorTracer::BuildTexts(error).registers);
  std::vector<std::string> values;
  ASSERT_TRUE(Matches(lines,
                      ".*\nR12 = [0-9A-F]{16}  R13 = ([0-9A-F]{16})  R14 = ([0-9A-F]{16})"
                      "  R15 = ([0-9A-F]{16})\n.*",
                      &values))
      << lines;
  ASSERT_EQ(values.size(), std::size(kHeldRegisters));
  for (std::size_t i = 0; i < std::size(kHeldRegisters); ++i) {
    const HeldRegister& held = kHeldRegisters[i];
    SCOPED_TRACE(held.name);
#if defined(__clang__)
    // clang's build of the raise hook uses R14 and R15 itself before it reads the
    // registers, so the report shows the hook's values there; R13 it leaves alone.
    if (std::string_view(held.name) != "R13") {
      continue;
    }
#endif
    EXPECT_EQ(record.registers.*held.field, held.value);
    char expected[17];
    std::snprintf(expected, sizeof expected, "%.16llX",
                  static_cast<unsigned long long>(held.value));
    EXPECT_EQ(values[i], expected) << lines;
  }
#else
  // An unoptimised or address-checked build cannot unwind through the hand-written raise.
  GTEST_SKIP() << "the registers are read on optimised x86-64 builds only";
#endif
}

// Running out of memory may well be the first error of a run; its report still shows
// where it came from: the stack walk needs no memory at the first raise.
TEST(Tracer, TheFirstRaiseOfARunWithoutFreeMemoryHasItsWholeCallStack) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address checker's heap does not run out this way";
#else
  VANTREL_SKIP_WITHOUT_DEBUG_INFO();
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    setenv(kFirstRaiseRun, "1", 1);
    execl("/proc/self/exe", "tracer_tests", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(n));
  }
  close(out[0]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;

  // The raise, then the function that called the raiser: the run's start-up code.
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(text.substr(at, end - at));
  }
  ASSERT_GE(lines.size(), 3U) << text;
  EXPECT_EQ(lines[0], "Call stack:");
  EXPECT_NE(lines[1].find("RaiseOutOfMemory()"), std::string::npos) << text;
  EXPECT_NE(lines[2].find("(TracerTest.cpp, line "), std::string::npos) << text;
#endif
}

TEST(Tracer, WithoutDebugInformationTheSourceIsUnknown) {
  VANTREL_SKIP_WITHOUT_DEBUG_INFO();
  const ErrorTexts texts = TextsOfRaise([] { RaiseWithoutDebugInformation(); });
  EXPECT_TRUE(Matches(texts.message,
                      "Exception 'std::out_of_range' in module libtracer_nodebug\\.so at "
                      "[0-9A-F]{8,}\r\nno debug information\r\n\r\n"
                      "Source file: UNKNOWN, Line UNKNOWN"))
      << texts.message;
  // The stack line keeps the module and the name of the exported function, nothing more.
  ASSERT_GE(texts.callStack.size(), 3U);
  EXPECT_TRUE(Matches(texts.callStack[1],
                      ":[0-9A-F]{16} \\[libtracer_nodebug\\.so\\] "
                      "RaiseWithoutDebugInformation\\(\\)"))
      << texts.callStack[1];
  // The next entry is back in code with debug information.
  EXPECT_NE(texts.callStack[2].find("(TracerTest.cpp, line "), std::string::npos);
}

TEST(Tracer, CodeMergedIntoItsCallerIsNamedWithTheCallerAndThePlaceOfTheCall) {
  VANTREL_SKIP_WITHOUT_DEBUG_INFO();
  const ErrorTexts texts = TextsOfRaise([] { CallsInlined(); });
  ASSERT_GE(texts.callStack.size(), 3U);
  const std::string address = texts.callStack[1].substr(0, 18);
  // The merged function is named as its debug information names it: GCC gives it no
  // linkage name of its own (a bare name), clang does (the full signature).
  EXPECT_TRUE(Matches(texts.callStack[1],
                      ":[0-9A-F]{16} \\[tracer_tests\\] "
                      "(vantrel::\\(anonymous namespace\\)::)?RaiseInlined(\\(\\))? "
                      "\\(TracerTest\\.cpp, line " +
                          std::to_string(inlinedRaiseLine) + "\\)"))
      << Joined(texts.callStack);
  EXPECT_EQ(texts.callStack[2].substr(0, 18), address);
  EXPECT_NE(texts.callStack[2].find("CallsInlined() (TracerTest.cpp, line " +
                                    std::to_string(inlinedCallLine) + ")"),
            std::string::npos)
      << Joined(texts.callStack);
}

// Each function merged into the next is a line of its own, innermost first, all at the one
// address of the raise; each names the place where it was merged into the next.
TEST(Tracer, CodeMergedTwiceNamesEveryPlaceOfCallInOrder) {
  VANTREL_SKIP_WITHOUT_DEBUG_INFO();
  const ErrorTexts texts = TextsOfRaise([] { CallsMergedTwice(); });
  ASSERT_GE(texts.callStack.size(), 4U) << Joined(texts.callStack);
  const std::string address = texts.callStack[1].substr(0, 18);
  const struct {
    const char* function;
    int line;
  } entries[] = {
      {"RaiseInlined", inlinedRaiseLine},
      {"MergedTwice", mergedTwiceLine},
      {"CallsMergedTwice", callsMergedTwiceLine},
  };
  for (std::size_t i = 0; i < std::size(entries); ++i) {
    SCOPED_TRACE(entries[i].function);
    EXPECT_EQ(texts.callStack[i + 1].substr(0, 18), address);
    EXPECT_TRUE(Matches(texts.callStack[i + 1],
                        ":[0-9A-F]{16} \\[tracer_tests\\] "
                        "(vantrel::\\(anonymous namespace\\)::)?" +
                            std::string(entries[i].function) +
                            "(\\(\\))? \\(TracerTest\\.cpp, line " +
                            std::to_string(entries[i].line) + "\\)"))
        << Joined(texts.callStack);
  }
}

// The same in a library that carries its debug information in every build type, with the
// functions that raise defined after another in their file, and one of them calling the
// merged code from inside a block of its own: the merged code is found there too, named,
// and placed at the throw and at the call.
TEST(Tracer, MergedCodeOfAFunctionDefinedLaterInItsFileIsNamedAtEveryPlace) {
  const struct {
    const char* name;
    void (*raise)();
    // As the line names it, escaped for the pattern; the code of a raise may stand in a
    // part of the function that the compiler keeps apart as rarely run.
    const char* caller;
    int MergedRaisePlaces::*callLine;
  } rows[] = {
      {"straight", [] { CallMergedRaise(); }, "vantrel::CallMergedRaise\\(\\)",
       &MergedRaisePlaces::callLine},
      {"inside a block", [] { CallMergedRaiseInABlock(3); },
       "vantrel::CallMergedRaiseInABlock\\(int\\)", &MergedRaisePlaces::blockCallLine},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const ErrorTexts texts = TextsOfRaise(row.raise);
    const MergedRaisePlaces places = PlacesOfMergedRaise();
    ASSERT_GT(places.raiseLine, 0);
    ASSERT_GT(places.*row.callLine, 0);
    ASSERT_GE(texts.callStack.size(), 3U) << Joined(texts.callStack);
    const std::string address = texts.callStack[1].substr(0, 18);
    EXPECT_TRUE(Matches(texts.callStack[1],
                        ":[0-9A-F]{16} \\[libtracer_withdebug\\.so\\] "
                        "(vantrel::\\(anonymous namespace\\)::)?RaiseMerged(\\(\\))? "
                        "\\(WithDebug\\.cpp, line " +
                            std::to_string(places.raiseLine) + "\\)"))
        << Joined(texts.callStack);
    EXPECT_EQ(texts.callStack[2].substr(0, 18), address);
    EXPECT_TRUE(Matches(texts.callStack[2],
                        ":[0-9A-F]{16} \\[libtracer_withdebug\\.so\\] " + std::string(row.caller) +
                            "( \\[clone \\.cold\\])? \\(WithDebug\\.cpp, line " +
                            std::to_string(places.*row.callLine) + "\\)"))
        << Joined(texts.callStack);
  }
}

// The message names what is known of the raise and says UNKNOWN for each part that is not.
TEST(Tracer, TheMessageSaysUnknownForEachPartNotKnown) {
  const struct {
    const char* name;
    std::string module;
    std::string file;
    int line;
    const char* expected;
  } rows[] = {
      {"all known", "vantrel", "Search.cpp", 42,
       "Exception 'std::runtime_error' in module vantrel at 00001A2B\r\nboom\r\n\r\n"
       "Source file: Search.cpp, Line 42"},
      {"no module", "", "Search.cpp", 42,
       "Exception 'std::runtime_error' in module UNKNOWN at 00001A2B\r\nboom\r\n\r\n"
       "Source file: Search.cpp, Line 42"},
      {"no file", "vantrel", "", 42,
       "Exception 'std::runtime_error' in module vantrel at 00001A2B\r\nboom\r\n\r\n"
       "Source file: UNKNOWN, Line 42"},
      {"no line", "vantrel", "Search.cpp", 0,
       "Exception 'std::runtime_error' in module vantrel at 00001A2B\r\nboom\r\n\r\n"
       "Source file: Search.cpp, Line UNKNOWN"},
      {"nothing", "", "", 0,
       "Exception 'std::runtime_error' in module UNKNOWN at 00001A2B\r\nboom\r\n\r\n"
       "Source file: UNKNOWN, Line UNKNOWN"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(
        ErrorMessageText("std::runtime_error", row.module, 0x1A2B, "boom", row.file, row.line),
        row.expected);
  }
}

TEST(Tracer, TheMessageIsCutAt1024BytesBeforeACharacterNeverInsideOne) {
  struct Row {
    const char* name;
    std::string piece;
    std::size_t size;
  } rows[] = {
      {"one byte", "x", 1024},
      {"two bytes, cut inside", "x\xC3\xA9", 1023},  // 62 bytes before the message
      {"three bytes, cut inside", "\xE2\x82\xAC", 1022},
      {"four bytes, cut inside", "\xF0\x9F\x98\x80", 1022},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string message;
    while (message.size() < 5000) {
      message += row.piece;
    }
    const std::string text = ErrorMessageText("std::runtime_error", "vantrel", 0, message, "", 0);
    EXPECT_EQ(text.size(), row.size);
    // The last character is whole: its lead byte announces as many bytes as are left.
    std::size_t lead = text.size() - 1;
    while ((static_cast<unsigned char>(text[lead]) & 0xC0) == 0x80) {
      --lead;
    }
    const auto first = static_cast<unsigned char>(text[lead]);
    const std::size_t length = first < 0x80 ? 1 : first < 0xE0 ? 2 : first < 0xF0 ? 3 : 4;
    EXPECT_EQ(text.size() - lead, length);
  }
}

// A stack line names the source place only when both its file and its line are known; a
// frame of code without debug information keeps its module and name alone. The same holds
// for each place where merged code was called.
TEST(Tracer, AStackLineNamesItsSourcePlaceOnlyWhenFileAndLineAreKnown) {
  const struct {
    const char* name;
    std::string function;
    std::string file;
    int line;
    const char* expected;
  } rows[] = {
      {"file and line", "vantrel::Search()", "Search.cpp", 42,
       ":00000000004A2F10 [vantrel] vantrel::Search() (Search.cpp, line 42)"},
      {"neither file nor line", "RaiseWithoutDebugInformation()", "", 0,
       ":00000000004A2F10 [vantrel] RaiseWithoutDebugInformation()"},
      {"a file without a line", "vantrel::Search()", "Search.cpp", 0,
       ":00000000004A2F10 [vantrel] vantrel::Search()"},
      {"a line without a file", "vantrel::Search()", "", 7,
       ":00000000004A2F10 [vantrel] vantrel::Search()"},
      {"a place without a name", "", "Search.cpp", 3,
       ":00000000004A2F10 [vantrel] (Search.cpp, line 3)"},
      {"no name and no place", "", "", 0, ":00000000004A2F10 [vantrel]"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    StackEntry entry;
    entry.address = 0x4A2F10;
    entry.module = "vantrel";
    entry.function = row.function;
    entry.file = row.file;
    entry.line = row.line;
    EXPECT_EQ(CallStackLines({entry}), (std::vector<std::string>{"Call stack:", row.expected}));

    // The same place as the caller of merged code, after a merged line with its place.
    StackEntry merged;
    merged.address = 0x4A2F10;
    merged.module = "vantrel";
    merged.function = "Inner";
    merged.file = "Inner.h";
    merged.line = 9;
    merged.count = 2;
    merged.inlinedInto.push_back(CallSite{row.function, row.file, row.line});
    EXPECT_EQ(CallStackLines({merged}),
              (std::vector<std::string>{"Call stack:", "Recursive call (2 times):",
                                        ":00000000004A2F10 [vantrel] Inner (Inner.h, line 9)",
                                        row.expected}));
  }
}

TEST(Tracer, AnErrorWithoutRecordAndAnErrorOfNoClassAreStillDescribed) {
  std::string className;
  std::string message;
  DescribeError(std::make_exception_ptr(42), className, message);
  EXPECT_EQ(className, "int");
  EXPECT_EQ(message, "");
  const ErrorTexts texts = TErrorTracer::BuildTexts(std::exception_ptr());
  EXPECT_EQ(texts.callStack, std::vector<std::string>{"Call stack:"});
}

// The class name and the message are the given error's alone, also in strings that held
// another error's before.
TEST(Tracer, TheDescriptionOfAnErrorKeepsNothingOfAnEarlierOne) {
  const struct {
    const char* name;
    std::exception_ptr error;
    const char* className;
    const char* message;
  } rows[] = {
      {"no error", std::exception_ptr(), "", ""},
      {"an error of no class", std::make_exception_ptr(42), "int", ""},
      {"an error without text", std::make_exception_ptr(std::runtime_error("")),
       "std::runtime_error", ""},
      {"an error with text", std::make_exception_ptr(std::logic_error("second")),
       "std::logic_error", "second"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string className = "std::out_of_range";
    std::string message = "the earlier error's text";
    DescribeError(row.error, className, message);
    EXPECT_EQ(className, row.className);
    EXPECT_EQ(message, row.message);
  }
}

// The tracer's texts and the application's warning name types the same way.
TEST(Tracer, TypeNamesAreSpelledAsInTheSource) {
  struct Local {};
  EXPECT_EQ(Demangled(typeid(std::runtime_error).name()), "std::runtime_error");
  EXPECT_EQ(Demangled(typeid(std::vector<int>).name()), "std::vector<int, std::allocator<int> >");
  EXPECT_NE(Demangled(typeid(Local).name()).find("Local"), std::string::npos);
  EXPECT_EQ(Demangled("not a mangled name"), "not a mangled name");
  EXPECT_EQ(Demangled(nullptr), "");
}

TEST(Tracer, OwnMemoryIsReadOnlyWhereItIsMapped) {
  int value = 7;
  int copy = 0;
  EXPECT_TRUE(ReadOwnMemory(reinterpret_cast<std::uintptr_t>(&value), &copy, sizeof copy));
  EXPECT_EQ(copy, 7);
  EXPECT_FALSE(ReadOwnMemory(16, &copy, sizeof copy));
}

}  // namespace
}  // namespace vantrel
