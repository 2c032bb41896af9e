// SPDX-License-Identifier: GPL-3.0-or-later
// The error log: records appended whole, never interleaved, and dropped without harm when
// the file cannot be written.

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CrashHandler.h"
#include "ErrorLog.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

int WaitBriefly(pid_t child);
void NullWrite();

class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/vantrel-log-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~ScratchFolder() { fs::remove_all(path_); }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int Count(const std::string& text, const std::string& piece) {
  int n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos;
       at = text.find(piece, at + piece.size())) {
    ++n;
  }
  return n;
}

ErrorTexts SomeTexts(const std::string& tag) {
  ErrorTexts texts;
  texts.message = "Exception 'std::runtime_error' in module vantrel at 00001000\r\n" + tag +
                  "\r\n\r\nSource file: UNKNOWN, Line UNKNOWN";
  texts.callStack = {"Call stack:", ":0000000000401000 [vantrel]"};
  texts.registers = {"Registers:", "RAX = 0000000000000000"};
  return texts;
}

TEST(ErrorLog, TheRecordHasItsTimeLineAndItsPartsInOrder) {
  std::tm t{};
  t.tm_hour = 9;
  t.tm_min = 5;
  t.tm_sec = 7;
  t.tm_mday = 3;
  t.tm_mon = 1;
  t.tm_year = 126;
  const std::string record =
      LogRecord(t, SomeTexts("boom"), {"", "", "Please email /x/VantrelError.Log to", "Thank You"});
  const std::string hyphens(27, '-');
  EXPECT_EQ(record, hyphens + "09:05:07 03/02/2026" + hyphens + "\r\n" +
                        "Exception 'std::runtime_error' in module vantrel at 00001000\r\nboom\r\n"
                        "\r\nSource file: UNKNOWN, Line UNKNOWN\r\n\r\n"
                        "Call stack:\r\n:0000000000401000 [vantrel]\r\n\r\n"
                        "Registers:\r\nRAX = 0000000000000000\r\n\r\n"
                        "\r\n\r\nPlease email /x/VantrelError.Log to\r\nThank You\r\n\r\n\r\n");
}

