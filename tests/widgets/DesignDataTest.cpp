// SPDX-License-Identifier: GPL-3.0-or-later
// Stored design data: bytes, lists and layers, round trips and refused data.

#include "DesignData.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

constexpr std::int32_t kWindowText = -2147483640;

DesignLists ListsWith(DesignListId id, DesignList values) {
  DesignLists lists;
  lists[id] = std::move(values);
  return lists;
}

// Layers touching every attribute and every list.
DesignLayers Sample() {
  DesignLayers layers;
  DesignEntry bold;
  bold.font = DesignFont{kWindowText, -16, "MS Sans Serif", 0, 1};
  layers.cells.push_back({0, 0, bold});
  DesignEntry full;
  full.align = 2;
  full.wordwrap = 2;
  full.editable = 255;
  full.brush = DesignBrush{0xFFFFFF, 0};
  full.selectedBrush = DesignBrush{0x0000FF, 7};
  full.font = DesignFont{0, -12, "Caf\xE9", 1, 0x0F};
  full.selectedFont = DesignFont{0xFFFFFF, 10, "", 2, 0};
  layers.cells.push_back({65535, 65535, full});
  layers.cols.push_back({1, bold});
  layers.rows.push_back({0, full});
  layers.fixedCols.push_back({3, bold});
  layers.fixedRows.push_back({0, bold});
  return layers;
}

TEST(DesignData, LayersSurviveBytesAndBack) {
  const DesignLayers layers = Sample();
  const Result<std::string> bytes = FormatDesignData(layers);
  ASSERT_TRUE(bytes.IsOk()) << bytes.status;
  const Result<DesignLayers> read = ParseDesignData(bytes.value);
  ASSERT_TRUE(read.IsOk()) << read.status;
  EXPECT_EQ(read.value, layers);
  EXPECT_EQ(ParseDesignBytes(bytes.value).value, WriteDesignLayers(layers));
}

TEST(DesignData, ATextTooLongForTheStoredFormIsRefusedNotCut) {
  DesignLayers layers;
  DesignEntry entry;
  entry.font = DesignFont{0, -16, std::string(65536, 'x'), 0, 0};
  layers.rows.push_back({0, entry});
  EXPECT_EQ(FormatDesignData(layers).status,
            Status(StatusCode::kMalformed, "A text of the design data is longer than 65535 bytes"));
  entry.font->name.pop_back();
  layers.rows[0].entry = entry;
  const Result<std::string> longest = FormatDesignData(layers);
  ASSERT_TRUE(longest.IsOk()) << longest.status;
  EXPECT_EQ(ParseDesignData(longest.value).value, layers);
}

TEST(DesignData, EntryItemsAppearInCodeOrderAndOnlyWhenSet) {
  DesignLayers layers;
  DesignEntry entry;
  entry.font = DesignFont{kWindowText, -16, "MS Sans Serif", 0, 1};
  entry.wordwrap = 2;
  entry.align = 3;  // not set
  layers.cols.push_back({4, entry});
  layers.cols.push_back({5, DesignEntry{}});  // empty: left out
  const DesignList expected = {4, 2, 2, 6, kWindowText, -16, std::string("MS Sans Serif"), 0, 1, 0};
  EXPECT_EQ(WriteDesignLayers(layers)[DesignListId::kPropCol], expected);
}

TEST(DesignData, EmptyDataHasFiveEmptyLists) {
  const std::string bytes = FormatDesignData(DesignLayers{}).value;
  const Result<DesignLists> lists = ParseDesignBytes(bytes);
  ASSERT_TRUE(lists.IsOk()) << lists.status;
  EXPECT_EQ(lists.value, DesignLists{});
  const Result<DesignLayers> layers = ParseDesignData(bytes);
  ASSERT_TRUE(layers.IsOk()) << layers.status;
  EXPECT_EQ(layers.value, DesignLayers{});
}

TEST(DesignData, OnlyTheLowestByteOfAFontStyleCounts) {
  const DesignLists lists =
      ListsWith(DesignListId::kPropRow, {7, 6, 0, -16, std::string("Arial"), 0, 0x7F02, 0});
  const DesignLayers layers = ReadDesignLayers(lists).value;
  ASSERT_EQ(layers.rows.size(), 1u);
  EXPECT_EQ(layers.rows[0].entry.font->style, 0x02);
}

TEST(DesignData, LaterEntriesForAnIndexAreKeptInOrder) {
  const DesignLists lists = ListsWith(DesignListId::kPropCol, {1, 1, 0, 0, 1, 1, 2, 0});
  const DesignLayers layers = ReadDesignLayers(lists).value;
  ASSERT_EQ(layers.cols.size(), 2u);
  EXPECT_EQ(layers.cols[1].entry.align, 2);
}

