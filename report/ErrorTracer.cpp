// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorTracer.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <dwarf.h>
#include <elfutils/libdw.h>
#include <elfutils/libdwfl.h>
#include <execinfo.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <typeinfo>

namespace vantrel {
namespace {

std::atomic<TErrorTracer*> installed{nullptr};
std::atomic<bool> recording{false};

// The last raises of a thread. A few, not one: reporting an error can itself raise and
// catch errors before it looks the first one up.
constexpr int kRecordsPerThread = 4;

struct ThreadRecords {
  RaiseRecord records[kRecordsPerThread];
  int next;
  int used;
  bool boundsKnown;
  std::uintptr_t stackLow, stackHigh;
};

thread_local ThreadRecords threadRecords;

using CxaThrow = void (*)(void*, std::type_info*, void (*)(void*));

CxaThrow FindRealThrow() {
  auto real = reinterpret_cast<CxaThrow>(dlsym(RTLD_NEXT, "__cxa_throw"));
  if (real == nullptr) {
    real = reinterpret_cast<CxaThrow>(dlvsym(RTLD_NEXT, "__cxa_throw", "CXXABI_1.3"));
  }
  if (real == nullptr) {
    // No throw can go on without the runtime's own: end plainly, and the crash handler
    // records where.
    static const char kSay[] = "Vantrel: the C++ runtime's __cxa_throw cannot be found\n";
    [[maybe_unused]] const ssize_t said = write(STDERR_FILENO, kSay, sizeof kSay - 1);
    std::abort();
  }
  return real;
}

CxaThrow RealThrow() {
  static const CxaThrow real = FindRealThrow();
  return real;
}

void StackBounds(ThreadRecords& records) {
  if (records.boundsKnown) {
    return;
  }
  records.boundsKnown = true;
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) != 0) {
    return;
  }
  void* low = nullptr;
  std::size_t size = 0;
  if (pthread_attr_getstack(&attr, &low, &size) == 0) {
    records.stackLow = reinterpret_cast<std::uintptr_t>(low);
    records.stackHigh = records.stackLow + size;
  }
  pthread_attr_destroy(&attr);
}

#if defined(__x86_64__)
// Reads the registers as they are when the raising call has just arrived here: the
// callee-saved ones and the stack and frame pointers are the raiser's own; the others
// hold what the raise passed along.
__attribute__((always_inline)) inline void CaptureRegisters(RaiseRegisters& out) {
  std::uint64_t gp[16];
  std::uint16_t seg[6];
  std::uint64_t flags;
  asm volatile(
      "movq %%rax, 0(%[gp])\n\t"
      "movq %%rbx, 8(%[gp])\n\t"
      "movq %%rcx, 16(%[gp])\n\t"
      "movq %%rdx, 24(%[gp])\n\t"
      "movq %%rsi, 32(%[gp])\n\t"
      "movq %%rdi, 40(%[gp])\n\t"
      "movq %%rbp, 48(%[gp])\n\t"
      "movq %%rsp, 56(%[gp])\n\t"
      "movq %%r8, 64(%[gp])\n\t"
      "movq %%r9, 72(%[gp])\n\t"
      "movq %%r10, 80(%[gp])\n\t"
      "movq %%r11, 88(%[gp])\n\t"
      "movq %%r12, 96(%[gp])\n\t"
      "movq %%r13, 104(%[gp])\n\t"
      "movq %%r14, 112(%[gp])\n\t"
      "movq %%r15, 120(%[gp])\n\t"
      "movw %%cs, 0(%[seg])\n\t"
      "movw %%ss, 2(%[seg])\n\t"
      "movw %%ds, 4(%[seg])\n\t"
      "movw %%es, 6(%[seg])\n\t"
      "movw %%fs, 8(%[seg])\n\t"
      "movw %%gs, 10(%[seg])\n\t"
      "pushfq\n\t"
      "popq %[flags]\n\t"
      : [flags] "=r"(flags)
      : [gp] "r"(gp), [seg] "r"(seg)
      : "memory");
  out.rax = gp[0];
  out.rbx = gp[1];
  out.rcx = gp[2];
  out.rdx = gp[3];
  out.rsi = gp[4];
  out.rdi = gp[5];
  out.rbp = gp[6];
  out.r8 = gp[8];
  out.r9 = gp[9];
  out.r10 = gp[10];
  out.r11 = gp[11];
  out.r12 = gp[12];
  out.r13 = gp[13];
  out.r14 = gp[14];
  out.r15 = gp[15];
  out.cs = seg[0];
  out.ss = seg[1];
  out.ds = seg[2];
  out.es = seg[3];
  out.fs = seg[4];
  out.gs = seg[5];
  out.flags = flags;
}
#else
inline void CaptureRegisters(RaiseRegisters&) {}
#endif

