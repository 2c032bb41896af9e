// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "FileOpen.h"

namespace vantrel {

SettingsFileBytes ReadSettingsFile(const std::string& path) {
  SettingsFileBytes out;
  auto unusable = [&](std::string problem) {
    out.state = SettingsFileBytes::State::Unusable;
    out.problem = std::move(problem);
    out.bytes.clear();
    return out;
  };
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) {
      // A link to nothing counts as missing too: writing replaces its target.
      return out;
    }
    return unusable(std::strerror(errno));
  }
  if (!S_ISREG(info.st_mode)) {
    return unusable("it is not a regular file");
  }
  // The file may have been replaced by a FIFO since: the open looks again.
  const RegularFile file = OpenRegularFile(path, O_RDONLY);
  if (file.notRegular) {
    return unusable("it is not a regular file");
  }
  if (file.fd < 0) {
    return unusable(std::strerror(file.error));
  }
  const int fd = file.fd;
  // One byte more than the parser accepts, so that it can tell a file that is too large.
  const std::size_t limit = regfile::kMaxFileSize + 1;
  char chunk[16384];
  while (out.bytes.size() < limit) {
    const ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, limit - out.bytes.size()));
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      const int error = errno;
      ::close(fd);
      return unusable(std::strerror(error));
    }
    if (n == 0) {
      break;
    }
    out.bytes.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  out.state = SettingsFileBytes::State::Read;
  return out;
}

TypedValue ReadTyped(const regfile::Key& key, std::string_view name, SettingType type) {
  TypedValue out;
  const regfile::Value* value = key.Find(name);
  if (value == nullptr) {
    if (type != SettingType::Text) {
      out.failure = TypedValue::Failure::kMissing;
    }
    return out;
  }
  const regfile::ValueKind wanted =
      type == SettingType::Text ? regfile::ValueKind::Text : regfile::ValueKind::Dword;
  if (value->kind != wanted) {
    out.failure = TypedValue::Failure::kWrongType;
    return out;
  }
  if (type == SettingType::Text) {
    out.text = value->text;
    return out;
  }
  // The dword's bits, taken as a signed integer: 0xffffffff is -1.
  out.integer = static_cast<std::int32_t>(value->dword);
  if (type == SettingType::Switch) {
    out.integer = out.integer != 0 ? 1 : 0;
  }
  return out;
}

}  // namespace vantrel
