// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file calls by which files are written and read: a whole file replaced (ReplaceFile),
// a record appended to the error log, a catalog read. They are passed in, so that tests
// hand in their own to see the order of the calls or to make one of them fail part-way.

#include <sys/types.h>

#include <cstddef>

namespace vantrel {

class FileCalls {
 public:
  virtual ~FileCalls() = default;
  // mkostemp(3) with O_CLOEXEC.
  virtual int MakeTemp(char* pattern);
  virtual int Chmod(int fd, mode_t mode);
  virtual ssize_t Write(int fd, const void* data, std::size_t size);
  virtual ssize_t ReadAt(int fd, void* data, std::size_t size, off_t offset);
  virtual int Truncate(int fd, off_t length);
  virtual int Sync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const char* from, const char* to);
  virtual int Unlink(const char* path);

  // The system's own calls.
  static FileCalls& Real();
};

}  // namespace vantrel
