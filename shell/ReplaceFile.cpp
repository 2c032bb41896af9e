#include "ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

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

}  // namespace

std::string ReplaceFile(const std::string& path, std::string_view bytes) {
  // A file linked from elsewhere (a dotfile collection) stays linked: the new file
  // replaces the link's target, beside which the temporary file is made.
  const std::string target = RealTarget(path);
  std::string folder = std::filesystem::path(target).parent_path().string();
  if (folder.empty()) {
    folder = ".";
  }
  std::string temp = target + ".tmp-XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    return ErrnoText(errno);
  }
  auto fail = [&](int error) {
    if (fd >= 0) {
      close(fd);
    }
    unlink(temp.c_str());
    return ErrnoText(error);
  };
  // A file the user made private, or shared, keeps its permissions.
  struct stat old {};
  if (stat(target.c_str(), &old) == 0 && fchmod(fd, old.st_mode & 07777) != 0) {
    return fail(errno);
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return fail(errno);
    }
    done += static_cast<std::size_t>(n);
  }
  if (fsync(fd) != 0) {
    return fail(errno);
  }
  const int closed = close(fd);
  fd = -1;
  if (closed != 0) {
    return fail(errno);
  }
  if (rename(temp.c_str(), target.c_str()) != 0) {
    return fail(errno);
  }
  // The rename lives in the folder; syncing it keeps the new file after a power cut.
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return {};
}

}  // namespace vantrel