TEST(ErrorLog, RecordsAreAppendedAndTheMissingFoldersAreMade) {
  ScratchFolder folder;
  ErrorLog log(folder / "state/Vantrel/VantrelError.Log");
  EXPECT_FALSE(log.Exists());
  EXPECT_EQ(log.Append("one\r\n").Code(), StatusCode::kOk);
  EXPECT_EQ(log.Append("two\r\n").Code(), StatusCode::kOk);
  EXPECT_TRUE(log.Exists());
  EXPECT_EQ(ReadAll(log.Path()), "one\r\ntwo\r\n");
  struct stat info {};
  ASSERT_EQ(stat(log.Path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600U);
}

// A program started with its standard input closed (by a session manager or a script) gets
// descriptor 0 for the first file it opens: a log there is written like any other.
TEST(ErrorLog, IsWrittenWhenStandardInputIsClosed) {
  ScratchFolder folder;
  ErrorLog log(folder / "VantrelError.Log");
  const int input = dup(STDIN_FILENO);
  ASSERT_GE(input, 0);
  ASSERT_EQ(close(STDIN_FILENO), 0);
  const Status written = log.Append("record\r\n");
  ASSERT_EQ(dup2(input, STDIN_FILENO), STDIN_FILENO);
  close(input);
  EXPECT_TRUE(written.IsOk()) << written;
  EXPECT_EQ(ReadAll(log.Path()), "record\r\n");
}

TEST(ErrorLog, TheFoldersItMakesAreTheUsersAlone) {
  ScratchFolder folder;
  const mode_t before = umask(0);  // a permissive umask must not open them to others
  const std::string path = folder / "state/Vantrel/VantrelError.Log";
  const std::string crashPath = folder / "crash/Vantrel/VantrelError.Log";
  ErrorLog log(path);
  const Status written = log.Append("record\r\n");
  const pid_t child = fork();
  if (child == 0) {
    InstallCrashHandler(crashPath);
    NullWrite();
    _exit(0);
  }
  WaitBriefly(child);
  umask(before);
  ASSERT_TRUE(written.IsOk()) << written.Reason();
  for (const std::string& made :
       {folder / "state", folder / "state/Vantrel", folder / "crash", folder / "crash/Vantrel"}) {
    SCOPED_TRACE(made);
    struct stat info {};
    ASSERT_EQ(stat(made.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0077, 0U);
  }
}

TEST(ErrorLog, ALogThatCannotBeWrittenDropsTheRecordAndNothingElse) {
  ScratchFolder folder;
  fs::create_directories(folder / "afolder");
  fs::create_directory_symlink(folder / "afolder", folder / "link");
  ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
  struct Row {
    const char* name;
    std::string path;
    StatusCode expected;
  } rows[] = {
      {"no path", "", StatusCode::kNoPath},
      {"folder not creatable", "/proc/vantrel-none/VantrelError.Log", StatusCode::kNoFolder},
      {"folder taken by a file", "/proc/version/VantrelError.Log", StatusCode::kNoFolder},
      {"log is a folder", folder / "afolder", StatusCode::kNotAFile},
      {"log is a link to a folder", folder / "link", StatusCode::kNotAFile},
      {"log is a pipe nobody reads", folder / "pipe", StatusCode::kNotAFile},
      {"log is a device", "/dev/null", StatusCode::kNotAFile},
      // The superuser may open it, yet no write goes through.
      {"no right to write", "/proc/version",
       geteuid() == 0 ? StatusCode::kWriteFailed : StatusCode::kCannotOpen},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ErrorLog log(row.path);
    const Status written = log.Append("record\r\n");
    EXPECT_EQ(written.Code(), row.expected);
    // The reason names the file or the folder that failed, for the report.
    EXPECT_NE(written.Reason().find(row.path.substr(0, row.path.rfind('/'))), std::string::npos)
        << written.Reason();
  }
  EXPECT_TRUE(fs::is_empty(folder / "afolder"));
  EXPECT_FALSE(ErrorLog(folder / "afolder").Exists());
  EXPECT_FALSE(ErrorLog(folder / "pipe").Exists());
  // A log made but left empty (the disk filled up before its first record) is nothing to
  // mail; one byte is.
  std::ofstream(folder / "empty.Log").flush();
  EXPECT_FALSE(ErrorLog(folder / "empty.Log").Exists());
  std::ofstream(folder / "one.Log") << "x";
  EXPECT_TRUE(ErrorLog(folder / "one.Log").Exists());
}

TEST(ErrorLog, AReadOnlyLogIsLeftAsItIs) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "file permissions do not bind the superuser";
  }
  ScratchFolder folder;
  const std::string path = folder / "VantrelError.Log";
  std::ofstream(path) << "old\r\n";
  chmod(path.c_str(), 0400);
  ErrorLog log(path);
  EXPECT_EQ(log.Append("record\r\n").Code(), StatusCode::kCannotOpen);
  EXPECT_EQ(ReadAll(path), "old\r\n");
}

// The real calls, with writes that take at most `piece` bytes at a time and that fail
// with a full disk once `budget` bytes have gone through; or that return 0 (nothing
// written, no error) instead; or a close that fails.
class FailingCalls final : public FileCalls {
 public:
  std::size_t piece = 1 << 20;
  std::size_t budget = static_cast<std::size_t>(-1);
  bool zeroInsteadOfError = false;
  bool failClose = false;

  ssize_t Write(int fd, const void* data, std::size_t size) override {
    if (budget == 0) {
      if (zeroInsteadOfError) {
        return 0;
      }
      errno = ENOSPC;
      return -1;
    }
    const std::size_t n = std::min({size, piece, budget});
    budget -= n;
    return FileCalls::Write(fd, data, n);
  }
  int Close(int fd) override {
    const int result = FileCalls::Close(fd);
    if (failClose) {
      errno = EIO;
      return -1;
    }
    return result;
  }
};

