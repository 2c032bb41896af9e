// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplaceFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "FileCalls.h"

namespace vantrel {
namespace {

std::string ErrnoText(int error) {
  return std::generic_category().message(error);
}

// The file a link points at, or the path itself.
std::string RealTarget(const std::string& path) {
  struct stat link {};
  if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
    return path;
  }
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) {
    return path;  // a dangling link is replaced by the file
  }
  return resolved;
}

bool IsTempSuffix(std::string_view tail) {
  if (tail.size() != 6) {
    return false;
  }
  for (const char ch : tail) {
    const bool alnum =
        (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    if (!alnum) {
      return false;
    }
  }
  return true;
}

// The temporary files of writes that never finished (the program was killed, the power
// went) would pile up beside the file. Each write removes those of its own pattern,
// "<file>.tmp-" and the six characters mkostemp puts there, and nothing else. A write
// holds an exclusive lock on its temporary file from right after creating it until the
// rename, and a lock ends with the process that held it: a file whose lock can be taken
// is no longer being written, however slow the disk of a running instance is. The lock is
// taken a moment after the file is made, so a file is also left alone until it is a
// minute old, which no write takes between making its file and locking it.
void RemoveStaleTempFiles(const std::string& folder, const std::string& fileName,
                          FileCalls& calls) {
  constexpr std::time_t kMinAgeSeconds = 60;
  const std::string prefix = fileName + ".tmp-";
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    return;
  }
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix ||
        !IsTempSuffix(name.substr(prefix.size()))) {
      continue;
    }
    const std::string path = folder + "/" + std::string(name);
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        now - info.st_mtim.tv_sec < kMinAgeSeconds) {
      continue;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      continue;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      calls.Unlink(path.c_str());
    }
    close(fd);
  }
  closedir(dir);
}

}  // namespace

Status ReplaceFile(const std::string& path, std::string_view bytes, FileCalls& calls) {
  // A file linked from elsewhere (a dotfile collection) stays linked: the new file
  // replaces the link's target, beside which the temporary file is made.
  const std::string target = RealTarget(path);
  const std::filesystem::path targetPath(target);
  std::string folder = targetPath.parent_path().string();
  if (folder.empty()) {
    folder = ".";
  }
  RemoveStaleTempFiles(folder, targetPath.filename().string(), calls);
  std::string temp = target + ".tmp-XXXXXX";
  int fd = calls.MakeTemp(temp.data());
  if (fd < 0) {
    return {StatusCode::kCannotOpen, ErrnoText(errno)};
  }
  auto fail = [&](int error) {
    if (fd >= 0) {
      calls.Close(fd);
    }
    calls.Unlink(temp.c_str());
    return Status(StatusCode::kWriteFailed, ErrnoText(error));
  };
  // Marks the file as being written, for the removal of stale ones above; a file system
  // without locks only loses that mark.
  flock(fd, LOCK_EX | LOCK_NB);
  // A file the user made private, or shared, keeps its permissions.
  struct stat old {};
  if (stat(target.c_str(), &old) == 0 && calls.Chmod(fd, old.st_mode & 07777) != 0) {
    return fail(errno);
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = calls.Write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return fail(errno);
    }
    if (n == 0) {  // no progress, and no reason given: as good as a full disk
      return fail(ENOSPC);
    }
    done += static_cast<std::size_t>(n);
  }
  if (calls.Sync(fd) != 0) {
    return fail(errno);
  }
  // Renamed before it is closed, so the lock lasts until the file has its final name. The
  // bytes are synced already: once renamed, the new file is in place whatever close says.
  if (calls.Rename(temp.c_str(), target.c_str()) != 0) {
    return fail(errno);
  }
  calls.Close(fd);
  fd = -1;
  // The rename lives in the folder; syncing it keeps the new file after a power cut.
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return {};
}

}  // namespace vantrel
