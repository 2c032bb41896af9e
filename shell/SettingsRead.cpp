// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "FileOpen.h"

namespace vantrel {

Status ReadSettingsFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  const Status notAFile(StatusCode::kNotAFile, "it is not a regular file");
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    const int error = errno;
    // A link to nothing counts as missing too: writing replaces its target.
    return Status::FromError(error == ENOENT ? StatusCode::kNotFound : StatusCode::kCannotOpen, "",
                             error);
  }
  if (!S_ISREG(info.st_mode)) {
    return notAFile;
  }
  // The file may have been replaced by a FIFO since: the open looks again.
  const RegularFile file = OpenRegularFile(path, O_RDONLY);
  if (file.notRegular) {
    return notAFile;
  }
  if (file.fd < 0) {
    // The settings store tells a refused open from what is no file by the stat above.
    return {StatusCode::kCannotOpen, file.status.Reason()};
  }
  const int fd = file.fd;
  const std::size_t limit = regfile::kMaxFileSize + 1;
  char chunk[16384];
  while (bytes.size() < limit) {
    const ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, limit - bytes.size()));
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      const int error = errno;
      ::close(fd);
      bytes.clear();
      return Status::FromError(StatusCode::kReadFailed, "", error);
    }
    if (n == 0) {
      break;
    }
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return {};
}

Status ReadTyped(const regfile::Key& key, std::string_view name, SettingType type,
                 TypedValue& out) {
  out = {};
  const std::string setting = "The setting \"" + std::string(name) + "\" ";
  const regfile::Value* value = key.Find(name);
  if (value == nullptr) {
    return type == SettingType::kText ? Status()
                                      : Status(StatusCode::kNotFound, setting + "is missing");
  }
  const regfile::ValueKind wanted =
      type == SettingType::kText ? regfile::ValueKind::kText : regfile::ValueKind::kDword;
  if (value->kind != wanted) {
    return {StatusCode::kMalformed, setting + "is not of the type asked for"};
  }
  if (type == SettingType::kText) {
    out.text = value->text;
    return {};
  }
  // The dword's bits, taken as a signed integer: 0xffffffff is -1.
  out.integer = static_cast<std::int32_t>(value->dword);
  if (type == SettingType::kSwitch) {
    out.integer = out.integer != 0 ? 1 : 0;
  }
  return {};
}

}  // namespace vantrel