TEST(DesignData, RefusedLists) {
  struct Case {
    const char* name;
    DesignListId list;
    DesignList values;
    const char* message;
  };
  const std::string font = "MS Sans Serif";
  const Case cases[] = {
      {"column index above 65535", DesignListId::kPropCol, {65536, 0}, "Range check error"},
      {"negative row index", DesignListId::kPropRow, {-1, 0}, "Range check error"},
      {"cell row above 65535", DesignListId::kPropCell, {0, 70000, 0}, "Range check error"},
      {"editable above 255", DesignListId::kPropFixedRow, {0, 3, 256, 0}, "Range check error"},
      {"align without meaning", DesignListId::kPropCol, {0, 1, 4, 0}, "Range check error"},
      {"word wrap without meaning", DesignListId::kPropCol, {0, 2, -1, 0}, "Range check error"},
      {"brush style without meaning", DesignListId::kPropCol, {0, 4, 0, 8, 0}, "Range check error"},
      {"pitch without meaning",
       DesignListId::kPropCol,
       {0, 6, 0, -16, font, 3, 0, 0},
       "Range check error"},
      {"unknown attribute code",
       DesignListId::kPropFixedCol,
       {0, 9, 0},
       "Unknown attribute code 9 in PropFixedCol"},
      {"entry without its end", DesignListId::kPropCol, {0, 1, 2}, "PropCol ends inside an entry"},
      {"cell without its row", DesignListId::kPropCell, {0}, "PropCell ends inside an entry"},
      {"font cut short", DesignListId::kPropRow, {0, 6, 0, -16}, "PropRow ends inside an entry"},
      {"text where a number belongs",
       DesignListId::kPropCol,
       {font},
       "PropCol holds a text where a number belongs"},
      {"number where the font name belongs",
       DesignListId::kPropCol,
       {0, 6, 0, -16, 5, 0, 0, 0},
       "PropCol holds a number where a font name belongs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadDesignLayers(ListsWith(c.list, c.values)).status,
              Status(StatusCode::kMalformed, c.message));
  }
}

TEST(DesignData, EditableOf255IsTheLargestAccepted) {
  const DesignLayers layers =
      ReadDesignLayers(ListsWith(DesignListId::kPropCol, {65535, 3, 255, 0})).value;
  EXPECT_EQ(layers.cols.at(0).index, 65535);
  EXPECT_EQ(layers.cols.at(0).entry.editable, 255);
}

TEST(DesignData, EveryTruncationOfTheBytesIsRefused) {
  const std::string bytes = FormatDesignData(Sample()).value;
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(length);
    const Result<DesignLayers> cut = ParseDesignData(std::string_view(bytes).substr(0, length));
    EXPECT_EQ(cut.status.Code(), StatusCode::kMalformed);
    EXPECT_EQ(cut.value, DesignLayers{}) << "a refusal keeps nothing of what was read";
  }
}

TEST(DesignData, RefusedBytes) {
  const std::string good = FormatDesignBytes(DesignLists{}).value;
  const std::string withoutLastList = good.substr(0, good.rfind('T'));
  struct Case {
    const char* name;
    std::string bytes;
    const char* message;
  };
  const Case cases[] = {
      {"another format", "GIF89a", "Not grid design data"},
      {"nothing at all", "", "Design data ends too early"},
      {"a list missing", withoutLastList, "Design list \"PropFixedRow\" is missing"},
      {"a list twice", good + good.substr(4, good.find('E') - 3),
       "Design list \"PropCell\" is stored twice"},
      {"an unknown list", std::string("VGD1T\x04\x00Prop", 11) + "E",
       "Unknown design list \"Prop\""},
      {"a list without a name", std::string("VGD1I\x00\x00\x00\x00", 9),
       "A design list does not start with its name"},
      {"an unknown value tag", std::string("VGD1T\x08\x00PropCellX", 16),
       "Unknown value tag 88 in PropCell"},
      {"a text longer than the data", std::string("VGD1T\xFF\xFFPropCell", 15),
       "Design data ends too early"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParseDesignBytes(c.bytes).status, Status(StatusCode::kMalformed, c.message));
  }
}

TEST(DesignData, ListsMayComeInAnyOrder) {
  const std::string good =
      FormatDesignBytes(ListsWith(DesignListId::kPropCell, {0, 0, 1, 2, 0})).value;
  // Move the first list (PropCell) behind the others.
  const std::size_t firstEnd = good.find('E', 4) + 1;
  const std::string reordered = "VGD1" + good.substr(firstEnd) + good.substr(4, firstEnd - 4);
  const Result<DesignLists> moved = ParseDesignBytes(reordered);
  ASSERT_TRUE(moved.IsOk()) << moved.status;
  EXPECT_EQ(moved.value, ParseDesignBytes(good).value);
}

}  // namespace
}  // namespace vantrel
