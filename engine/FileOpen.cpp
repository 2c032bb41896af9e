// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileOpen.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace vantrel {

std::string XdgBaseFolder(std::string_view xdgValue, std::string_view home,
                          std::string_view underHome) {
  if (!xdgValue.empty() && xdgValue.front() == '/') {
    return std::string(xdgValue);
  }
  if (!home.empty() && home.front() == '/') {
    std::string folder(home);
    if (folder.back() != '/') {
      folder += '/';
    }
    return folder + std::string(underHome);
  }
  return std::string();
}

std::string XdgBaseFolder(const char* variable, std::string_view underHome) {
  const char* value = std::getenv(variable);
  const char* home = std::getenv("HOME");
  return XdgBaseFolder(value != nullptr ? value : "", home != nullptr ? home : "", underHome);
}

namespace {

// EISDIR: a folder opened for writing; ENXIO: a FIFO that nobody reads opened for
// writing, a socket, or a device without its driver.
Status OpenFailure(int error, bool notRegular) {
  const bool notAFile = notRegular || error == EISDIR || error == ENXIO;
  return Status::FromError(notAFile ? StatusCode::kNotAFile : StatusCode::kCannotOpen, "", error);
}

}  // namespace

RegularFile OpenRegularFile(const std::string& path, int flags, mode_t mode) {
  RegularFile out;
  const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
  if (fd < 0) {
    out.status = OpenFailure(errno, false);
    return out;
  }
  if (::fstat(fd, &out.info) != 0) {
    out.status = OpenFailure(errno, false);
    ::close(fd);
    return out;
  }
  if (!S_ISREG(out.info.st_mode)) {
    out.notRegular = true;
    out.status = OpenFailure(S_ISDIR(out.info.st_mode) ? EISDIR : EINVAL, true);
    ::close(fd);
    return out;
  }
  // Reads and writes of a regular file wait for the disk as usual.
  const int status = ::fcntl(fd, F_GETFL);
  if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
    out.status = OpenFailure(errno, false);
    ::close(fd);
    return out;
  }
  out.fd = fd;
  return out;
}

}  // namespace vantrel