TEST(ErrorLog, AWriteThatStopsPartWayLeavesTheLogAsItWas) {
  const std::string record = "<" + std::string(5000, 'r') + ">\r\n";
  struct Row {
    const char* name;
    std::size_t piece;
    std::size_t budget;
    bool zero;
    StatusCode expected;
  } rows[] = {
      {"short writes of one byte", 1, static_cast<std::size_t>(-1), false, StatusCode::kOk},
      {"short writes of 7 bytes", 7, static_cast<std::size_t>(-1), false, StatusCode::kOk},
      {"exactly the record fits", 1000, record.size(), false, StatusCode::kOk},
      {"disk full at once", 1000, 0, false, StatusCode::kWriteFailed},
      {"disk full after one byte", 1000, 1, false, StatusCode::kWriteFailed},
      {"disk full after a few short writes", 7, 30, false, StatusCode::kWriteFailed},
      {"disk full one byte before the end", 1000, record.size() - 1, false,
       StatusCode::kWriteFailed},
      {"a write that writes nothing", 64, 100, true, StatusCode::kWriteFailed},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ScratchFolder folder;
    const std::string path = folder / "VantrelError.Log";
    ASSERT_TRUE(ErrorLog(path).Append("earlier\r\n").IsOk());
    FailingCalls calls;
    calls.piece = row.piece;
    calls.budget = row.budget;
    calls.zeroInsteadOfError = row.zero;
    ErrorLog log(path, calls);
    EXPECT_EQ(log.Append(record).Code(), row.expected);
    const bool written = row.expected == StatusCode::kOk;
    EXPECT_EQ(ReadAll(path), written ? "earlier\r\n" + record : "earlier\r\n");
    // The next record still lands whole after what is there.
    EXPECT_EQ(ErrorLog(path).Append("later\r\n").Code(), StatusCode::kOk);
    EXPECT_EQ(ReadAll(path), "earlier\r\n" + (written ? record : "") + "later\r\n");
  }
}

TEST(ErrorLog, AFailedCloseIsAFailedWrite) {
  ScratchFolder folder;
  FailingCalls calls;
  calls.failClose = true;
  ErrorLog log(folder / "VantrelError.Log", calls);
  EXPECT_EQ(log.Append("record\r\n").Code(), StatusCode::kWriteFailed);
}

TEST(ErrorLog, RecordsOfTwoThreadsNeverInterleave) {
  ScratchFolder folder;
  ErrorLog log(folder / "VantrelError.Log");
  constexpr int kRecords = 300;
  // Large records, written in more than one piece by the system if it wants to.
  auto writer = [&log](char mark) {
    const std::string record = "<" + std::string(20000, mark) + ">\r\n";
    for (int i = 0; i < kRecords; ++i) {
      log.Append(record);
    }
  };
  std::thread a(writer, 'a');
  std::thread b(writer, 'b');
  a.join();
  b.join();
  const std::string text = ReadAll(log.Path());
  std::istringstream lines(text);
  std::string line;
  int seen = 0;
  while (std::getline(lines, line)) {
    ASSERT_EQ(line.size(), 20003U);
    ASSERT_TRUE(line.find_first_not_of(line[1], 1) == 20001U) << "record " << seen << " is mixed";
    ++seen;
  }
  EXPECT_EQ(seen, 2 * kRecords);
}

// ----- crashes -----

// Under the address checker, its own handler takes the signal over after the record and
// ends the process its own way: with an exit status, or with an abort.
void ExpectDiedOf(int status, int signal) {
#if defined(__SANITIZE_ADDRESS__)
  EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  (void)signal;
  return;
#endif
  ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << status;
  EXPECT_EQ(WTERMSIG(status), signal);
}

// Waits for the child for at most ten seconds; a child that is still there by then is
// stuck, and is killed.
int WaitBriefly(pid_t child) {
  int status = 0;
  for (int i = 0; i < 1000; ++i) {
    if (waitpid(child, &status, WNOHANG) == child) {
      return status;
    }
    usleep(10 * 1000);
  }
  kill(child, SIGKILL);
  waitpid(child, &status, 0);
  ADD_FAILURE() << "the crashing process was stuck";
  return status;
}

