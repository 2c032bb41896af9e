// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file system as every layer meets it: where the user's files go, and opening a file
// that must be a regular file without ever waiting on something that is not one.

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <string_view>

#include "Status.h"

namespace vantrel {

// A folder of the XDG base directories: xdgValue when it is an absolute path (a relative
// one is to be ignored), else underHome (".config", ".local/state") in home when home is
// an absolute path; empty when neither names a folder.
std::string XdgBaseFolder(std::string_view xdgValue, std::string_view home,
                          std::string_view underHome);
// The same from the environment: the variable and $HOME.
std::string XdgBaseFolder(const char* variable, std::string_view underHome);

struct RegularFile {
  int fd = -1;  // open in blocking mode, or -1
  // Why fd is -1, with the system's text as the reason: kNotAFile when what stands there
  // is no regular file (a folder, a FIFO, a device, a socket, or a pipe nobody reads that
  // the open itself refused), else kCannotOpen.
  Status status;
  // Opened and seen to be no regular file: a folder, a FIFO, a device or a socket.
  bool notRegular = false;
  struct stat info {};  // of the open file
};

// open(2) of a regular file or a link to one. The open never waits: a FIFO would stall it
// until a writer or a reader comes. What opens and is no regular file is closed again.
// The caller closes fd.
RegularFile OpenRegularFile(const std::string& path, int flags, mode_t mode = 0);

}  // namespace vantrel
