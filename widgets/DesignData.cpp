// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesignData.h"

#include <cstddef>

namespace vantrel {
namespace {

constexpr std::string_view kSignature = "VGD1";
constexpr char kTagInt = 'I';
constexpr char kTagText = 'T';
constexpr char kTagEnd = 'E';

constexpr std::array<const char*, kDesignListCount> kListNames = {"PropCell", "PropCol", "PropRow",
                                                                  "PropFixedCol", "PropFixedRow"};

// Attribute codes of an entry.
enum Code : std::int32_t {
  kEndOfEntry = 0,
  kAlign = 1,
  kWordwrap = 2,
  kEditable = 3,
  kBrush = 4,
  kSelectedBrush = 5,
  kFont = 6,
  kSelectedFont = 7,
};

constexpr std::int32_t kMaxAlign = 3;
constexpr std::int32_t kMaxWordwrap = 3;
constexpr std::int32_t kMaxEditable = 255;
constexpr std::int32_t kMaxPitch = 2;
constexpr std::int32_t kMaxBrushStyle = 7;

// A name read from the data, shown in a message: only plain characters, and not all of
// a long one.
std::string Printable(std::string_view text) {
  std::string out;
  for (char ch : text.substr(0, 40)) {
    out += (ch >= 0x20 && ch < 0x7F) ? ch : '?';
  }
  if (text.size() > 40) {
    out += "...";
  }
  return out;
}

[[noreturn]] void Fail(DesignDataError::Kind kind, const std::string& message) {
  throw DesignDataError(kind, message);
}

[[noreturn]] void RangeError() {
  Fail(DesignDataError::Kind::Range, kRangeCheckError);
}

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ == bytes_.size(); }

  char Tag() {
    Need(1);
    return bytes_[pos_++];
  }

  std::int32_t Int32() {
    Need(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
      value = (value << 8) | static_cast<unsigned char>(bytes_[pos_ + static_cast<std::size_t>(i)]);
    }
    pos_ += 4;
    return static_cast<std::int32_t>(value);
  }

  std::string Text() {
    Need(2);
    const std::size_t length =
        static_cast<unsigned char>(bytes_[pos_]) |
        (static_cast<std::size_t>(static_cast<unsigned char>(bytes_[pos_ + 1])) << 8);
    pos_ += 2;
    Need(length);
    std::string text(bytes_.substr(pos_, length));
    pos_ += length;
    return text;
  }

  std::string_view Take(std::size_t count) {
    Need(count);
    const std::string_view part = bytes_.substr(pos_, count);
    pos_ += count;
    return part;
  }

 private:
  void Need(std::size_t count) const {
    if (bytes_.size() - pos_ < count) {
      Fail(DesignDataError::Kind::Truncated, "Design data ends too early");
    }
  }

  std::string_view bytes_;
  std::size_t pos_ = 0;
};

std::size_t ListIndex(std::string_view name) {
  for (std::size_t i = 0; i < kListNames.size(); ++i) {
    if (name == kListNames[i]) {
      return i;
    }
  }
  Fail(DesignDataError::Kind::UnknownCode, "Unknown design list \"" + Printable(name) + "\"");
}

void PutInt32(std::string& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) {
    out += static_cast<char>((bits >> (8 * i)) & 0xFFu);
  }
}

void PutText(std::string& out, const std::string& text) {
  if (text.size() > 0xFFFF) {
    Fail(DesignDataError::Kind::Malformed, "A text of the design data is longer than 65535 bytes");
  }
  out += kTagText;
  out += static_cast<char>(text.size() & 0xFFu);
  out += static_cast<char>((text.size() >> 8) & 0xFFu);
  out += text;
}

// Walks the values of one list, naming the list in every complaint.
class ListReader {
 public:
  ListReader(const DesignList& list, const char* name) : list_(list), name_(name) {}

  bool AtEnd() const { return pos_ == list_.size(); }