// The words above the raiser's stack pointer belong to frames that an address checker
// guards word by word; they are copied as the processor sees them.
__attribute__((no_sanitize("address"))) void CopyStackWords(std::uint64_t* to,
                                                            std::uintptr_t stackPointer) {
  const auto* from = reinterpret_cast<const volatile std::uint64_t*>(stackPointer);
  for (int i = 0; i < kStackWords; ++i) {
    to[i] = from[i];
  }
}

__attribute__((noinline)) void Record(void* object, RaiseRegisters registers,
                                      std::uintptr_t raiseAddress, std::uintptr_t stackPointer) {
  ThreadRecords& mine = threadRecords;
  RaiseRecord& record = mine.records[mine.next];
  mine.next = (mine.next + 1) % kRecordsPerThread;
  mine.used = std::min(mine.used + 1, kRecordsPerThread);

  record.object = object;
  registers.rip = raiseAddress;
  registers.rsp = stackPointer;
  record.registers = registers;

  // backtrace() starts in Record (or in a checker's wrapper of it); the frames up to the
  // raise address itself are the tracer's own and are left out.
  constexpr int kOwnFrames = 8;
  void* frames[kMaxStackEntries + kOwnFrames];
  const int got = backtrace(frames, kMaxStackEntries + kOwnFrames);
  int depth = 0;
  for (int i = 0; i < got && depth < kMaxStackEntries; ++i) {
    const auto address = reinterpret_cast<std::uintptr_t>(frames[i]);
    if (depth == 0 && address != raiseAddress) {
      continue;
    }
    record.addresses[depth++] = address;
  }
  if (depth == 0) {
    record.addresses[depth++] = raiseAddress;
  }
  record.depth = depth;

  StackBounds(mine);
  const std::size_t stackBytes = sizeof(record.stack);
  record.stackRead = mine.stackHigh != 0 && stackPointer >= mine.stackLow &&
                     stackPointer + stackBytes <= mine.stackHigh;
  if (record.stackRead) {
    CopyStackWords(record.stack.data(), stackPointer);
  } else {
    record.stack.fill(0);
  }
}

const void* ObjectOf(const std::exception_ptr& error) {
  // The runtime's exception_ptr is the address of the thrown object and nothing else; it
  // is the same address that the raise passed to __cxa_throw.
  static_assert(sizeof(std::exception_ptr) == sizeof(void*));
  const void* object = nullptr;
  std::memcpy(&object, static_cast<const void*>(&error), sizeof object);
  return object;
}

std::string BaseName(const char* path) {
  if (path == nullptr) {
    return std::string();
  }
  const char* slash = std::strrchr(path, '/');
  return slash != nullptr ? std::string(slash + 1) : std::string(path);
}

std::string Format(const char* format, auto... values) {
  char buffer[160];
  const int n = std::snprintf(buffer, sizeof buffer, format, values...);
  return std::string(buffer, static_cast<std::size_t>(std::clamp(n, 0, int{sizeof buffer} - 1)));
}

}  // namespace

// ----- the hook -----

}  // namespace vantrel

namespace __cxxabiv1 {

// Every throw of the program arrives here first.
extern "C" __attribute__((noreturn)) void __cxa_throw(void* object, std::type_info* type,
                                                      void (*destroy)(void*)) {
  if (vantrel::recording.load(std::memory_order_relaxed)) {
    vantrel::RaiseRegisters registers;
    vantrel::CaptureRegisters(registers);
    vantrel::Record(object, registers,
                    reinterpret_cast<std::uintptr_t>(__builtin_return_address(0)),
                    reinterpret_cast<std::uintptr_t>(__builtin_dwarf_cfa()));
  }
  vantrel::RealThrow()(object, type, destroy);
  __builtin_unreachable();
}

}  // namespace __cxxabiv1

