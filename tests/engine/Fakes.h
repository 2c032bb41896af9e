// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Seams for engine tests: dictionaries in memory that can be read in small pieces or
// fail part-way, a host that records what the window would have shown, and a fixture
// that puts the two together.

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CellTable.h"
#include "Dictionary.h"
#include "MainModel.h"

namespace vantrel::testing {

using Words = std::vector<std::string>;

class MemorySource final : public ByteSource {
 public:
  // chunk: the most bytes one read returns; failAt: the offset at which reading fails;
  // size: the size the source claims, 0 for none.
  explicit MemorySource(std::string data, std::size_t chunk = 1 << 20,
                        std::size_t failAt = std::string::npos, long long size = 0)
      : data_(std::move(data)), chunk_(chunk), failAt_(failAt), size_(size) {}
  long long Size() const override { return size_; }

  long Read(char* buffer, std::size_t size) override {
    if (pos_ >= failAt_) {
      errno = EIO;
      return -1;
    }
    std::size_t n = std::min({size, chunk_, data_.size() - pos_});
    if (failAt_ != std::string::npos) {
      n = std::min(n, failAt_ - pos_);
    }
    std::copy_n(data_.data() + pos_, n, buffer);
    pos_ += n;
    return static_cast<long>(n);
  }

 private:
  std::string data_;
  std::size_t chunk_;
  std::size_t failAt_;
  long long size_;
  std::size_t pos_ = 0;
};

// A file system of named texts; a path it lacks cannot be opened.
struct MemoryFiles {
  std::map<std::string, std::string> files;
  std::size_t chunk = 1 << 20;
  std::size_t failAt = std::string::npos;
  // The size each file claims when opened: a size from MainModel::kAwaySearchBytes on
  // has a search run on a thread of its own.
  long long claimedSize = 0;

  SourceOpener Opener() {
    return [this](const std::string& path) -> std::unique_ptr<ByteSource> {
      const auto it = files.find(path);
      if (it == files.end()) {
        return nullptr;
      }
      return std::make_unique<MemorySource>(it->second, chunk, failAt, claimedSize);
    };
  }
};

// Joins dictionary lines with CR LF and ends the file with the empty line that keeps
// the last entry examined.
inline std::string Dict(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    out += line + "\r\n";
  }
  return out + "\r\n";
}

class RecordingHost : public MainHost {
 public:
  void Warn(const Message& message) override { warnings.push_back(Render(message, nullptr)); }
  void SetBusy(bool busy) override {
    busyNow = busy;
    busyChanges.push_back(busy);
  }
  void EntryWritten() override { ++entryWrites; }
  std::optional<std::string> ChooseDictionaryFile() override {
    ++dialogs;
    return nextChoice;
  }
  void ShowAffixWindow() override {
    ++affixWindows;
    if (onAffixWindow) {
      onAffixWindow();
    }
  }
  std::string Translate(std::string_view english) override {
    return translate ? "[" + std::string(english) + "]" : std::string(english);
  }
  double Now() override {
    const double t = clock;
    clock += tick;
    return t;
  }
  char DecimalSeparator() override { return separator; }
  void SearchStarted() override { ++searchStarts; }

  std::vector<std::string> warnings;
  std::vector<bool> busyChanges;
  bool busyNow = false;
  int entryWrites = 0;
  int dialogs = 0;
  std::optional<std::string> nextChoice;
  int affixWindows = 0;
  std::function<void()> onAffixWindow;
  bool translate = false;
  double clock = 0;
  double tick = 0;
  char separator = '.';
  int searchStarts = 0;
};

// The words a grid shows: the filled cells of its first column from row `from` on.
inline Words ColumnWords(const CellTable& table, int from) {
  Words out;
  for (int row = from; row < table.RowCount(); ++row) {
    if (!table.Cell(0, row).empty()) {
      out.push_back(table.Cell(0, row));
    }
  }
  return out;
}

// A dictionary read from memory through the DictionaryFile a window uses, and the host
// that records what the window would show. A fixture derives from it, so that its model,
// declared in the fixture, is made after both.
struct MemoryDictionary {
  // The lines, joined by Dict, become the file path and the dictionary in use.
  void UseDictionary(const std::vector<std::string>& lines, const std::string& path = "dict.txt") {
    files.files[path] = Dict(lines);
    dictionary.Bind(path);
    dictionary.name = path;
  }

  MemoryFiles files;
  DictionaryFile dictionary{files.Opener()};
  RecordingHost host;
};

}  // namespace vantrel::testing