  std::int32_t Int() {
    const DesignValue& value = Next();
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
      return *number;
    }
    Fail(DesignDataError::Kind::Malformed,
         std::string(name_) + " holds a text where a number belongs");
  }

  std::string Text() {
    const DesignValue& value = Next();
    if (const auto* text = std::get_if<std::string>(&value)) {
      return *text;
    }
    Fail(DesignDataError::Kind::Malformed,
         std::string(name_) + " holds a number where a font name belongs");
  }

  std::int32_t InRange(std::int32_t low, std::int32_t high) {
    const std::int32_t value = Int();
    if (value < low || value > high) {
      RangeError();
    }
    return value;
  }

  std::int32_t Index() { return InRange(0, kMaxDesignIndex); }

  DesignBrush Brush() {
    DesignBrush brush;
    brush.color = Int();
    brush.style = InRange(0, kMaxBrushStyle);
    return brush;
  }

  DesignFont Font() {
    DesignFont font;
    font.color = Int();
    font.height = Int();
    font.name = Text();
    font.pitch = InRange(0, kMaxPitch);
    // Only the lowest byte of a style carries anything.
    font.style = static_cast<std::uint8_t>(static_cast<std::uint32_t>(Int()) & 0xFFu);
    return font;
  }

  DesignEntry Entry() {
    DesignEntry entry;
    for (;;) {
      const std::int32_t code = Int();
      switch (code) {
        case kEndOfEntry:
          return entry;
        case kAlign:
          entry.align = static_cast<std::uint8_t>(InRange(0, kMaxAlign));
          break;
        case kWordwrap:
          entry.wordwrap = static_cast<std::uint8_t>(InRange(0, kMaxWordwrap));
          break;
        case kEditable:
          entry.editable = static_cast<std::uint8_t>(InRange(0, kMaxEditable));
          break;
        case kBrush:
          entry.brush = Brush();
          break;
        case kSelectedBrush:
          entry.selectedBrush = Brush();
          break;
        case kFont:
          entry.font = Font();
          break;
        case kSelectedFont:
          entry.selectedFont = Font();
          break;
        default:
          Fail(DesignDataError::Kind::UnknownCode,
               "Unknown attribute code " + std::to_string(code) + " in " + name_);
      }
    }
  }

 private:
  const DesignValue& Next() {
    if (AtEnd()) {
      Fail(DesignDataError::Kind::Truncated, std::string(name_) + " ends inside an entry");
    }
    return list_[pos_++];
  }

  const DesignList& list_;
  const char* name_;
  std::size_t pos_ = 0;
};

std::vector<DesignIndexEntry> ReadIndexList(const DesignLists& lists, DesignListId id) {
  ListReader reader(lists[id], DesignListName(id));
  std::vector<DesignIndexEntry> entries;
  while (!reader.AtEnd()) {
    DesignIndexEntry item;
    item.index = reader.Index();
    item.entry = reader.Entry();
    entries.push_back(std::move(item));
  }
  return entries;
}

void WriteBrush(DesignList& out, std::int32_t code, const DesignBrush& brush) {
  out.insert(out.end(), {code, brush.color, brush.style});
}

void WriteFont(DesignList& out, std::int32_t code, const DesignFont& font) {
  out.insert(out.end(), {code, font.color, font.height});
  out.emplace_back(font.name);
  out.insert(out.end(), {font.pitch, static_cast<std::int32_t>(font.style)});
}

void WriteEntry(DesignList& out, const DesignEntry& entry) {
  if (entry.align != 3) {
    out.insert(out.end(), {kAlign, entry.align});
  }
  if (entry.wordwrap != 3) {
    out.insert(out.end(), {kWordwrap, entry.wordwrap});
  }
  if (entry.editable != 0) {
    out.insert(out.end(), {kEditable, entry.editable});
  }
  if (entry.brush) {
    WriteBrush(out, kBrush, *entry.brush);
  }
  if (entry.selectedBrush) {
    WriteBrush(out, kSelectedBrush, *entry.selectedBrush);
  }
  if (entry.font) {
    WriteFont(out, kFont, *entry.font);
  }
  if (entry.selectedFont) {
    WriteFont(out, kSelectedFont, *entry.selectedFont);
  }
  out.emplace_back(std::int32_t{kEndOfEntry});
}

void WriteIndexList(DesignList& out, const std::vector<DesignIndexEntry>& entries) {
  for (const DesignIndexEntry& item : entries) {
    if (item.entry.Empty()) {
      continue;
    }
    out.emplace_back(item.index);
    WriteEntry(out, item.entry);
  }
}

}  // namespace

