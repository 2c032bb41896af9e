// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a dictionary: the scan, the search in every mode, the affix load and the
// lookup must end with defined results, whatever the file holds and however the reads
// are cut.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Affixes.h"
#include "Dictionary.h"
#include "LineFilter.h"
#include "Search.h"
#include "WordLookup.h"

namespace {

class Source final : public vantrel::ByteSource {
 public:
  Source(const std::string& data, std::size_t chunk) : data_(data), chunk_(chunk) {}
  long Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min({size, chunk_, data_.size() - pos_});
    data_.copy(buffer, n, pos_);
    pos_ += n;
    return static_cast<long>(n);
  }

 private:
  const std::string& data_;
  std::size_t chunk_;
  std::size_t pos_ = 0;
};

class Host final : public vantrel::EngineHost {
 public:
  void Warn(const vantrel::Message&) override {}
};

}  // namespace

// Lines are cut at 255 characters and the rest skipped up to the line end: inputs must be
// long enough to hold several such lines, so the target raises libFuzzer's maximum input
// length unless the command line sets one.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static std::vector<char*> args(*argv, *argv + *argc);
  static char maxLen[] = "-max_len=16384";
  for (const char* arg : args) {
    if (std::string_view(arg).rfind("-max_len=", 0) == 0) {
      return 0;
    }
  }
  args.insert(args.begin() + (args.empty() ? 0 : 1), maxLen);
  *argc = static_cast<int>(args.size());
  args.push_back(nullptr);
  *argv = args.data();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) {
    return 0;
  }
  // The first byte picks the read size (255: the whole file in one read, so
  // that one buffer holds many stretches of lines), the second the length of the number
  // taken from the start of the file.
  const std::string file(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::size_t chunk = data[0] == 255 ? file.size() + 1 : 1 + data[0] % 64;
  const std::string number = file.substr(0, data[1] % 32);

  std::size_t lines = 0;
  std::vector<std::string> passing;
  vantrel::Status plainResult;
  {
    Source source(file, chunk);
    plainResult = vantrel::ScanDictionary(source, [&](std::string_view line) {
      if (line.size() > vantrel::kShortText) {
        __builtin_trap();
      }
      ++lines;
      const std::size_t comma = line.find(',');
      if (comma != std::string_view::npos && comma > 0 &&
          number.find(line.substr(0, comma)) != std::string::npos) {
        passing.emplace_back(line);
      }
    });
  }
  // The search's own scan passes on exactly the lines that pass the quick test.
  {
    Source source(file, chunk);
    const vantrel::LineFilter test(number);
    std::size_t examined = 0;
    std::size_t next = 0;
    const vantrel::Status result =
        vantrel::ScanFiltered(source, test, examined, [&](std::string_view line) {
          if (next >= passing.size() || passing[next] != line) {
            __builtin_trap();
          }
          ++next;
        });
    if (result.Code() != plainResult.Code() || examined != lines || next != passing.size()) {
      __builtin_trap();
    }
  }
  for (auto mode :
       {vantrel::SearchMode::kAnyPoint, vantrel::SearchMode::kLeft, vantrel::SearchMode::kRight}) {
    Source source(file, chunk);
    vantrel::CellTable candidates(2, vantrel::kSearchRows);
    vantrel::SearchCounts counts;
    vantrel::SearchCandidates(source, number, mode, candidates, counts);
    if (counts.words + 1 != static_cast<int>(lines) || counts.matches > vantrel::kMaxCandidates) {
      __builtin_trap();
    }
  }
  {
    Source source(file, chunk);
    vantrel::AffixTable affixes;
    affixes.Load(source);
    if (affixes.AffixLast >= vantrel::AffixTable::kCapacity) {
      __builtin_trap();
    }
  }
  {
    vantrel::DictionaryFile dictionary(
        [&](const std::string&) { return std::make_unique<Source>(file, chunk); });
    Host host;
    vantrel::LookupModel lookup(dictionary, host);
    lookup.TypeWord(number, true);
    lookup.LookUp();
  }
  return 0;
}
