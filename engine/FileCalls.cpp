// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileCalls.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

int FileCalls::MakeTemp(char* pattern) {
  return ::mkostemp(pattern, O_CLOEXEC);
}

int FileCalls::Chmod(int fd, mode_t mode) {
  return ::fchmod(fd, mode);
}

ssize_t FileCalls::Write(int fd, const void* data, std::size_t size) {
  return ::write(fd, data, size);
}

ssize_t FileCalls::ReadAt(int fd, void* data, std::size_t size, off_t offset) {
  return ::pread(fd, data, size, offset);
}

int FileCalls::Truncate(int fd, off_t length) {
  return ::ftruncate(fd, length);
}

int FileCalls::Sync(int fd) {
  return ::fsync(fd);
}

int FileCalls::Close(int fd) {
  return ::close(fd);
}

int FileCalls::Rename(const char* from, const char* to) {
  return ::rename(from, to);
}

int FileCalls::Unlink(const char* path) {
  return ::unlink(path);
}

FileCalls& FileCalls::Real() {
  static FileCalls real;
  return real;
}

}  // namespace vantrel