const char* DesignListName(DesignListId id) {
  return kListNames[static_cast<std::size_t>(id)];
}

bool DesignEntry::Empty() const {
  return align == 3 && wordwrap == 3 && editable == 0 && !brush && !selectedBrush && !font &&
         !selectedFont;
}

DesignLists ParseDesignBytes(std::string_view bytes) {
  ByteReader reader(bytes);
  if (bytes.substr(0, kSignature.size()) != kSignature) {
    if (kSignature.substr(0, bytes.size()) == bytes) {
      Fail(DesignDataError::Kind::Truncated, "Design data ends too early");
    }
    Fail(DesignDataError::Kind::Malformed, "Not grid design data");
  }
  reader.Take(kSignature.size());

  DesignLists lists;
  std::array<bool, kDesignListCount> seen{};
  while (!reader.AtEnd()) {
    if (reader.Tag() != kTagText) {
      Fail(DesignDataError::Kind::Malformed, "A design list does not start with its name");
    }
    const std::string name = reader.Text();
    const std::size_t index = ListIndex(name);
    if (seen[index]) {
      Fail(DesignDataError::Kind::Malformed, "Design list \"" + name + "\" is stored twice");
    }
    seen[index] = true;
    DesignList& list = lists.lists[index];
    for (;;) {
      const char tag = reader.Tag();
      if (tag == kTagEnd) {
        break;
      }
      if (tag == kTagInt) {
        list.emplace_back(reader.Int32());
      } else if (tag == kTagText) {
        list.emplace_back(reader.Text());
      } else {
        Fail(
            DesignDataError::Kind::UnknownCode,
            "Unknown value tag " + std::to_string(static_cast<unsigned char>(tag)) + " in " + name);
      }
    }
  }
  for (std::size_t i = 0; i < kDesignListCount; ++i) {
    if (!seen[i]) {
      Fail(DesignDataError::Kind::Truncated,
           std::string("Design list \"") + kListNames[i] + "\" is missing");
    }
  }
  return lists;
}

std::string FormatDesignBytes(const DesignLists& lists) {
  std::string out(kSignature);
  for (std::size_t i = 0; i < kDesignListCount; ++i) {
    PutText(out, kListNames[i]);
    for (const DesignValue& value : lists.lists[i]) {
      if (const auto* number = std::get_if<std::int32_t>(&value)) {
        out += kTagInt;
        PutInt32(out, *number);
      } else {
        PutText(out, std::get<std::string>(value));
      }
    }
    out += kTagEnd;
  }
  return out;
}

DesignLayers ReadDesignLayers(const DesignLists& lists) {
  DesignLayers layers;
  ListReader cells(lists[DesignListId::PropCell], DesignListName(DesignListId::PropCell));
  while (!cells.AtEnd()) {
    DesignCellEntry item;
    item.col = cells.Index();
    item.row = cells.Index();
    item.entry = cells.Entry();
    layers.cells.push_back(std::move(item));
  }
  layers.cols = ReadIndexList(lists, DesignListId::PropCol);
  layers.rows = ReadIndexList(lists, DesignListId::PropRow);
  layers.fixedCols = ReadIndexList(lists, DesignListId::PropFixedCol);
  layers.fixedRows = ReadIndexList(lists, DesignListId::PropFixedRow);
  return layers;
}

DesignLists WriteDesignLayers(const DesignLayers& layers) {
  DesignLists lists;
  DesignList& cells = lists[DesignListId::PropCell];
  for (const DesignCellEntry& item : layers.cells) {
    if (item.entry.Empty()) {
      continue;
    }
    cells.insert(cells.end(), {item.col, item.row});
    WriteEntry(cells, item.entry);
  }
  WriteIndexList(lists[DesignListId::PropCol], layers.cols);
  WriteIndexList(lists[DesignListId::PropRow], layers.rows);
  WriteIndexList(lists[DesignListId::PropFixedCol], layers.fixedCols);
  WriteIndexList(lists[DesignListId::PropFixedRow], layers.fixedRows);
  return lists;
}

}  // namespace vantrel
