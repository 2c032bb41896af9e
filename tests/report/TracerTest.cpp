// SPDX-License-Identifier: GPL-3.0-or-later
// The tracer: what it keeps of a raise and the texts it builds from that.

#include <gtest/gtest.h>

#include "DebugInfo.h"

#include <dlfcn.h>
#include <regex.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

#include "ErrorTracer.h"
#include "NoDebug.h"

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

TEST(Tracer, AnErrorWithoutRecordAndAnErrorOfNoClassAreStillDescribed) {
  std::string className;
  std::string message;
  DescribeError(std::make_exception_ptr(42), className, message);
  EXPECT_EQ(className, "int");
  EXPECT_EQ(message, "");
  const ErrorTexts texts = TErrorTracer::BuildTexts(std::exception_ptr());
  EXPECT_EQ(texts.callStack, std::vector<std::string>{"Call stack:"});
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
