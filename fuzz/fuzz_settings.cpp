// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the settings file, found as a regular file, a link, a FIFO or a folder: the
// store's checks read only a regular file (never waiting on a FIFO), the parser ends with
// a document or a reason, and each of the 18 values reads by its type with the registry's
// rules: a text or a failure for a text, an integer or a failure for an integer, 0 or 1
// for a switch.

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "RegFile.h"
#include "SettingsList.h"
#include "SettingsRead.h"

namespace {

void Remove(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) {
    S_ISDIR(info.st_mode) ? ::rmdir(path.c_str()) : ::unlink(path.c_str());
  }
}

const std::string& Folder();

// The run leaves nothing behind in /tmp.
void RemoveFolder() {
  Remove(Folder() + "/Vantrel.reg");
  Remove(Folder() + "/target.reg");
  Remove(Folder());
}

const std::string& Folder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/fuzz_settings-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (made == nullptr) {
      __builtin_trap();
    }
    return std::string(made);
  }();
  // Registered after the name is made, so it runs before the name is destroyed.
  static const bool cleanedUp = std::atexit(RemoveFolder) == 0;
  (void)cleanedUp;
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) {
    return 0;
  }
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string file = Folder() + "/Vantrel.reg";
  const std::string target = Folder() + "/target.reg";
  Remove(file);
  Remove(target);

  enum { kRegular, kLink, kDangling, kFifo, kFolder, kKinds };
  const int kind = data[0] % kKinds;
  if (kind == kRegular || kind == kLink) {
    const std::string& written = kind == kRegular ? file : target;
    FILE* out = std::fopen(written.c_str(), "wb");
    if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) {
      __builtin_trap();
    }
    std::fclose(out);
  }
  if ((kind == kLink || kind == kDangling) && ::symlink(target.c_str(), file.c_str()) != 0) {
    __builtin_trap();
  }
  if (kind == kFifo && ::mkfifo(file.c_str(), 0600) != 0) {
    __builtin_trap();
  }
  if (kind == kFolder && ::mkdir(file.c_str(), 0700) != 0) {
    __builtin_trap();
  }

  std::string read;
  const vantrel::Status status = vantrel::ReadSettingsFile(file, read);
  using vantrel::StatusCode;
  const StatusCode expected = kind == kDangling                  ? StatusCode::kNotFound
                              : kind == kFifo || kind == kFolder ? StatusCode::kNotAFile
                                                                 : StatusCode::kOk;
  if (status.Code() != expected || (status.IsOk() && read != bytes) ||
      (!status.IsOk() && (status.Reason().empty() || !read.empty()))) {
    __builtin_trap();
  }
  if (!status.IsOk()) {
    return 0;
  }

  const vantrel::regfile::ParseResult parsed = vantrel::regfile::Parse(read);
  if (!parsed.IsOk()) {
    return 0;
  }
  const vantrel::regfile::Key* key = parsed.document.Find("HKEY_CURRENT_USER\\Software\\Vantrel");
  if (key == nullptr) {
    return 0;
  }
  for (const vantrel::SettingRow& row : vantrel::kSettingsTable) {
    vantrel::TypedValue value;
    const StatusCode failure = vantrel::ReadTyped(*key, row.name, row.type, value).Code();
    const vantrel::regfile::Value* stored = key->Find(row.name);
    switch (row.type) {
      case vantrel::SettingType::kText:
        if (failure == StatusCode::kNotFound ||
            (failure == StatusCode::kOk && stored != nullptr && value.text != stored->text) ||
            (stored == nullptr && (failure != StatusCode::kOk || !value.text.empty()))) {
          __builtin_trap();
        }
        break;
      case vantrel::SettingType::kSwitch:
        if (failure == StatusCode::kOk && value.integer != 0 && value.integer != 1) {
          __builtin_trap();
        }
        [[fallthrough]];
      case vantrel::SettingType::kInteger:
        if ((stored == nullptr) != (failure == StatusCode::kNotFound) ||
            (stored != nullptr && (stored->kind == vantrel::regfile::ValueKind::kDword) !=
                                      (failure == StatusCode::kOk))) {
          __builtin_trap();
        }
        if (row.type == vantrel::SettingType::kInteger && failure == StatusCode::kOk &&
            static_cast<std::uint32_t>(value.integer) != stored->dword) {
          __builtin_trap();
        }
        break;
    }
  }
  return 0;
}
