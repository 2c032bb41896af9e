// SPDX-License-Identifier: GPL-3.0-or-later
// How the settings file is replaced: the calls in their order, their failures part-way,
// and the temporary files that interrupted writes leave behind.

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <utime.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "FileCalls.h"
#include "ReplaceFile.h"
#include "SettingsStore.h"
#include "SettingsTable.h"
#include "TestFiles.h"

namespace vantrel {
namespace {

using Mode = SettingsStore::OpenMode;

// Forwards to the real calls and notes each one; a write fails once writeBudget bytes have
// been written in all, as on a disk that fills up.
class RecordingCalls final : public FileCalls {
 public:
  RecordingCalls() = default;
  RecordingCalls(const RecordingCalls&) = delete;
  RecordingCalls& operator=(const RecordingCalls&) = delete;

  int MakeTemp(char* pattern) override {
    const int fd = FileCalls::MakeTemp(pattern);
    temps.emplace_back(pattern);
    log.push_back("make " + std::to_string(fd));
    return fd;
  }
  int Chmod(int fd, mode_t mode) override {
    log.push_back("chmod " + std::to_string(fd));
    if (chmodFails) {
      errno = EPERM;
      return -1;
    }
    return FileCalls::Chmod(fd, mode);
  }
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    if (zeroWrites) {
      return 0;
    }
    size = std::min(size, piece);
    if (written + size > writeBudget) {
      errno = ENOSPC;
      return -1;
    }
    written += size;
    log.push_back("write " + std::to_string(fd));
    return FileCalls::Write(fd, data, size);
  }
  int Sync(int fd) override {
    log.push_back("sync " + std::to_string(fd));
    if (syncFails) {
      errno = EIO;
      return -1;
    }
    return FileCalls::Sync(fd);
  }
  int Close(int fd) override {
    log.push_back("close " + std::to_string(fd));
    return FileCalls::Close(fd);
  }
  int Rename(const char* from, const char* to) override {
    ++renames;
    log.push_back(std::string("rename ") + (from == temps.back() ? "temp" : from) + " " +
                  QFileInfo(QFile::decodeName(to)).fileName().toStdString());
    if (renameFails) {
      errno = EXDEV;
      return -1;
    }
    return FileCalls::Rename(from, to);
  }

  std::vector<std::string> log;
  std::vector<std::string> temps;
  std::size_t written = 0;
  std::size_t writeBudget = static_cast<std::size_t>(-1);
  std::size_t piece = static_cast<std::size_t>(-1);  // the most one write takes
  bool zeroWrites = false;  // every write returns 0: nothing written, no error
  bool syncFails = false;   // as when the disk reports an error only at the flush
  bool chmodFails = false;
  bool renameFails = false;
  int renames = 0;
};

class FileCallsTest : public testing::Test {
 protected:
  QString Folder() const { return temp_.path() + QStringLiteral("/config/Vantrel"); }
  QString File() const { return Folder() + QStringLiteral("/Vantrel.reg"); }
  QStringList FolderFiles() const {
    return QDir(Folder()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  }

  QTemporaryDir temp_;
};

TEST_F(FileCallsTest, TheFirstSaveIsOneReplacement) {
  RecordingCalls calls;
  SettingsStore store(Folder(), calls);
  SaveSettings(store, kMainWindowWriteOrder, SettingDesignValue);
  EXPECT_EQ(calls.renames, 1);
  EXPECT_EQ(SettingsStore(Folder())
                .OpenKey(Mode::kExisting)
                ->ReadInteger(QStringLiteral("Form Top"))
                .value,
            RowOf(Setting::kFormTop).design);
}

TEST_F(FileCallsTest, AFirstSaveThatFailsPartWayLeavesNoFile) {
  // Room for a file with the bare key, but not for the values: the disk fills part-way.
  RecordingCalls calls;
  calls.writeBudget = 120;
  SettingsStore store(Folder(), calls);
  try {
    SaveSettings(store, kMainWindowWriteOrder, SettingDesignValue);
    ADD_FAILURE() << "the save did not fail";
  } catch (const SettingsWriteError& error) {
    EXPECT_EQ(error.ValueName(), QStringLiteral("Dictionary"));
  }
  // A key without its values would make the next start ask for a dictionary again.
  EXPECT_FALSE(QFile::exists(File()));
  EXPECT_FALSE(SettingsStore(Folder()).OpenKey(Mode::kExisting).has_value());
  EXPECT_TRUE(FolderFiles().isEmpty()) << FolderFiles().join(QLatin1Char(' ')).toStdString();
}

TEST_F(FileCallsTest, AFailedSyncFailsTheSaveAndLeavesTheFileAsItWas) {
  SettingsStore(Folder()).OpenKey(Mode::kCreate)->WriteInteger(QStringLiteral("Form Top"), 1);
  {
    RecordingCalls calls;
    calls.syncFails = true;
    std::optional<SettingsKey> key = SettingsStore(Folder(), calls).OpenKey(Mode::kExisting);
    EXPECT_THROW(key->WriteInteger(QStringLiteral("Form Top"), 2), SettingsWriteError);
    EXPECT_EQ(calls.renames, 0);
  }
  EXPECT_EQ(SettingsStore(Folder())
                .OpenKey(Mode::kExisting)
                ->ReadInteger(QStringLiteral("Form Top"))
                .value,
            1);
  EXPECT_EQ(FolderFiles(), QStringList{QStringLiteral("Vantrel.reg")});
}

TEST_F(FileCallsTest, ShortWritesGoOnAndAWriteThatWritesNothingFails) {
  ASSERT_TRUE(QDir().mkpath(Folder()));
  const std::string path = QFile::encodeName(File()).toStdString();
  const std::string old = "old contents\r\n";
  ASSERT_TRUE(ReplaceFile(path, old).IsOk());
  const std::string bytes(3000, 'x');
  struct Row {
    const char* name;
    std::size_t piece;
    bool zero;
    StatusCode expected;
  } rows[] = {
      {"one byte at a time", 1, false, StatusCode::kOk},
      {"seven bytes at a time", 7, false, StatusCode::kOk},
      {"nothing written, no error", 7, true, StatusCode::kWriteFailed},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(ReplaceFile(path, old).IsOk());
    RecordingCalls calls;
    calls.piece = row.piece;
    calls.zeroWrites = row.zero;
    const Status status = ReplaceFile(path, bytes, calls);
    EXPECT_EQ(status.Code(), row.expected) << status.Reason();
    QFile file(File());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), row.expected == StatusCode::kOk ? bytes : old);
    EXPECT_EQ(FolderFiles(), QStringList{QStringLiteral("Vantrel.reg")});
  }
}

