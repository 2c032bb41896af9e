// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TErrorTracer: sees every C++ error where it is raised, handled or not, and keeps, per
// thread, the raise address, the return addresses above it and the processor registers.
// When an error is reported, it turns what was kept into the texts of the report: the
// error message, the call stack lines and the register lines. No Qt here: the tracer is
// installed before anything else exists and must work while the rest is broken.
//
// The raise is seen by a definition of __cxa_throw in the program that records and then
// hands the throw on to the C++ runtime's own; throws from inside the runtime's library
// pass through it too. Recording is a plain stack walk (a few microseconds), so that code
// that throws and catches as part of its normal work does not slow down noticeably.

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "MemoryProbe.h"   // ReadOwnMemory, for the code at a raise
#include "RegisterDump.h"  // RaiseRegisters and the register lines

typedef struct Dwfl_Module Dwfl_Module;

namespace vantrel {

inline constexpr int kMaxStackEntries = 100;

// What is kept of one raise. addresses[0] is the raise address (the return address of
// the call that raised), the others the return addresses above it, innermost first.
struct RaiseRecord {
  const void* object = nullptr;  // the error object, to find the record of a given error
  int depth = 0;
  std::array<std::uintptr_t, kMaxStackEntries> addresses{};
  RaiseRegisters registers;
  bool stackRead = false;  // the words at the stack pointer were within the thread's stack
  std::array<std::uint64_t, kStackWords> stack{};
};

// A function that the compiler merged into its caller, seen from the caller: the caller's
// name and the place of the call.
struct CallSite {
  std::string function;
  std::string file;
  int line = 0;
};

// One call stack entry after folding: a run of equal addresses is one entry with a count.
struct StackEntry {
  std::uintptr_t address = 0;
  std::string module;    // file name of the module, without folder; empty when unknown
  std::string function;  // empty when the debug information names none
  std::string file;      // source file name, without folder; empty when unknown
  int line = 0;          // 0 when unknown
  int count = 1;
  std::vector<CallSite> inlinedInto;  // innermost first; each is a line of its own
};

// Where an address lies: what the debug information says about it. function, file and
// line are those of the innermost code, also when it was merged into a caller.
struct AddressInfo {
  std::string module;
  std::uintptr_t moduleBase = 0;
  std::string function;
  std::string file;
  int line = 0;
  std::vector<CallSite> inlinedInto;
};

// Turns addresses of this process into module, function, source file and line, with the
// debug information of each module (libdw). One instance per report: it reads the
// module list of the process when it is made, so libraries loaded later are known too.
class AddressResolver {
 public:
  AddressResolver();
  ~AddressResolver();
  AddressResolver(const AddressResolver&) = delete;
  AddressResolver& operator=(const AddressResolver&) = delete;

  // A return address is looked up one byte before it, inside the call that it follows.
  AddressInfo Resolve(std::uintptr_t returnAddress) const;

 private:
  struct Session;
  static void AddInlinedCallers(Dwfl_Module* module, std::uintptr_t inside, AddressInfo& info);

  std::unique_ptr<Session> session_;
};

// The texts of one report.
struct ErrorTexts {
  std::string message;                 // "Exception '...' in module ...", CR LF inside
  std::vector<std::string> callStack;  // "Call stack:" and one line per entry
  std::vector<std::string> registers;  // "Registers:" and the register lines
};

class TErrorTracer {
 public:
  // Makes this the tracer of the process: from now on every raise on every thread is
  // recorded. Only one tracer is installed at a time; the destructor uninstalls it.
  TErrorTracer();
  ~TErrorTracer();
  TErrorTracer(const TErrorTracer&) = delete;
  TErrorTracer& operator=(const TErrorTracer&) = delete;

  // Whether raises are recorded. Off, a raise costs one load more than without the tracer.
  void SetRecording(bool on);

  // The record of the given error as kept on this thread; an empty record when the error
  // was not raised on this thread lately.
  static RaiseRecord RecordOf(const std::exception_ptr& error);

  // Builds the three texts for an error from what was recorded at its raise.
  static ErrorTexts BuildTexts(const std::exception_ptr& error);
};

// A type's name as the source spells it; the name as given when it cannot be demangled.
std::string Demangled(const char* name);

// Class name (demangled) and message of an error object; the message is empty for an
// error that carries none.
void DescribeError(const std::exception_ptr& error, std::string& className, std::string& message);

// The pieces of the text builders, open for tests.
std::vector<StackEntry> FoldStack(const std::uintptr_t* addresses, int count,
                                  const AddressResolver& resolver);
std::string ErrorMessageText(const std::string& className, const std::string& module,
                             std::uintptr_t offset, const std::string& message,
                             const std::string& file, int line);
std::vector<std::string> CallStackLines(const std::vector<StackEntry>& entries);
// codeBytes may be null (the code could not be read); so may stack.
std::vector<std::string> RegisterLines(const RaiseRegisters& registers,
                                       const std::uint8_t* codeBytes, const std::uint64_t* stack);

}  // namespace vantrel
