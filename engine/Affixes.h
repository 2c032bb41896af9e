// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The affix table: the dictionary's endings and beginnings, the only part of a
// dictionary held in memory.

#include <cstdint>
#include <string>
#include <vector>

#include "Dictionary.h"

namespace vantrel {

struct AffixRecord {
  std::uint8_t Kind = 0;  // kSuffix or kPrefix
  std::string Word;       // the word field as in the file, marks included
  std::string Digits;
  std::string ClassLetter;
};

inline constexpr std::uint8_t kSuffix = 0;
inline constexpr std::uint8_t kPrefix = 1;

class AffixTable {
 public:
  static constexpr int kCapacity = 8500;

  // The index of the last filled entry; -1 when the table is empty.
  int AffixLast = -1;

  // An entry from 0 to AffixLast.
  const AffixRecord& operator[](int index) const {
    return entries_[static_cast<std::size_t>(index)];
  }

  // Fills the table from the lines of a dictionary. A word field that begins with '-'
  // or '+' is an ending, one that ends with either a beginning, one marked at both
  // ends both (the ending first). Past the capacity, the last entry is overwritten by
  // each further one. Entries read before a read failure stay.
  Status Load(ByteSource& source);
  // The lines the last Load examined, affixes or not.
  int ExaminedLines() const { return examinedLines_; }

 private:
  void Store(std::uint8_t kind, const DictionaryEntry& entry);

  // Grows with the entries stored, up to the capacity: a dictionary has some hundred
  // affixes, and room for all 8500 would be most of a megabyte for nothing. Entries past
  // AffixLast are left from an earlier load and reused by the next.
  std::vector<AffixRecord> entries_;
  int examinedLines_ = 0;
};

}  // namespace vantrel
