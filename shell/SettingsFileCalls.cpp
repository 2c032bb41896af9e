#include "SettingsFileCalls.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {
namespace {

SettingsFileCalls* replaced = nullptr;

}  // namespace

int SettingsFileCalls::MakeTemp(char* pattern) {
  return ::mkostemp(pattern, O_CLOEXEC);
}

int SettingsFileCalls::Chmod(int fd, mode_t mode) {
  return ::fchmod(fd, mode);
}

ssize_t SettingsFileCalls::Write(int fd, const void* data, std::size_t size) {
  return ::write(fd, data, size);
}

int SettingsFileCalls::Sync(int fd) {
  return ::fsync(fd);
}

int SettingsFileCalls::Close(int fd) {
  return ::close(fd);
}

int SettingsFileCalls::Rename(const char* from, const char* to) {
  return ::rename(from, to);
}

int SettingsFileCalls::Unlink(const char* path) {
  return ::unlink(path);
}

SettingsFileCalls& SettingsFileCalls::Current() {
  static SettingsFileCalls real;
  return replaced != nullptr ? *replaced : real;
}

void SettingsFileCalls::Replace(SettingsFileCalls* calls) {
  replaced = calls;
}

}  // namespace vantrel
