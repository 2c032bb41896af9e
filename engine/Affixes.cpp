// SPDX-License-Identifier: GPL-3.0-or-later
#include "Affixes.h"

#include <algorithm>

namespace vantrel {

void AffixTable::Store(std::uint8_t kind, const DictionaryEntry& entry) {
  AffixLast = std::min(AffixLast + 1, kCapacity - 1);
  if (entries_.size() <= static_cast<std::size_t>(AffixLast)) {
    entries_.emplace_back();
  }
  AffixRecord& record = entries_[static_cast<std::size_t>(AffixLast)];
  record.Kind = kind;
  record.Word = entry.word;
  record.Digits = entry.digits;
  record.ClassLetter.assign(1, entry.classLetter);
}

Status AffixTable::Load(ByteSource& source) {
  AffixLast = -1;
  examinedLines_ = 0;
  DictionaryEntry entry;
  return ScanDictionary(source, [&](std::string_view line) {
    ++examinedLines_;
    // Most lines are plain words: a mark can only stand right after the first comma
    // or right before the second one, so lines without '-' or '+' are passed over.
    if (line.find_first_of("-+") == std::string_view::npos) {
      return;
    }
    if (!ParseDictionaryLine(line, entry)) {
      return;
    }
    const char first = entry.word.front();
    const char last = entry.word.back();
    if (first == '-' || first == '+') {
      Store(kSuffix, entry);
    }
    if (last == '-' || last == '+') {
      Store(kPrefix, entry);
    }
  });
}

}  // namespace vantrel