namespace vantrel {

// ----- the tracer -----

TErrorTracer::TErrorTracer() {
  // The runtime's throw is looked up now, not at the first raise, and the stack walker
  // loads what it needs before any error or signal needs it.
  RealThrow();
  void* warmUp[2];
  backtrace(warmUp, 2);
  TErrorTracer* none = nullptr;
  installed.compare_exchange_strong(none, this);
  recording.store(true);
}

TErrorTracer::~TErrorTracer() {
  TErrorTracer* self = this;
  if (installed.compare_exchange_strong(self, nullptr)) {
    recording.store(false);
  }
}

void TErrorTracer::SetRecording(bool on) {
  if (installed.load() == this) {
    recording.store(on);
  }
}

RaiseRecord TErrorTracer::RecordOf(const std::exception_ptr& error) {
  const ThreadRecords& mine = threadRecords;
  const void* object = ObjectOf(error);
  const int latest = (mine.next + kRecordsPerThread - 1) % kRecordsPerThread;
  for (int back = 0; object != nullptr && back < mine.used; ++back) {
    const int i = (latest - back + kRecordsPerThread) % kRecordsPerThread;
    if (mine.records[i].object == object) {
      return mine.records[i];
    }
  }
  // Another error's stack would mislead more than none.
  return RaiseRecord();
}

std::string Demangled(const char* name) {
  if (name == nullptr) {
    return std::string();
  }
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> plain(
      abi::__cxa_demangle(name, nullptr, nullptr, &status), &std::free);
  return status == 0 && plain ? std::string(plain.get()) : std::string(name);
}

void DescribeError(const std::exception_ptr& error, std::string& className, std::string& message) {
  className.clear();
  message.clear();
  if (!error) {
    return;
  }
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    className = Demangled(typeid(e).name());
    message = e.what();
  } catch (...) {
    const std::type_info* type = abi::__cxa_current_exception_type();
    className = type != nullptr ? Demangled(type->name()) : std::string("unknown");
  }
}

ErrorTexts TErrorTracer::BuildTexts(const std::exception_ptr& error) {
  // Looked up before anything here can raise and replace the thread's latest record.
  const RaiseRecord record = RecordOf(error);
  std::string className;
  std::string message;
  DescribeError(error, className, message);

  const AddressResolver resolver;
  ErrorTexts texts;
  const std::uintptr_t raise = record.depth > 0 ? record.addresses[0] : 0;
  const AddressInfo at = raise != 0 ? resolver.Resolve(raise) : AddressInfo();
  texts.message = ErrorMessageText(className, at.module, raise != 0 ? raise - at.moduleBase : 0,
                                   message, at.file, at.line);
  texts.callStack = CallStackLines(FoldStack(record.addresses.data(), record.depth, resolver));

  std::uint8_t code[kCodeBytes];
  const bool codeRead = raise != 0 && ReadOwnMemory(record.registers.rip, code, sizeof code);
  texts.registers = RegisterLines(record.registers, codeRead ? code : nullptr,
                                  record.stackRead ? record.stack.data() : nullptr);
  return texts;
}

// ----- texts -----