// A child that runs beforeInstall, installs the crash handler for the log at path, runs
// prepare, and writes through a null pointer; it must die of that fault.
void CrashInChild(const std::string& path, const std::function<void()>& prepare = {},
                  const std::function<void()>& beforeInstall = {}) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (beforeInstall) {
      beforeInstall();
    }
    InstallCrashHandler(path);
    if (prepare) {
      prepare();
    }
    NullWrite();
    _exit(0);
  }
  ExpectDiedOf(WaitBriefly(child), SIGSEGV);
}

struct CrashRow {
  const char* name;
  int signal;
  void (*crash)();
  const char* says;  // a piece of the record's first line
};

void PrintTo(const CrashRow& row, std::ostream* out) {
  *out << row.name;
}

// A real fault, which the undefined-behaviour checker would otherwise stop before it
// happens.
__attribute__((no_sanitize("undefined"))) void NullWrite() {
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
}

void Abort() {
  std::abort();
}

void SentByKill() {
  kill(getpid(), SIGSEGV);
}

// A call to an address where no code is.
__attribute__((noinline)) void BadCodeAddress() {
  void (*volatile nowhere)() = reinterpret_cast<void (*)()>(0xdeadbef1);
  nowhere();
}

// A stack pointer that points nowhere: even the signal's frame cannot go there.
void BadStackPointer() {
#if defined(__x86_64__)
  asm volatile("movq $0x10, %%rsp\n\tpushq %%rax" ::: "memory");
#else
  NullWrite();
#endif
}

__attribute__((noinline, no_sanitize("address", "undefined"))) int Deeper(int depth) {
  volatile char page[4096];
  page[0] = static_cast<char>(depth);
  return depth > 1000000000 ? page[0] : Deeper(depth + 1) + page[0];
}

// A thread that overflows its stack: the handler needs an alternate stack in that thread.
void OverflowInAThread() {
  std::thread runaway([] { Deeper(0); });
  runaway.join();
}

class CrashRecord : public ::testing::TestWithParam<CrashRow> {};

TEST_P(CrashRecord, AProcessKilledByASignalLeavesARecordAndDiesOfTheSignal) {
  ScratchFolder folder;
  const std::string path = folder / "Vantrel/VantrelError.Log";
  fs::create_directories(folder / "Vantrel");
  std::ofstream(path, std::ios::binary) << "earlier record\r\n";

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstallCrashHandler(path);
    GetParam().crash();
    _exit(0);
  }
  ExpectDiedOf(WaitBriefly(child), GetParam().signal);

  const std::string log = ReadAll(path);
  EXPECT_EQ(log.rfind("earlier record\r\n", 0), 0U);
  const std::string name = GetParam().name;
  const std::string first = "\r\nSignal " +
                            std::string(GetParam().signal == SIGSEGV ? "SIGSEGV" : "SIGABRT") +
                            " (" + std::to_string(GetParam().signal) + ")" + GetParam().says;
  EXPECT_NE(log.find(first), std::string::npos) << log;
  EXPECT_NE(log.find("\r\nCall stack:\r\n:"), std::string::npos);
  EXPECT_NE(log.find(" [tracer_tests] +"), std::string::npos) << log;
  EXPECT_NE(log.find("\r\nRegisters:\r\nRAX = "), std::string::npos);
  EXPECT_EQ(Count(log, std::string(27, '-')), 2);
  EXPECT_EQ(log.substr(log.size() - 4), "\r\n\r\n");

  // The next start hears of it once.
  EXPECT_TRUE(TakeCrashNotice(path));
  EXPECT_FALSE(TakeCrashNotice(path));
}

INSTANTIATE_TEST_SUITE_P(
    Signals, CrashRecord,
    ::testing::Values(CrashRow{"NullWrite", SIGSEGV, NullWrite, " at address 0000000000000000"},
                      CrashRow{"Abort", SIGABRT, Abort, " sent by process "},
                      CrashRow{"Kill", SIGSEGV, SentByKill, " sent by process "},
                      CrashRow{"BadCodeAddress", SIGSEGV, BadCodeAddress,
                               " at address 00000000DEADBEF1"},
                      CrashRow{"BadStackPointer", SIGSEGV, BadStackPointer, " at address "},
                      CrashRow{"OverflowInAThread", SIGSEGV, OverflowInAThread, " at address "}),
    [](const auto& row) { return std::string(row.param.name); });

