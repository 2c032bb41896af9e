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

// Attribute codes of an entry. The editable one is named apart from the editable value
// kEditable (CellProperties.h), which is another number in the same namespace.
enum Code : std::int32_t {
  kEndOfEntry = 0,
  kAlign = 1,
  kWordwrap = 2,
  kEditableAttribute = 3,
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

Status Refusal(const std::string& reason) {
  return {StatusCode::kMalformed, reason};
}

// The readers below keep the first failure and read nothing after it: each read then
// gives 0 or an empty text, and the caller looks at Failure() where the failure would
// change what it does next.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ == bytes_.size(); }
  bool Failed() const { return !failure_.IsOk(); }
  const Status& Failure() const { return failure_; }
  void Fail(const std::string& reason) {
    if (!Failed()) {
      failure_ = Refusal(reason);
    }
  }

  char Tag() {
    if (!Need(1)) {
      return '\0';
    }
    return bytes_[pos_++];
  }

  std::int32_t Int32() {
    if (!Need(4)) {
      return 0;
    }
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
      value = (value << 8) | static_cast<unsigned char>(bytes_[pos_ + static_cast<std::size_t>(i)]);
    }
    pos_ += 4;
    return static_cast<std::int32_t>(value);
  }

  std::string Text() {
    if (!Need(2)) {
      return {};
    }
    const std::size_t length =
        static_cast<unsigned char>(bytes_[pos_]) |
        (static_cast<std::size_t>(static_cast<unsigned char>(bytes_[pos_ + 1])) << 8);
    pos_ += 2;
    if (!Need(length)) {
      return {};
    }
    std::string text(bytes_.substr(pos_, length));
    pos_ += length;
    return text;
  }

  std::string_view Take(std::size_t count) {
    if (!Need(count)) {
      return {};
    }
    const std::string_view part = bytes_.substr(pos_, count);
    pos_ += count;
    return part;
  }

 private:
  bool Need(std::size_t count) {
    if (Failed()) {
      return false;
    }
    if (bytes_.size() - pos_ < count) {
      Fail("Design data ends too early");
      return false;
    }
    return true;
  }

  std::string_view bytes_;
  std::size_t pos_ = 0;
  Status failure_;
};

// The list's place in DesignLists, or nothing for a name that is none of the five.
std::optional<std::size_t> ListIndex(std::string_view name) {
  for (std::size_t i = 0; i < kListNames.size(); ++i) {
    if (name == kListNames[i]) {
      return i;
    }
  }
  return std::nullopt;
}

void PutInt32(std::string& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) {
    out += static_cast<char>((bits >> (8 * i)) & 0xFFu);
  }
}

bool PutText(std::string& out, const std::string& text) {
  if (text.size() > 0xFFFF) {
    return false;
  }
  out += kTagText;
  out += static_cast<char>(text.size() & 0xFFu);
  out += static_cast<char>((text.size() >> 8) & 0xFFu);
  out += text;
  return true;
}

// Walks the values of one list, naming the list in every complaint.
class ListReader {
 public:
  ListReader(const DesignList& list, const char* name) : list_(list), name_(name) {}

  bool AtEnd() const { return pos_ == list_.size(); }
  bool Failed() const { return !failure_.IsOk(); }
  const Status& Failure() const { return failure_; }

  std::int32_t Int() {
    const DesignValue* value = Next();
    if (value == nullptr) {
      return 0;
    }
    if (const auto* number = std::get_if<std::int32_t>(value)) {
      return *number;
    }
    Fail(std::string(name_) + " holds a text where a number belongs");
    return 0;
  }

  std::string Text() {
    const DesignValue* value = Next();
    if (value == nullptr) {
      return {};
    }
    if (const auto* text = std::get_if<std::string>(value)) {
      return *text;
    }
    Fail(std::string(name_) + " holds a number where a font name belongs");
    return {};
  }

  std::int32_t InRange(std::int32_t low, std::int32_t high) {
    const std::int32_t value = Int();
    if (value < low || value > high) {
      Fail(kRangeCheckError);
      return low;
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
    while (!Failed()) {
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
        case kEditableAttribute:
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
          Fail("Unknown attribute code " + std::to_string(code) + " in " + name_);
      }
    }
    return entry;
  }

 private:
  void Fail(const std::string& reason) {
    if (!Failed()) {
      failure_ = Refusal(reason);
    }
  }

  // nullptr after a failure, or at the end of the list, which is a failure of its own.
  const DesignValue* Next() {
    if (Failed()) {
      return nullptr;
    }
    if (AtEnd()) {
      Fail(std::string(name_) + " ends inside an entry");
      return nullptr;
    }
    return &list_[pos_++];
  }

  const DesignList& list_;
  const char* name_;
  std::size_t pos_ = 0;
  Status failure_;
};

