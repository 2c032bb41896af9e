// SPDX-License-Identifier: GPL-3.0-or-later
// The .mo reader against catalogs made by msgfmt in both byte orders, and against damaged
// and hostile ones.

#include <gtest/gtest.h>

#include <cstring>

#include "I18nTesting.h"
#include "MoCatalog.h"

namespace vantrel::i18n {
namespace {

using testing::Msgfmt;
using testing::PoText;
using testing::TempFolder;

const Status kNotMoFile(StatusCode::kMalformed, std::string(MoCatalog::kNotMoFile));
const Status kDamaged(StatusCode::kMalformed, std::string(MoCatalog::kOutsideItsBytes));

// Keys that sort next to each other in awkward ways: prefixes, bytes above 127, blanks.
std::vector<std::pair<std::string, std::string>> Messages(int count) {
  static const std::vector<std::string> keys = {"a",
                                                "ab",
                                                "abc",
                                                "b",
                                                " lead",
                                                "trail ",
                                                "Z",
                                                "\xC3\x9C"
                                                "ber",
                                                "~",
                                                "&Yes",
                                                "&No",
                                                "Cancel",
                                                "Candidate Word",
                                                "Represents",
                                                "x",
                                                "xy",
                                                "xyz",
                                                "line\\none",
                                                "0",
                                                "9",
                                                "Selected Word",
                                                "Convert",
                                                "Convert From",
                                                "Copy",
                                                "Clear",
                                                "Clear form",
                                                "Left",
                                                "Right",
                                                "Lookup",
                                                "OK",
                                                "about",
                                                "zz",
                                                "Zebra"};
  std::vector<std::pair<std::string, std::string>> messages;
  for (int i = 0; i < count; ++i) {
    messages.emplace_back(keys[static_cast<std::size_t>(i)], "T" + std::to_string(i) + "\xC3\xA4");
  }
  return messages;
}

std::string Unescaped(const std::string& po) {
  std::string out;
  for (std::size_t i = 0; i < po.size(); ++i) {
    if (po[i] == '\\' && i + 1 < po.size() && po[i + 1] == 'n') {
      out += '\n';
      ++i;
    } else {
      out += po[i];
    }
  }
  return out;
}

TEST(MoCatalog, FindsEveryKeyOfMsgfmtCatalogsOfEverySizeInBothByteOrders) {
  TempFolder folder;
  for (bool big : {false, true}) {
    for (int count : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 32, 33}) {
      SCOPED_TRACE(std::string(big ? "big" : "little") + "-endian, " + std::to_string(count));
      const auto messages = Messages(count);
      const std::vector<unsigned char> bytes = Msgfmt(folder.Path(), PoText(messages), big);
      // msgfmt wrote the byte order asked for: the magic number 0x950412de as stored.
      ASSERT_GE(bytes.size(), 4u);
      EXPECT_EQ(bytes[0], big ? 0x95 : 0xde);
      MoCatalog catalog;
      ASSERT_TRUE(MoCatalog::Read(bytes, catalog).IsOk());
      EXPECT_EQ(catalog.Count(), static_cast<std::uint32_t>(count + 1));  // and the header
      EXPECT_TRUE(catalog.HasUtf8Charset());
      for (const auto& [id, str] : messages) {
        SCOPED_TRACE(id);
        const auto found = catalog.Find(Unescaped(id));
        ASSERT_TRUE(found);
        EXPECT_EQ(*found, str);
      }
      for (const char* missing : {"", " ", "A", "aa", "abcd", "c", "zzz", "\xFF", "Cancel "}) {
        if (std::string_view(missing).empty()) {
          continue;  // the header
        }
        bool present = false;
        for (const auto& message : messages) {
          present = present || message.first == missing;
        }
        if (!present) {
          EXPECT_FALSE(catalog.Find(missing)) << missing;
        }
      }
    }
  }
}

TEST(MoCatalog, WrongMagicAndShortFilesAreRefused) {
  MoCatalog catalog;
  const std::vector<unsigned char> empty;
  EXPECT_EQ(MoCatalog::Read(empty, catalog), kNotMoFile);
  const std::vector<unsigned char> text = {'m', 's', 'g', 'i', 'd', ' ', '"', '"', 0, 0,
                                           0,   0,   0,   0,   0,   0,   0,   0,   0, 0};
  EXPECT_EQ(MoCatalog::Read(text, catalog), kNotMoFile);
  const std::vector<unsigned char> magicOnly = {0xDE, 0x12, 0x04, 0x95, 0, 0};
  EXPECT_EQ(MoCatalog::Read(magicOnly, catalog), kDamaged);
}

// Writes a 32-bit value in the catalog's (little-endian) order.
void Put(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
  std::memcpy(bytes.data() + at, &value, sizeof value);
}

std::uint32_t Get(const std::vector<unsigned char>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

TEST(MoCatalog, TablesAndTextsOutsideTheFileAreRefused) {
  TempFolder folder;
  const std::vector<unsigned char> good = Msgfmt(folder.Path(), PoText(Messages(5)));
  const std::uint32_t sources = Get(good, 12);
  const std::uint32_t translations = Get(good, 16);
  struct Case {
    const char* name;
    std::size_t at;
    std::uint32_t value;
  };
  const std::uint32_t size = static_cast<std::uint32_t>(good.size());
  for (const Case& hostile : {
           Case{"N far too large", 8, 0xFFFFFFFF},
           Case{"N just too large", 8, (size - sources) / 8 + 1},
           Case{"source table past the end", 12, size},
           Case{"translation table past the end", 16, 0xFFFFFFF0},
           Case{"source text longer than the file", sources, size},
           Case{"source text starting past the end", sources + 4, size + 1},
           Case{"translation reaching past the end", translations + 8, 0xFFFFFFFF},
           Case{"last translation one byte too long", translations + 8 * 5,
                size - Get(good, translations + 8 * 5 + 4) + 1},
       }) {
    SCOPED_TRACE(hostile.name);
    std::vector<unsigned char> bytes = good;
    Put(bytes, hostile.at, hostile.value);
    MoCatalog catalog;
    EXPECT_EQ(MoCatalog::Read(bytes, catalog), kDamaged);
  }
}

TEST(MoCatalog, EveryTruncationIsRefusedOrReadSafely) {
  TempFolder folder;
  const auto messages = Messages(9);
  const std::vector<unsigned char> good = Msgfmt(folder.Path(), PoText(messages));
  for (std::size_t length = 0; length < good.size(); ++length) {
    // A copy of exactly that length, so that AddressSanitizer sees every read past it.
    const std::vector<unsigned char> cut(good.begin(),
                                         good.begin() + static_cast<std::ptrdiff_t>(length));
    MoCatalog catalog;
    if (MoCatalog::Read(cut, catalog).IsOk()) {
      for (const auto& message : messages) {
        catalog.Find(message.first);
      }
      catalog.HasUtf8Charset();
    }
  }
}

TEST(MoCatalog, UnsortedCatalogsMissKeysButStayInsideTheirBytes) {
  TempFolder folder;
  std::vector<unsigned char> bytes = Msgfmt(folder.Path(), PoText(Messages(8)));
  const std::uint32_t sources = Get(bytes, 12);
  // Swap the first and last source entries.
  for (std::size_t k = 0; k < 8; ++k) {
    std::swap(bytes[sources + 8 + k], bytes[sources + 8 * 8 + k]);
  }
  MoCatalog catalog;
  ASSERT_TRUE(MoCatalog::Read(bytes, catalog).IsOk());
  EXPECT_TRUE(catalog.Find("b"));  // untouched entries around the middle are still found
}

TEST(MoCatalog, HeaderCharsetTest) {
  struct Row {
    const char* header;
    bool utf8;
  };
  for (const Row& row : {
           Row{"Content-Type: text/plain; charset=UTF-8\n", true},
           Row{"MIME-Version: 1.0\ncontent-type: text/plain; charset=utf-8\n", true},
           Row{"CONTENT-TYPE:    text/plain;charset=UTF-8   ", true},
           Row{"Content-Type: text/plain; charset=ISO-8859-1\n", false},
           Row{"Content-Type:text/plain; charset=UTF-8\n", false},      // ": " is required
           Row{"Content-Type: text/plain\nX: charset=UTF-8\n", false},  // first line counts
           Row{"X-Content-Type: text/plain; charset=UTF-8\n", false},
           Row{"", false},
           Row{"Content-Type: ", false},
       }) {
    SCOPED_TRACE(row.header);
    EXPECT_EQ(HeaderNamesUtf8(row.header), row.utf8);
  }
}

}  // namespace
}  // namespace vantrel::i18n