// A module's file as a debugger reads it, apart from the process's mappings: its loaded
// segments and the functions of its symbol tables.
class ModuleFile {
 public:
  explicit ModuleFile(const std::string& path) : bytes_(ReadAll(path)) {}

  bool IsElf64() const {
    return bytes_.size() >= sizeof(Elf64_Ehdr) &&
           std::memcmp(bytes_.data(), ELFMAG, SELFMAG) == 0 && bytes_[EI_CLASS] == ELFCLASS64;
  }

  // The function of that name, from the full symbol table or the dynamic one.
  std::optional<Elf64_Sym> Function(const std::string& name) const {
    const auto header = At<Elf64_Ehdr>(0);
    for (int i = 0; i < header.e_shnum; ++i) {
      const auto table = At<Elf64_Shdr>(header.e_shoff + i * std::uint64_t{header.e_shentsize});
      if ((table.sh_type != SHT_SYMTAB && table.sh_type != SHT_DYNSYM) ||
          table.sh_link >= header.e_shnum) {
        continue;
      }
      const auto names =
          At<Elf64_Shdr>(header.e_shoff + table.sh_link * std::uint64_t{header.e_shentsize});
      for (std::uint64_t at = 0; at + sizeof(Elf64_Sym) <= table.sh_size; at += sizeof(Elf64_Sym)) {
        const auto symbol = At<Elf64_Sym>(table.sh_offset + at);
        if (ELF64_ST_TYPE(symbol.st_info) == STT_FUNC && symbol.st_value != 0 &&
            symbol.st_name < names.sh_size && NameAt(names.sh_offset + symbol.st_name) == name) {
          return symbol;
        }
      }
    }
    return std::nullopt;
  }

  // The loaded segment that holds the address.
  std::optional<Elf64_Phdr> SegmentOf(std::uint64_t address) const {
    const auto header = At<Elf64_Ehdr>(0);
    for (int i = 0; i < header.e_phnum; ++i) {
      const auto segment = At<Elf64_Phdr>(header.e_phoff + i * std::uint64_t{header.e_phentsize});
      if (segment.p_type == PT_LOAD && address >= segment.p_vaddr &&
          address < segment.p_vaddr + segment.p_filesz) {
        return segment;
      }
    }
    return std::nullopt;
  }

 private:
  // A piece of the file, zeros past its end, so that a broken file cannot read astray.
  template <typename Piece>
  Piece At(std::uint64_t offset) const {
    Piece piece{};
    if (offset <= bytes_.size() && bytes_.size() - offset >= sizeof piece) {
      std::memcpy(&piece, bytes_.data() + offset, sizeof piece);
    }
    return piece;
  }
  std::string NameAt(std::uint64_t offset) const {
    return offset < bytes_.size() ? std::string(bytes_.c_str() + offset) : std::string();
  }

  std::string bytes_;
};

struct Frame {
  std::uint64_t address;
  std::string module;
  std::uint64_t offset;  // in the module's file
};

// The record's frames, ":address [module] +offset".
std::vector<Frame> FramesOf(const std::string& log) {
  static const std::regex kFrame(R"(:([0-9A-F]{16}) \[([^\]\r\n]*)\] \+([0-9A-F]+)\r\n)");
  std::vector<Frame> frames;
  for (std::sregex_iterator it(log.begin(), log.end(), kFrame), end; it != end; ++it) {
    frames.push_back(
        {std::stoull((*it)[1], nullptr, 16), (*it)[2], std::stoull((*it)[3], nullptr, 16)});
  }
  return frames;
}

struct OffsetRow {
  const char* name;
  void (*crash)();
  bool inProgram;        // the function is in the test program, else in a shared library
  const void* function;  // a function the crash passes through
  const char* symbol;    // its name in its module's symbol table
  bool faultsHere;       // the fault is in the function: it is the record's first frame
};

void PrintTo(const OffsetRow& row, std::ostream* out) {
  *out << row.name;
}

