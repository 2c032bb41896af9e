// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stored design data of a grid's appearance layers: five lists of integers and
// texts named "PropCell", "PropCol", "PropRow", "PropFixedCol" and "PropFixedRow".
//
// This file knows only bytes and plain structures, never Qt, so that the reader can be
// fuzzed on its own. The grid turns DesignLayers into fonts and brushes (GridDesign.h).
//
// Byte form, all integers little-endian:
//   data  := "VGD1" list*          each of the five lists exactly once, in any order
//   list  := text(name) value* 'E'
//   value := 'I' int32             a number
//          | 'T' uint16(n) n bytes a text (Windows-1252)
//
// Inside a list the values form entries. "PropCell": column, row, attribute items, 0.
// The other four: index, attribute items, 0. An attribute item is a code and its values:
//   1 align, 2 word wrap, 3 editable, 4 brush (colour, style),
//   5 selected brush (colour, style), 6 font (colour, height, name, pitch, style),
//   7 selected font (colour, height, name, pitch, style); code 0 ends the entry.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "Status.h"

namespace vantrel {

// Refused design data is a kMalformed Status whose reason says why. Out-of-range values
// carry the reason "Range check error", the same as any other range failure of the program.
inline constexpr char kRangeCheckError[] = "Range check error";

// Layer indexes are 16-bit in the stored form.
inline constexpr std::int32_t kMaxDesignIndex = 65535;

using DesignValue = std::variant<std::int32_t, std::string>;
using DesignList = std::vector<DesignValue>;

enum class DesignListId { kPropCell, kPropCol, kPropRow, kPropFixedCol, kPropFixedRow };
inline constexpr std::size_t kDesignListCount = 5;

const char* DesignListName(DesignListId id);

struct DesignLists {
  std::array<DesignList, kDesignListCount> lists;

  DesignList& operator[](DesignListId id) { return lists[static_cast<std::size_t>(id)]; }
  const DesignList& operator[](DesignListId id) const {
    return lists[static_cast<std::size_t>(id)];
  }
  bool operator==(const DesignLists&) const = default;
};

// Colours are 0x00BBGGRR, or with the top bit set a system colour named by the low byte.
struct DesignBrush {
  std::int32_t color = 0;
  std::int32_t style = 0;  // 0 solid, 1 clear, 2 to 7 hatches
  bool operator==(const DesignBrush&) const = default;
};

struct DesignFont {
  std::int32_t color = 0;
  std::int32_t height = 0;  // negative: character height in pixels
  std::string name;
  std::int32_t pitch = 0;  // 0 default, 1 fixed, 2 variable
  std::uint8_t style = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
  bool operator==(const DesignFont&) const = default;
};

// One layer entry. The defaults are the "not set" values: align and word wrap 3,
// editable 0, no brushes and no fonts.
struct DesignEntry {
  std::uint8_t align = 3;
  std::uint8_t wordwrap = 3;
  std::uint8_t editable = 0;
  std::optional<DesignBrush> brush;
  std::optional<DesignBrush> selectedBrush;
  std::optional<DesignFont> font;
  std::optional<DesignFont> selectedFont;

  bool Empty() const;
  bool operator==(const DesignEntry&) const = default;
};

struct DesignCellEntry {
  std::int32_t col = 0;
  std::int32_t row = 0;
  DesignEntry entry;
  bool operator==(const DesignCellEntry&) const = default;
};

struct DesignIndexEntry {
  std::int32_t index = 0;
  DesignEntry entry;
  bool operator==(const DesignIndexEntry&) const = default;
};

// The five layers in stored order. A later entry for an index replaces an earlier one
// when the layers are applied to a grid.
struct DesignLayers {
  std::vector<DesignCellEntry> cells;
  std::vector<DesignIndexEntry> cols;
  std::vector<DesignIndexEntry> rows;
  std::vector<DesignIndexEntry> fixedCols;
  std::vector<DesignIndexEntry> fixedRows;
  bool operator==(const DesignLayers&) const = default;
};

// Bytes to lists and back. Parsing refuses data that is truncated, carries unknown tags
// or list names, or lacks a list. Formatting refuses a text longer than 65535 bytes.
Result<DesignLists> ParseDesignBytes(std::string_view bytes);
Result<std::string> FormatDesignBytes(const DesignLists& lists);

// Lists to layers and back. Reading refuses an index outside 0 to 65535, an editable
// value above 255 and an align, word wrap, pitch or brush style without a meaning (range
// errors), and values of the wrong kind. Writing leaves out empty entries and every item
// that holds its not-set value, and keeps the order of the entries it is given.
Result<DesignLayers> ReadDesignLayers(const DesignLists& lists);
DesignLists WriteDesignLayers(const DesignLayers& layers);

inline Result<DesignLayers> ParseDesignData(std::string_view bytes) {
  Result<DesignLists> lists = ParseDesignBytes(bytes);
  if (!lists.IsOk()) {
    return {{}, std::move(lists.status)};
  }
  return ReadDesignLayers(lists.value);
}
inline Result<std::string> FormatDesignData(const DesignLayers& layers) {
  return FormatDesignBytes(WriteDesignLayers(layers));
}

}  // namespace vantrel