TEST_F(FileCallsTest, TheFileIsSyncedBeforeItIsRenamedIntoPlace) {
  SettingsStore(Folder()).OpenKey(Mode::kCreate)->WriteInteger(QStringLiteral("Form Top"), 1);
  RecordingCalls calls;
  SettingsStore(Folder(), calls)
      .OpenKey(Mode::kExisting)
      ->WriteInteger(QStringLiteral("Form Top"), 2);

  ASSERT_FALSE(calls.log.empty());
  const std::string fd = calls.log.front().substr(5);
  ASSERT_EQ(calls.log.front(), "make " + fd);
  std::vector<std::string> order;
  for (const std::string& call : calls.log) {
    if (call == "write " + fd && !order.empty() && order.back() == call) {
      continue;  // a write may come in pieces
    }
    order.push_back(call);
  }
  EXPECT_EQ(order,
            (std::vector<std::string>{"make " + fd, "chmod " + fd, "write " + fd, "sync " + fd,
                                      "rename temp Vantrel.reg", "close " + fd}));
}

TEST_F(FileCallsTest, TheFileKeepsItsPermissionsAcrossASave) {
  SettingsStore(Folder()).OpenKey(Mode::kCreate)->WriteInteger(QStringLiteral("Form Top"), 1);
  const QByteArray path = QFile::encodeName(File());
  for (const mode_t mode : {0600, 0640, 0644, 0664, 0400}) {
    SCOPED_TRACE(mode);
    ASSERT_EQ(chmod(path.constData(), mode), 0);
    SettingsStore(Folder()).OpenKey(Mode::kExisting)->WriteInteger(QStringLiteral("Form Top"), 2);
    struct stat info {};
    ASSERT_EQ(stat(path.constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode);
  }
}

TEST_F(FileCallsTest, StaleTemporaryFilesOfTheProgramAreRemovedAtTheNextWrite) {
  ASSERT_TRUE(QDir().mkpath(Folder()));
  const auto make = [&](const QString& name, bool old) {
    const QString path = Folder() + QLatin1Char('/') + name;
    WriteBytes(path, "left by a write that never finished");
    if (old) {
      const std::time_t hourAgo = std::time(nullptr) - 3600;
      const utimbuf times{hourAgo, hourAgo};
      utime(QFile::encodeName(path).constData(), &times);
    }
    return path;
  };
  make(QStringLiteral("Vantrel.reg.tmp-a1B2c3"), true);
  make(QStringLiteral("Vantrel.reg.tmp-zzzzzz"), true);
  // Being written by another running instance: it holds the lock.
  const QString busy = make(QStringLiteral("Vantrel.reg.tmp-Busy01"), true);
  const int busyFd = open(QFile::encodeName(busy).constData(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(busyFd, 0);
  ASSERT_EQ(flock(busyFd, LOCK_EX), 0);
  // Made a moment ago: its writer may not have locked it yet.
  make(QStringLiteral("Vantrel.reg.tmp-fresh1"), false);
  // Not of the program's pattern.
  make(QStringLiteral("Vantrel.reg.tmp-abc"), true);
  make(QStringLiteral("Vantrel.reg.tmp-abc.bak"), true);
  make(QStringLiteral("Other.reg.tmp-a1B2c3"), true);
  make(QStringLiteral("Vantrel.reg.corrupt-20260101-120000"), true);
  make(QStringLiteral("notes.txt"), true);

  SettingsStore(Folder()).OpenKey(Mode::kCreate)->WriteInteger(QStringLiteral("Form Top"), 1);
  close(busyFd);

  EXPECT_EQ(FolderFiles(), (QStringList{
                               "Other.reg.tmp-a1B2c3",
                               "Vantrel.reg",
                               "Vantrel.reg.corrupt-20260101-120000",
                               "Vantrel.reg.tmp-Busy01",
                               "Vantrel.reg.tmp-abc",
                               "Vantrel.reg.tmp-abc.bak",
                               "Vantrel.reg.tmp-fresh1",
                               "notes.txt",
                           }));
}

TEST_F(FileCallsTest, AWriteHoldsItsTemporaryFileLockedUntilTheRename) {
  // Another instance cleaning up while this one writes must leave the file alone.
  SettingsStore(Folder()).OpenKey(Mode::kCreate)->WriteInteger(QStringLiteral("Form Top"), 1);
  struct LockProbe final : FileCalls {
    int Sync(int fd) override {
      const std::string path = "/proc/self/fd/" + std::to_string(fd);
      const int other = open(path.c_str(), O_RDONLY | O_CLOEXEC);
      lockedElsewhere = other >= 0 && flock(other, LOCK_EX | LOCK_NB) != 0;
      if (other >= 0) {
        close(other);
      }
      return FileCalls::Sync(fd);
    }
    bool lockedElsewhere = false;
  } probe;
  SettingsStore(Folder(), probe)
      .OpenKey(Mode::kExisting)
      ->WriteInteger(QStringLiteral("Form Top"), 2);
  EXPECT_TRUE(probe.lockedElsewhere);
}

// Each step of a replacement that can fail after the temporary file is made: the write
// fails, the file keeps what it held, and the temporary file is gone.
struct FailingStep {
  const char* name;
  void (*arrange)(RecordingCalls& calls);
};

class FailingStepTest : public FileCallsTest, public testing::WithParamInterface<FailingStep> {};

TEST_P(FailingStepTest, TheWriteFailsKeepsTheOldFileAndLeavesNoTemporaryFile) {
  SettingsStore(Folder()).OpenKey(Mode::kCreate)->WriteInteger(QStringLiteral("Form Top"), 1);
  QFile file(File());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray before = file.readAll();
  file.close();

  RecordingCalls calls;
  GetParam().arrange(calls);
  std::optional<SettingsKey> key = SettingsStore(Folder(), calls).OpenKey(Mode::kExisting);
  ASSERT_TRUE(key.has_value());
  EXPECT_THROW(key->WriteInteger(QStringLiteral("Form Top"), 2), SettingsWriteError);
  ASSERT_EQ(calls.temps.size(), 1U) << "one temporary file was made";
  EXPECT_FALSE(QFile::exists(QFile::decodeName(calls.temps.front().c_str())))
      << calls.temps.front();
  EXPECT_EQ(FolderFiles(), QStringList{QStringLiteral("Vantrel.reg")});
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailingStepTest,
    testing::Values(FailingStep{"Permissions", [](RecordingCalls& c) { c.chmodFails = true; }},
                    FailingStep{"FirstWrite", [](RecordingCalls& c) { c.writeBudget = 0; }},
                    FailingStep{"LaterWrite",
                                [](RecordingCalls& c) {
                                  c.piece = 16;
                                  c.writeBudget = 40;
                                }},
                    FailingStep{"WriteOfNothing", [](RecordingCalls& c) { c.zeroWrites = true; }},
                    FailingStep{"Sync", [](RecordingCalls& c) { c.syncFails = true; }},
                    FailingStep{"Rename", [](RecordingCalls& c) { c.renameFails = true; }}),
    [](const testing::TestParamInfo<FailingStep>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace vantrel