class CrashRecordOffsets : public ::testing::TestWithParam<OffsetRow> {};

// The offset beside a frame is what a debugger is given together with the module's file
// (addr2line -e module 0xoffset): it must lead to the code of that frame in the file. The
// function's segment starts past the file's first page, so its mapping has an offset of
// its own, which the record has to add.
TEST_P(CrashRecordOffsets, AFramesOffsetLeadsToItsCodeInTheModulesFile) {
  const OffsetRow& row = GetParam();
  std::string modulePath;
  if (row.inProgram) {
    modulePath = fs::canonical("/proc/self/exe");
  } else {
    Dl_info info{};
    ASSERT_NE(dladdr(row.function, &info), 0);
    ASSERT_NE(info.dli_fname, nullptr);
    modulePath = fs::canonical(info.dli_fname);
  }
  SCOPED_TRACE(modulePath);
  const ModuleFile module(modulePath);
  ASSERT_TRUE(module.IsElf64());
  const std::optional<Elf64_Sym> symbol = module.Function(row.symbol);
  ASSERT_TRUE(symbol.has_value()) << row.symbol << " is not in the module's symbol tables";
  ASSERT_GT(symbol->st_size, 0U);
  const std::optional<Elf64_Phdr> code = module.SegmentOf(symbol->st_value);
  ASSERT_TRUE(code.has_value());
  const auto page = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
  ASSERT_NE(code->p_offset / page * page, 0U)
      << "the function's code is mapped from the file's start, where an offset missing "
         "from the record would not show";

  ScratchFolder folder;
  const std::string path = folder / "VantrelError.Log";
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstallCrashHandler(path);
    row.crash();
    _exit(0);
  }
  WaitBriefly(child);
  const std::string log = ReadAll(path);

  // The child is a fork, so the function lies where it lies here.
  const auto start = reinterpret_cast<std::uint64_t>(row.function);
  const std::uint64_t bias = start - symbol->st_value;
  int inFunction = 0;
  for (const Frame& frame : FramesOf(log)) {
    // A return address may be the byte after the function's last call.
    if (frame.address < start || frame.address > start + symbol->st_size) {
      continue;
    }
    ++inFunction;
    const std::uint64_t inFile = frame.address - bias - code->p_vaddr + code->p_offset;
    EXPECT_EQ(frame.module, fs::path(modulePath).filename().string());
    EXPECT_EQ(frame.offset, inFile)
        << std::hex << "the record gives +" << frame.offset << " for frame 0x" << frame.address
        << ", which lies 0x" << frame.address - start << " into " << row.symbol << " at 0x"
        << inFile << " in the file\n"
        << log;
  }
  EXPECT_GE(inFunction, 1) << "no frame in " << row.symbol << "\n" << log;
  // The frames of the handler itself are left off: the stack starts where the fault is.
  if (row.faultsHere) {
    const std::vector<Frame> frames = FramesOf(log);
    ASSERT_FALSE(frames.empty()) << log;
    EXPECT_GE(frames[0].address, start) << log;
    EXPECT_LT(frames[0].address, start + symbol->st_size) << log;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, CrashRecordOffsets,
    ::testing::Values(
        // The function that faults, in the test program; anonymous namespaces mangle alike
        // with both compilers.
        OffsetRow{"FaultInTheProgram", NullWrite, true, reinterpret_cast<const void*>(&NullWrite),
                  "_ZN7vantrel12_GLOBAL__N_19NullWriteEv", true},
        // A caller's frame in the C library, which raises the signal from abort.
        OffsetRow{"CallerInTheCLibrary", Abort, false, reinterpret_cast<const void*>(&abort),
                  "abort", false}),
    [](const auto& row) { return std::string(row.param.name); });

