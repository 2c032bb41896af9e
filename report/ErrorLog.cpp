// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorLog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "FileOpen.h"

namespace vantrel {
namespace {

// Creates every missing folder of path; true when path is a folder afterwards, else errno
// tells why not.
bool MakeFolders(const std::string& path) {
  if (path.empty()) {
    return true;
  }
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) {
    if (!S_ISDIR(info.st_mode)) {
      errno = ENOTDIR;
      return false;
    }
    return true;
  }
  const std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash))) {
    return false;
  }
  // The log may hold paths and words the user typed: it is the user's alone.
  return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

// The errno of the write that failed, ENOSPC for one that wrote nothing, 0 when all went.
int WriteAll(FileCalls& calls, int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = calls.Write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    if (n == 0) {
      return ENOSPC;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

}  // namespace

std::string ErrorLog::DefaultPath() {
  const std::string folder = XdgBaseFolder("XDG_STATE_HOME", ".local/state");
  return folder.empty() ? std::string() : folder + "/Vantrel/VantrelError.Log";
}

Status ErrorLog::Append(std::string_view record) {
  const std::lock_guard<std::mutex> hold(lock_);
  if (path_.empty()) {
    return {StatusCode::kNoPath, "no folder for the error log can be named"};
  }
  const std::size_t slash = path_.find_last_of('/');
  if (slash != std::string::npos && !MakeFolders(path_.substr(0, slash))) {
    return Status::FromError(StatusCode::kNoFolder, "create " + path_.substr(0, slash), errno);
  }
  // A pipe in the log's place would otherwise wait for a reader for ever.
  const RegularFile file = OpenRegularFile(path_, O_WRONLY | O_APPEND | O_CREAT, 0600);
  if (file.fd < 0) {
    return {file.status.Code(), "open " + path_ + ": " + file.status.Reason()};
  }
  const int fd = file.fd;
  // Another running copy of the program writes its records between ours, not into them.
  while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
  // Under the lock the end of the file is ours: the length before the record is where a
  // record that fails part-way is cut off again.
  struct stat before {};
  int error = fstat(fd, &before) == 0 ? 0 : errno;
  const bool measured = error == 0;
  if (measured) {
    error = WriteAll(calls_, fd, record);
  }
  if (error != 0 && measured) {
    while (calls_.Truncate(fd, before.st_size) != 0 && errno == EINTR) {
    }
  }
  flock(fd, LOCK_UN);
  if (calls_.Close(fd) != 0 && error == 0) {
    error = errno;
  }
  return error == 0 ? Status()
                    : Status::FromError(StatusCode::kWriteFailed, "write " + path_, error);
}

bool ErrorLog::Exists() const {
  struct stat info {};
  return !path_.empty() && stat(path_.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         info.st_size > 0;
}

std::string LogRecord(const std::tm& t, const ErrorTexts& texts,
                      const std::vector<std::string>& reportLines) {
  const std::string hyphens(27, '-');
  char time[64];
  std::snprintf(time, sizeof time, "%.2d:%.2d:%.2d %.2d/%.2d/%.4d", t.tm_hour, t.tm_min, t.tm_sec,
                t.tm_mday, t.tm_mon + 1, t.tm_year + 1900);
  std::string record = hyphens + time + hyphens + "\r\n";
  record += texts.message;
  record += "\r\n\r\n";
  for (const std::string& line : texts.callStack) {
    record += line + "\r\n";
  }
  record += "\r\n";
  for (const std::string& line : texts.registers) {
    record += line + "\r\n";
  }
  record += "\r\n";
  for (const std::string& line : reportLines) {
    record += line + "\r\n";
  }
  record += "\r\n\r\n";
  return record;
}

}  // namespace vantrel
