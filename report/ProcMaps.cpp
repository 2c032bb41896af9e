// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcMaps.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vantrel {

std::size_t ReadOwnMaps(char* buffer, std::size_t capacity) {
  const int fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return 0;
  }
  std::size_t used = 0;
  while (used < capacity) {
    const ssize_t n = read(fd, buffer + used, capacity - used);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      break;
    }
    used += static_cast<std::size_t>(n);
  }
  close(fd);
  while (used > 0 && buffer[used - 1] != '\n') {
    --used;
  }
  return used;
}

std::uint64_t ParseHex(const char*& p, const char* end) {
  std::uint64_t value = 0;
  for (; p < end; ++p) {
    const char c = *p;
    if (c >= '0' && c <= '9') {
      value = value * 16 + static_cast<std::uint64_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      value = value * 16 + static_cast<std::uint64_t>(c - 'a' + 10);
    } else {
      break;
    }
  }
  return value;
}

bool ProcMaps::Find(std::uint64_t address, Mapping& found) const {
  const char* p = text_;
  const char* end = text_ + size_;
  while (p < end) {
    const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', end - p));
    if (lineEnd == nullptr) {
      return false;
    }
    const char* q = p;
    const std::uint64_t start = ParseHex(q, lineEnd);
    if (q < lineEnd) {
      ++q;
    }
    const std::uint64_t stop = ParseHex(q, lineEnd);
    if (address >= start && address < stop) {
      found.start = start;
      found.stop = stop;
      found.executable = lineEnd - q > 4 && q[3] == 'x';
      q = lineEnd - q > 6 ? q + 6 : lineEnd;  // " rwxp "
      found.offset = ParseHex(q, lineEnd);
      const char* path = static_cast<const char*>(std::memchr(q, '/', lineEnd - q));
      found.name = path;
      for (const char* s = path; s != nullptr && s < lineEnd; ++s) {
        if (*s == '/') {
          found.name = s + 1;
        }
      }
      found.nameEnd = lineEnd;
      return true;
    }
    p = lineEnd + 1;
  }
  return false;
}

bool ProcMaps::IsCode(std::uint64_t address) const {
  Mapping mapping;
  return Find(address, mapping) && mapping.executable;
}

void ProcMaps::AddModule(SignalSafeText& out, std::uint64_t address) const {
  Mapping mapping;
  if (!Find(address, mapping)) {
    out.Add(" []");
    return;
  }
  out.Add(" [");
  if (mapping.name != nullptr) {
    out.AddN(mapping.name, static_cast<std::size_t>(mapping.nameEnd - mapping.name));
  }
  out.Add("] +");
  out.Hex(address - mapping.start + mapping.offset, 8);
}

}  // namespace vantrel