std::vector<StackEntry> FoldStack(const std::uintptr_t* addresses, int count,
                                  const AddressResolver& resolver) {
  std::vector<StackEntry> entries;
  count = std::min(count, kMaxStackEntries);
  for (int i = 0; i < count; ++i) {
    if (!entries.empty() && entries.back().address == addresses[i]) {
      ++entries.back().count;
      continue;
    }
    const AddressInfo info = resolver.Resolve(addresses[i]);
    StackEntry entry;
    entry.address = addresses[i];
    entry.module = info.module;
    entry.function = info.function;
    entry.file = info.file;
    entry.line = info.line;
    entry.inlinedInto = info.inlinedInto;
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string ErrorMessageText(const std::string& className, const std::string& module,
                             std::uintptr_t offset, const std::string& message,
                             const std::string& file, int line) {
  std::string text = "Exception '" + className + "' in module " +
                     (module.empty() ? std::string("UNKNOWN") : module) + " at " +
                     Format("%.8" PRIXPTR, offset) + "\r\n" + message +
                     "\r\n\r\nSource file: " + (file.empty() ? std::string("UNKNOWN") : file) +
                     ", Line " + (line > 0 ? std::to_string(line) : std::string("UNKNOWN"));
  constexpr std::size_t kMessageLimit = 1024;
  if (text.size() > kMessageLimit) {
    // Cut before a character, never inside one: no byte of the form 10xxxxxx starts the
    // rest.
    std::size_t cut = kMessageLimit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
      --cut;
    }
    text.resize(cut);
  }
  return text;
}

std::vector<std::string> CallStackLines(const std::vector<StackEntry>& entries) {
  std::vector<std::string> lines{"Call stack:"};
  for (const StackEntry& entry : entries) {
    if (entry.count > 1) {
      lines.push_back(Format("Recursive call (%d times):", entry.count));
    }
    std::string line = Format(":%.16" PRIXPTR " [", entry.address) + entry.module + "]";
    if (!entry.function.empty()) {
      line += " " + entry.function;
    }
    if (!entry.file.empty() && entry.line > 0) {
      line += " (" + entry.file + ", line " + std::to_string(entry.line) + ")";
    }
    lines.push_back(std::move(line));
    // Code merged into its caller: the caller follows with the same address.
    for (const CallSite& site : entry.inlinedInto) {
      std::string outer = Format(":%.16" PRIXPTR " [", entry.address) + entry.module + "]";
      if (!site.function.empty()) {
        outer += " " + site.function;
      }
      if (!site.file.empty() && site.line > 0) {
        outer += " (" + site.file + ", line " + std::to_string(site.line) + ")";
      }
      lines.push_back(std::move(outer));
    }
  }
  return lines;
}

std::vector<std::string> RegisterLines(const RaiseRegisters& r, const std::uint8_t* codeBytes,
                                       const std::uint64_t* stack) {
  // The same rows as the crash record's, in the report's layout; the buffer holds the
  // longest text with room to spare.
  char buffer[2048];
  SignalSafeText out(buffer, sizeof buffer);
  AddRegisterRows(out, r, RegisterLayout::kErrorReport);
  if (codeBytes != nullptr) {
    AddCodeBytes(out, "Code at CS:RIP", codeBytes);
  }
  if (stack != nullptr) {
    AddStackWords(out, stack);
  }
  std::vector<std::string> lines;
  const std::string_view all(out.Data(), out.Size());
  for (std::size_t from = 0; from < all.size();) {
    std::size_t end = all.find("\r\n", from);
    if (end == std::string_view::npos) {
      end = all.size();
    }
    lines.emplace_back(all.substr(from, end - from));
    from = end + 2;
  }
  return lines;
}

// ----- addresses to names -----

struct AddressResolver::Session {
  Dwfl_Callbacks callbacks{};
  char* debugPath = nullptr;
  Dwfl* dwfl = nullptr;
};

AddressResolver::AddressResolver() : session_(std::make_unique<Session>()) {
  session_->callbacks.find_elf = dwfl_linux_proc_find_elf;
  session_->callbacks.find_debuginfo = dwfl_standard_find_debuginfo;
  session_->callbacks.debuginfo_path = &session_->debugPath;
  session_->dwfl = dwfl_begin(&session_->callbacks);
  if (session_->dwfl != nullptr) {
    dwfl_report_begin(session_->dwfl);
    const bool reported = dwfl_linux_proc_report(session_->dwfl, getpid()) == 0;
    dwfl_report_end(session_->dwfl, nullptr, nullptr);
    if (!reported) {
      dwfl_end(session_->dwfl);
      session_->dwfl = nullptr;
    }
  }
}

AddressResolver::~AddressResolver() {
  if (session_->dwfl != nullptr) {
    dwfl_end(session_->dwfl);
  }
}

AddressInfo AddressResolver::Resolve(std::uintptr_t returnAddress) const {
  AddressInfo info;
  // dladdr knows the module of any address of the process, also without debug information.
  Dl_info dl{};
  if (dladdr(reinterpret_cast<void*>(returnAddress), &dl) != 0) {
    info.module = BaseName(dl.dli_fname);
    info.moduleBase = reinterpret_cast<std::uintptr_t>(dl.dli_fbase);
  }
  if (session_->dwfl == nullptr || returnAddress == 0) {
    return info;
  }
  const Dwarf_Addr inside = returnAddress - 1;
  Dwfl_Module* module = dwfl_addrmodule(session_->dwfl, inside);
  if (module == nullptr) {
    return info;
  }
  if (info.module.empty()) {
    Dwarf_Addr start = 0;
    info.module = BaseName(
        dwfl_module_info(module, nullptr, &start, nullptr, nullptr, nullptr, nullptr, nullptr));
    info.moduleBase = start;
  }
  info.function = Demangled(dwfl_module_addrname(module, inside));
  if (Dwfl_Line* line = dwfl_module_getsrc(module, inside)) {
    int lineNo = 0;
    const char* file = dwfl_lineinfo(line, nullptr, &lineNo, nullptr, nullptr, nullptr);
    if (file != nullptr && lineNo > 0) {
      info.file = BaseName(file);
      info.line = lineNo;
    }
  }
  AddInlinedCallers(module, inside, info);
  return info;
}

namespace {

std::string DieName(Dwarf_Die* die) {
  Dwarf_Attribute attribute;
  if (dwarf_attr_integrate(die, DW_AT_linkage_name, &attribute) != nullptr) {
    if (const char* linkage = dwarf_formstring(&attribute)) {
      return Demangled(linkage);
    }
  }
  const char* name = dwarf_diename(die);
  return name != nullptr ? std::string(name) : std::string();
}

// The function definition whose code holds pc. GCC writes definitions at the top of their
// unit, clang inside the entry of their namespace or class; the scope search of libdw
// does not enter entries without code of their own, so both are looked for here.
bool FindFunction(Dwarf_Die* parent, Dwarf_Addr pc, Dwarf_Die* found) {
  Dwarf_Die child;
  if (dwarf_child(parent, &child) != 0) {
    return false;
  }
  do {
    switch (dwarf_tag(&child)) {
      case DW_TAG_subprogram:
        if (dwarf_haspc(&child, pc) > 0) {
          *found = child;
          return true;
        }
        break;
      case DW_TAG_namespace:
      case DW_TAG_class_type:
      case DW_TAG_structure_type:
      case DW_TAG_union_type:
        if (FindFunction(&child, pc, found)) {
          return true;
        }
        break;
      default:
        break;
    }
  } while (dwarf_siblingof(&child, &child) == 0);
  return false;
}

// Adds the merged functions whose code holds pc, from the outermost in parent inwards, to
// the front of merged, so that the innermost comes first.
void CollectMerged(Dwarf_Die* parent, Dwarf_Addr pc, std::vector<Dwarf_Die>& merged) {
  Dwarf_Die child;
  if (dwarf_child(parent, &child) != 0) {
    return;
  }
  do {
    const int tag = dwarf_tag(&child);
    if ((tag == DW_TAG_inlined_subroutine || tag == DW_TAG_lexical_block) &&
        dwarf_haspc(&child, pc) > 0) {
      if (tag == DW_TAG_inlined_subroutine) {
        merged.insert(merged.begin(), child);
      }
      CollectMerged(&child, pc, merged);
      return;
    }
  } while (dwarf_siblingof(&child, &child) == 0);
}

}  // namespace

// The symbol names the function that holds the address; when the address lies in code of
// other functions merged into it, the line belongs to the innermost of them. Each merged
// function is named, and each place where one was merged into the next becomes a line of
// its own, so that names and lines agree.
void AddressResolver::AddInlinedCallers(Dwfl_Module* module, std::uintptr_t inside,
                                        AddressInfo& info) {
  Dwarf_Addr bias = 0;
  Dwarf_Die* unit = dwfl_module_addrdie(module, inside, &bias);
  if (unit == nullptr) {
    return;
  }
  // The merged functions, innermost first; the symbol's own function holds them all.
  std::vector<Dwarf_Die> merged;
  Dwarf_Die function;
  if (FindFunction(unit, inside - bias, &function)) {
    CollectMerged(&function, inside - bias, merged);
  }
  if (!merged.empty()) {
    Dwarf_Files* files = nullptr;
    std::size_t fileCount = 0;
    if (dwarf_getsrcfiles(unit, &files, &fileCount) != 0) {
      files = nullptr;
    }
    const std::string outermost = info.function;
    info.function = DieName(&merged[0]);
    for (std::size_t k = 1; k <= merged.size(); ++k) {
      CallSite site;
      site.function = k < merged.size() ? DieName(&merged[k]) : outermost;
      Dwarf_Attribute attribute;
      Dwarf_Word file = 0;
      Dwarf_Word line = 0;
      if (files != nullptr &&
          dwarf_formudata(dwarf_attr(&merged[k - 1], DW_AT_call_file, &attribute), &file) == 0 &&
          file < fileCount) {
        site.file = BaseName(dwarf_filesrc(files, file, nullptr, nullptr));
      }
      if (dwarf_formudata(dwarf_attr(&merged[k - 1], DW_AT_call_line, &attribute), &line) == 0) {
        site.line = static_cast<int>(line);
      }
      info.inlinedInto.push_back(std::move(site));
    }
  }
}

}  // namespace vantrel
