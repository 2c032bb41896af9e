// SPDX-License-Identifier: GPL-3.0-or-later
// The list of mappings as the crash record reads it, from hand-written /proc/self/maps
// text: which mapping holds an address, its module and file offset, whether it is code.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ProcMaps.h"

namespace vantrel {
namespace {

// The last line has no line break: the list was cut there, and it is not looked at.
constexpr char kMaps[] =
    "00400000-00452000 r-xp 00000000 08:02 173521     /usr/bin/vantrel\n"
    "00651000-00652000 r--p 00051000 08:02 173521     /usr/bin/vantrel\n"
    "01a2b000-01a4c000 rw-p 00000000 00:00 0          [heap]\n"
    "7f0a1000-7f0a3000 rw-p 00000000 00:00 0 \n"
    "7f0b0000-7f0b8000 r-xp 0001c000 08:02 42         /opt/my tools/lib weird.so\n"
    "7f0c0000-7f0c4000 r-xp 00002000 08:02 43         /tmp/libgone.so (deleted)\n"
    "7f0c4000-7f0c5000 rw-p 00006000 08:02 43         /tmp/libgone.so (deleted)\n"
    "7ffd0000-7ffd2000 rw-p 00000000 00:00 0          [stack]\n"
    "7fff0000-7fff1000 r-xp 00000000 08:02 44         /lib/cut.so";

ProcMaps Maps() {
  return ProcMaps(kMaps, sizeof kMaps - 1);
}

struct LookupRow {
  const char* name;
  std::uint64_t address;
  bool found;
  std::uint64_t start, stop, offset;
  bool executable;
  const char* module;  // null: the mapping has no file
  const char* line;    // AddModule's text
};

void PrintTo(const LookupRow& row, std::ostream* out) {
  *out << row.name;
}

class ProcMapsLookup : public ::testing::TestWithParam<LookupRow> {};

TEST_P(ProcMapsLookup, FindsTheMappingThatHoldsTheAddress) {
  const LookupRow& row = GetParam();
  Mapping mapping;
  ASSERT_EQ(Maps().Find(row.address, mapping), row.found);
  if (!row.found) {
    EXPECT_EQ(mapping.name, nullptr);
    EXPECT_EQ(mapping.stop, 0u);
    return;
  }
  EXPECT_EQ(mapping.start, row.start);
  EXPECT_EQ(mapping.stop, row.stop);
  EXPECT_EQ(mapping.offset, row.offset);
  EXPECT_EQ(mapping.executable, row.executable);
  if (row.module == nullptr) {
    EXPECT_EQ(mapping.name, nullptr);
  } else {
    ASSERT_NE(mapping.name, nullptr);
    EXPECT_EQ(std::string(mapping.name, mapping.nameEnd), row.module);
  }
}

TEST_P(ProcMapsLookup, IsCodeOnlyInsideAnExecutableMapping) {
  const LookupRow& row = GetParam();
  EXPECT_EQ(Maps().IsCode(row.address), row.found && row.executable);
}

TEST_P(ProcMapsLookup, TheModuleTextHasNoLineBreak) {
  char buffer[256];
  SignalSafeText out(buffer, sizeof buffer);
  Maps().AddModule(out, GetParam().address);
  EXPECT_EQ(std::string(out.Data(), out.Size()), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, ProcMapsLookup,
    ::testing::Values(
        LookupRow{"BeforeEveryMapping", 0x1000, false, 0, 0, 0, false, nullptr, " []"},
        LookupRow{"FirstByteOfTheProgram", 0x400000, true, 0x400000, 0x452000, 0, true, "vantrel",
                  " [vantrel] +00000000"},
        LookupRow{"InsideTheProgram", 0x401234, true, 0x400000, 0x452000, 0, true, "vantrel",
                  " [vantrel] +00001234"},
        LookupRow{"LastByteOfTheProgram", 0x451fff, true, 0x400000, 0x452000, 0, true, "vantrel",
                  " [vantrel] +00051FFF"},
        LookupRow{"JustAfterTheProgram", 0x452000, false, 0, 0, 0, false, nullptr, " []"},
        LookupRow{"ReadOnlyDataWithAFileOffset", 0x651010, true, 0x651000, 0x652000, 0x51000, false,
                  "vantrel", " [vantrel] +00051010"},
        LookupRow{"BetweenMappings", 0x700000, false, 0, 0, 0, false, nullptr, " []"},
        LookupRow{"Heap", 0x1a2b010, true, 0x1a2b000, 0x1a4c000, 0, false, nullptr,
                  " [] +00000010"},
        LookupRow{"Anonymous", 0x7f0a2000, true, 0x7f0a1000, 0x7f0a3000, 0, false, nullptr,
                  " [] +00001000"},
        LookupRow{"PathWithSpaces", 0x7f0b0100, true, 0x7f0b0000, 0x7f0b8000, 0x1c000, true,
                  "lib weird.so", " [lib weird.so] +0001C100"},
        LookupRow{"DeletedFile", 0x7f0c0008, true, 0x7f0c0000, 0x7f0c4000, 0x2000, true,
                  "libgone.so (deleted)", " [libgone.so (deleted)] +00002008"},
        LookupRow{"DeletedFileDataRightAfterItsCode", 0x7f0c4000, true, 0x7f0c4000, 0x7f0c5000,
                  0x6000, false, "libgone.so (deleted)", " [libgone.so (deleted)] +00006000"},
        LookupRow{"LastWholeLine", 0x7ffd1fff, true, 0x7ffd0000, 0x7ffd2000, 0, false, nullptr,
                  " [] +00001FFF"},
        LookupRow{"InTheCutLastLine", 0x7fff0010, false, 0, 0, 0, false, nullptr, " []"},
        LookupRow{"AfterEveryMapping", 0xffffffff00000000, false, 0, 0, 0, false, nullptr, " []"}));

// The crash handler looks up frame after frame into one mapping: a frame in a mapping
// without a file after one in a library must not be named after that library.
TEST(ProcMaps, ALookupKeepsNothingOfTheOneBefore) {
  Mapping mapping;
  ASSERT_TRUE(Maps().Find(0x7f0b0100, mapping));
  ASSERT_NE(mapping.name, nullptr);
  ASSERT_TRUE(Maps().Find(0x7f0a2000, mapping));
  EXPECT_EQ(mapping.name, nullptr);
  EXPECT_EQ(mapping.offset, 0u);
  EXPECT_FALSE(mapping.executable);
}

TEST(ProcMaps, AnEmptyListHoldsNothing) {
  Mapping mapping;
  EXPECT_FALSE(ProcMaps("", 0).Find(0, mapping));
  EXPECT_FALSE(ProcMaps("", 0).IsCode(0x400000));
  const char line[] = "00400000-00452000 r-xp 00000000 08:02 1 /a\n";
  EXPECT_FALSE(ProcMaps(line, 0).Find(0x400000, mapping));  // the size counts, not the zero
}

TEST(ProcMaps, ALineCutShortKeepsItsRangeAndLacksTheRest) {
  const char lines[] =
      "00400000-00452000 r\n"
      "00500000-00600000\n"
      "00700000-00800000 r-xp\n";
  const ProcMaps maps(lines, sizeof lines - 1);
  Mapping mapping;
  ASSERT_TRUE(maps.Find(0x400010, mapping));
  EXPECT_FALSE(mapping.executable);
  EXPECT_EQ(mapping.name, nullptr);
  ASSERT_TRUE(maps.Find(0x500010, mapping));
  EXPECT_FALSE(mapping.executable);
  ASSERT_TRUE(maps.Find(0x700010, mapping));
  EXPECT_TRUE(mapping.executable);
  EXPECT_EQ(mapping.offset, 0u);
}

struct HexRow {
  const char* text;
  std::uint64_t value;
  std::size_t stop;  // where the number ends
};

TEST(ProcMaps, HexNumbersEndAtTheFirstOtherCharacter) {
  const HexRow rows[] = {
      {"", 0, 0},
      {"0", 0, 1},
      {"7f0a1000-", 0x7f0a1000, 8},
      {"ffffffffffffffff ", 0xffffffffffffffff, 16},
      {"00400000 r-xp", 0x400000, 8},
      {"12AB", 0x12, 2},  // the list writes lower case only
      {"-12", 0, 0},
  };
  for (const HexRow& row : rows) {
    const char* p = row.text;
    const char* end = row.text + std::char_traits<char>::length(row.text);
    EXPECT_EQ(ParseHex(p, end), row.value) << row.text;
    EXPECT_EQ(static_cast<std::size_t>(p - row.text), row.stop) << row.text;
  }
  const char* digits = "123456";
  const char* p = digits;
  EXPECT_EQ(ParseHex(p, digits + 3), 0x123u);  // never beyond end
  EXPECT_EQ(p, digits + 3);
}

void CodeOfThisTest() {}

TEST(ProcMaps, TheOwnListKeepsWholeLinesAndKnowsItsCode) {
  static char buffer[256 * 1024];
  const std::size_t size = ReadOwnMaps(buffer, sizeof buffer);
  ASSERT_GT(size, 0u);
  EXPECT_EQ(buffer[size - 1], '\n');
  const ProcMaps maps(buffer, size);
  EXPECT_TRUE(maps.IsCode(reinterpret_cast<std::uintptr_t>(&CodeOfThisTest)));
  EXPECT_FALSE(maps.IsCode(reinterpret_cast<std::uintptr_t>(&buffer[0])));

  // A buffer too small for the list keeps its first whole lines only.
  char small[100];
  const std::size_t cut = ReadOwnMaps(small, sizeof small);
  ASSERT_LE(cut, sizeof small);
  if (cut > 0) {
    EXPECT_EQ(small[cut - 1], '\n');
    EXPECT_EQ(std::string(small, cut), std::string(buffer, cut));
  }
}

}  // namespace
}  // namespace vantrel