// The record's time is the user's local time, as the error log's is, in a zone a whole
// number of hours away from the universal time or not.
TEST(CrashRecord, TheRecordIsStampedWithTheLocalTime) {
  const struct {
    const char* zone;  // as TZ gives it
    long east;         // seconds east of the universal time
  } rows[] = {
      {"UTC0", 0},
      {"<+0530>-05:30", 5 * 3600 + 30 * 60},
      {"<-0330>+03:30", -(3 * 3600 + 30 * 60)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.zone);
    ScratchFolder folder;
    const std::string path = folder / "VantrelError.Log";
    const std::time_t before = std::time(nullptr);
    CrashInChild(path, {}, [&row] {
      setenv("TZ", row.zone, 1);
      tzset();
    });
    const std::time_t after = std::time(nullptr);
    const std::string log = ReadAll(path);
    const std::string hyphens(27, '-');
    ASSERT_EQ(log.rfind(hyphens, 0), 0U) << log;
    const std::string stamp = log.substr(hyphens.size(), 19);
    bool found = false;
    for (std::time_t t = before; t <= after && !found; ++t) {
      const std::time_t local = t + row.east;
      std::tm civil{};
      gmtime_r(&local, &civil);
      char expected[32];
      std::strftime(expected, sizeof expected, "%H:%M:%S %d/%m/%Y", &civil);
      found = stamp == expected;
    }
    EXPECT_TRUE(found) << stamp;
  }
}

TEST(CrashRecord, WithoutAWritableLogTheProcessStillDiesOfTheSignalAndLeavesNoNotice) {
  ScratchFolder folder;
  const std::string taken = folder / "VantrelError.Log";
  fs::create_directories(taken);  // the log's name is a folder's
  for (const std::string& path : {std::string("/proc/vantrel-none/VantrelError.Log"), taken}) {
    SCOPED_TRACE(path);
    CrashInChild(path);
    EXPECT_FALSE(TakeCrashNotice(path));
  }
}

TEST(CrashRecord, ARecordCutShortByAFullDiskLeavesNoNotice) {
  ScratchFolder folder;
  const std::string path = folder / "VantrelError.Log";
  CrashInChild(path, [] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit small{40, 40};  // room for part of the first line only
    setrlimit(RLIMIT_FSIZE, &small);
  });
  EXPECT_EQ(ReadAll(path).size(), 40U);
  EXPECT_FALSE(TakeCrashNotice(path));
}

TEST(CrashRecord, ALockedLogDoesNotHoldTheCrashUp) {
  ScratchFolder folder;
  const std::string path = folder / "VantrelError.Log";
  std::ofstream(path) << "";
  // Another copy of the program holds the log's lock and never lets it go.
  const int holder = open(path.c_str(), O_WRONLY);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  CrashInChild(path);
  close(holder);
  EXPECT_NE(ReadAll(path).find("Call stack:"), std::string::npos);
  EXPECT_TRUE(TakeCrashNotice(path));
}

TEST(CrashRecord, AHandlerInstalledTwiceStillEndsTheProcessAndWritesOneRecord) {
  ScratchFolder folder;
  const std::string path = folder / "VantrelError.Log";
  for (const int sent : {SIGABRT, SIGSEGV}) {
    SCOPED_TRACE(sent);
    fs::remove(path);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      InstallCrashHandler(path);
      InstallCrashHandler(path);
      kill(getpid(), sent);
      _exit(0);
    }
    ExpectDiedOf(WaitBriefly(child), sent);
    EXPECT_EQ(Count(ReadAll(path), "Call stack:"), 1);
    EXPECT_TRUE(TakeCrashNotice(path));
  }
}

// A program started with SIGABRT ignored lives on after a sent one, which is recorded all
// the same. A fault of another thread later must still end the process, after the brief
// wait that the handler grants a record that may still be written.
TEST(CrashRecord, AFaultAfterARecordedSignalThatWasIgnoredStillEndsTheProcess) {
  ScratchFolder folder;
  const std::string path = folder / "VantrelError.Log";
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGABRT, SIG_IGN);
    InstallCrashHandler(path);
    raise(SIGABRT);
    std::thread faulting(NullWrite);
    faulting.join();
    _exit(0);
  }
  ExpectDiedOf(WaitBriefly(child), SIGSEGV);
  const std::string log = ReadAll(path);
  EXPECT_NE(log.find("Signal SIGABRT (" + std::to_string(SIGABRT) + ") sent by process "),
            std::string::npos)
      << log;
}

}  // namespace
}  // namespace vantrel