Status ReadIndexList(const DesignLists& lists, DesignListId id,
                     std::vector<DesignIndexEntry>& entries) {
  ListReader reader(lists[id], DesignListName(id));
  while (!reader.AtEnd() && !reader.Failed()) {
    DesignIndexEntry item;
    item.index = reader.Index();
    item.entry = reader.Entry();
    entries.push_back(std::move(item));
  }
  return reader.Failure();
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
    out.insert(out.end(), {kEditableAttribute, entry.editable});
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

Result<DesignLists> ParseDesignBytes(std::string_view bytes) {
  ByteReader reader(bytes);
  if (bytes.substr(0, kSignature.size()) != kSignature) {
    if (kSignature.substr(0, bytes.size()) == bytes) {
      return {{}, Refusal("Design data ends too early")};
    }
    return {{}, Refusal("Not grid design data")};
  }
  reader.Take(kSignature.size());

  DesignLists lists;
  std::array<bool, kDesignListCount> seen{};
  while (!reader.AtEnd() && !reader.Failed()) {
    if (reader.Tag() != kTagText) {
      reader.Fail("A design list does not start with its name");
      break;
    }
    const std::string name = reader.Text();
    if (reader.Failed()) {
      break;
    }
    const std::optional<std::size_t> index = ListIndex(name);
    if (!index) {
      reader.Fail("Unknown design list \"" + Printable(name) + "\"");
      break;
    }
    if (seen[*index]) {
      reader.Fail("Design list \"" + name + "\" is stored twice");
      break;
    }
    seen[*index] = true;
    DesignList& list = lists.lists[*index];
    while (!reader.Failed()) {
      const char tag = reader.Tag();
      if (reader.Failed() || tag == kTagEnd) {
        break;
      }
      if (tag == kTagInt) {
        list.emplace_back(reader.Int32());
      } else if (tag == kTagText) {
        list.emplace_back(reader.Text());
      } else {
        reader.Fail("Unknown value tag " + std::to_string(static_cast<unsigned char>(tag)) +
                    " in " + name);
      }
    }
  }
  if (reader.Failed()) {
    return {{}, reader.Failure()};
  }
  for (std::size_t i = 0; i < kDesignListCount; ++i) {
    if (!seen[i]) {
      return {{}, Refusal(std::string("Design list \"") + kListNames[i] + "\" is missing")};
    }
  }
  return {std::move(lists), Status()};
}

Result<std::string> FormatDesignBytes(const DesignLists& lists) {
  std::string out(kSignature);
  for (std::size_t i = 0; i < kDesignListCount; ++i) {
    PutText(out, kListNames[i]);
    for (const DesignValue& value : lists.lists[i]) {
      if (const auto* number = std::get_if<std::int32_t>(&value)) {
        out += kTagInt;
        PutInt32(out, *number);
      } else if (!PutText(out, std::get<std::string>(value))) {
        return {{}, Refusal("A text of the design data is longer than 65535 bytes")};
      }
    }
    out += kTagEnd;
  }
  return {std::move(out), Status()};
}

Result<DesignLayers> ReadDesignLayers(const DesignLists& lists) {
  DesignLayers layers;
  ListReader cells(lists[DesignListId::kPropCell], DesignListName(DesignListId::kPropCell));
  while (!cells.AtEnd() && !cells.Failed()) {
    DesignCellEntry item;
    item.col = cells.Index();
    item.row = cells.Index();
    item.entry = cells.Entry();
    layers.cells.push_back(std::move(item));
  }
  Status read = cells.Failure();
  const std::pair<DesignListId, std::vector<DesignIndexEntry>*> indexed[] = {
      {DesignListId::kPropCol, &layers.cols},
      {DesignListId::kPropRow, &layers.rows},
      {DesignListId::kPropFixedCol, &layers.fixedCols},
      {DesignListId::kPropFixedRow, &layers.fixedRows}};
  for (const auto& [id, entries] : indexed) {
    if (!read.IsOk()) {
      return {{}, std::move(read)};
    }
    read = ReadIndexList(lists, id, *entries);
  }
  if (!read.IsOk()) {
    return {{}, std::move(read)};
  }
  return {std::move(layers), Status()};
}

DesignLists WriteDesignLayers(const DesignLayers& layers) {
  DesignLists lists;
  DesignList& cells = lists[DesignListId::kPropCell];
  for (const DesignCellEntry& item : layers.cells) {
    if (item.entry.Empty()) {
      continue;
    }
    cells.insert(cells.end(), {item.col, item.row});
    WriteEntry(cells, item.entry);
  }
  WriteIndexList(lists[DesignListId::kPropCol], layers.cols);
  WriteIndexList(lists[DesignListId::kPropRow], layers.rows);
  WriteIndexList(lists[DesignListId::kPropFixedCol], layers.fixedCols);
  WriteIndexList(lists[DesignListId::kPropFixedRow], layers.fixedRows);
  return lists;
}

}  // namespace vantrel
