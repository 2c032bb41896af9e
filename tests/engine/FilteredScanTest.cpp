// SPDX-License-Identifier: GPL-3.0-or-later
// The search's scan against the plain dictionary scan: the same examined lines, of which
// exactly those whose text before the first comma occurs in the number are passed on,
// however the reads cut the file and wherever a read fails.

#include <gtest/gtest.h>

#include <random>

#include "Dictionary.h"
#include "Fakes.h"
#include "LineFilter.h"

namespace vantrel {
namespace {

using testing::MemorySource;
using Lines = std::vector<std::string>;

struct Result {
  Lines lines;
  std::size_t examined = 0;
  Status result;
  bool operator==(const Result&) const = default;
};

// The quick test spelled out: a comma in the line as read, and a text before it that is
// not empty and occurs in the number.
bool PassesPlainly(std::string_view line, std::string_view number) {
  const std::size_t comma = line.find(',');
  return comma != std::string_view::npos && comma > 0 &&
         number.find(line.substr(0, comma)) != std::string_view::npos;
}

Result Plain(const std::string& data, std::string_view number, std::size_t chunk,
             std::size_t failAt = std::string::npos) {
  MemorySource source(data, chunk, failAt);
  Result out;
  out.result = ScanDictionary(source, [&](std::string_view line) {
    ++out.examined;
    if (PassesPlainly(line, number)) {
      out.lines.emplace_back(line);
    }
  });
  return out;
}

Result Quick(const std::string& data, std::string_view number, std::size_t chunk,
             std::size_t failAt = std::string::npos) {
  MemorySource source(data, chunk, failAt);
  const LineFilter test(number);
  Result out;
  out.result = ScanFiltered(source, test, out.examined, [&](std::string_view line) {
    EXPECT_LE(line.size(), kShortText);
    out.lines.emplace_back(line);
  });
  return out;
}

// Lines that pass and fail at every place: CR LF and lone CRs, LFs inside lines, empty
// lines, commas first, long digits fields, lines of 254 to 256 characters with the comma
// at the edge of the 255 kept, and lines long enough to cross the search's stretches.
std::string Awkward() {
  std::string data;
  const char* const ends[] = {"\r\n", "\r", "\r\n\n", "\r\r\n"};
  for (int i = 0; i < 300; ++i) {
    const char* end = ends[i % 4];
    switch (i % 10) {
      case 0:
        data += "800,eight,A";
        break;
      case 1:
        data += "356,flo,B";
        break;
      case 2:
        data += "35,x";  // passes the test, no entry
        break;
      case 3:
        data += ",800,B";
        break;
      case 4:
        data += "99,no,B";
        break;
      case 5:
        data += std::string(253 + static_cast<std::size_t>(i % 3), '8') + ",w,B";
        break;
      case 6:
        data += "8\n0,lf,B";
        break;
      case 7:
        data += std::string(static_cast<std::size_t>(i * 37 % 5000), 'z');
        break;
      case 8:
        data += "";
        break;
      default:
        data += "1800356,whole,A";
        break;
    }
    data += end;
  }
  return data + "377,last,B";
}

TEST(FilteredScanTest, AgreesWithThePlainScanForEveryReadSize) {
  const std::string data = Awkward();
  const std::string numbers[] = {"1-800-356-9377", "", "8", std::string(300, '8'),
                                 std::string(255, '8')};
  for (const std::string& number : numbers) {
    SCOPED_TRACE(number.size());
    const Result expected = Plain(data, number, 1 << 20);
    ASSERT_GT(expected.examined, 290u);
    EXPECT_EQ(Quick(data, number, 1 << 20), expected);
    for (std::size_t chunk = 1; chunk <= 4096; chunk += number.size() == 14 ? 1 : 97) {
      SCOPED_TRACE(chunk);
      ASSERT_EQ(Quick(data, number, chunk), expected);
    }
  }
}

TEST(FilteredScanTest, ShortLinesAcrossManyStretchesOfOneRead) {
  // Line ends close to every edge of the stretches in which the line ends are sought.
  std::mt19937 random(3);
  const char* const ends[] = {"\r\n", "\r", "\r\n\n"};
  std::string data;
  while (data.size() < 40000) {
    const std::size_t length = 1 + random() % 6;
    for (std::size_t i = 0; i < length; ++i) {
      data += static_cast<char>('0' + random() % 10);
    }
    data += ",w,B";
    data += ends[random() % 3];
  }
  const std::string number = "1-800-356-9377";
  const Result expected = Plain(data, number, 1 << 20);
  ASSERT_GT(expected.lines.size(), 100u);
  for (std::size_t chunk : {4095u, 4096u, 4097u, 10000u, 1u << 20}) {
    SCOPED_TRACE(chunk);
    EXPECT_EQ(Quick(data, number, chunk), expected);
  }
}

TEST(FilteredScanTest, LineEndsAndCtrlZAtTheEdgeOfARead) {
  struct Row {
    const char* name;
    std::string data;
    Lines expected;
    std::size_t examined;
  };
  const Row rows[] = {
      {"CR LF split by the read", "1,a,B\r\n8,b,B\r\n9", {"1,a,B", "8,b,B"}, 2},
      {"a CR LF ends the file", "1,a,B\r\n8,b,B\r\n", {"1,a,B"}, 1},
      {"a lone CR ends the file", "1,a,B\r8,b,B\r", {"1,a,B"}, 1},
      {"LF LF after a CR", "1,a,B\r\n\n8,b,B\r\nx", {"1,a,B"}, 2},
      {"Ctrl-Z right after a CR LF",
       "1,a,B\r\n8,b,B\r\n\x1A"
       "9,c,B\r\n\r\n",
       {"1,a,B"},
       1},
      {"Ctrl-Z right after a CR", "1,a,B\r8,b,B\r\x1A\n9,c,B\r\n", {"1,a,B"}, 1},
      {"Ctrl-Z in a line", "1,a,B\r\n8,b\x1A,B\r\n9,c,B\r\n", {"1,a,B"}, 1},
      {"Ctrl-Z first",
       "\x1A"
       "1,a,B\r\n8,b,B\r\n",
       {},
       0},
      {"CR in the number", "\r1,a,B\r\n\r\n", {"1,a,B"}, 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    for (std::size_t chunk = 1; chunk <= row.data.size() + 1; ++chunk) {
      SCOPED_TRACE(chunk);
      const Result got = Quick(row.data, "\r1-8", chunk);
      EXPECT_TRUE(got.result.IsOk());
      EXPECT_EQ(got.lines, row.expected);
      EXPECT_EQ(got.examined, row.examined);
      EXPECT_EQ(got, Plain(row.data, "\r1-8", chunk));
    }
  }
}

TEST(FilteredScanTest, ALineOf255CharactersAcrossTheEndOfARead) {
  // The comma is the 255th character of the first line and the 256th of the second:
  // only the first keeps it. The third is cut after its word.
  const std::string data = std::string(254, '7') + ",\r\n" + std::string(255, '7') + ",w,B\r\n" +
                           std::string(253, '7') + ",w,B\r\n\r\n";
  const std::string number(300, '7');
  const Lines expected = {std::string(254, '7') + ",", std::string(253, '7') + ",w"};
  for (std::size_t chunk = 1; chunk <= 800; ++chunk) {
    SCOPED_TRACE(chunk);
    const Result got = Quick(data, number, chunk);
    EXPECT_EQ(got.lines, expected);
    EXPECT_EQ(got.examined, 3u);
  }
}

TEST(FilteredScanTest, AReadFailureCountsTheLinesBeforeIt) {
  const std::string data = Awkward();
  for (std::size_t failAt = 0; failAt < data.size(); failAt += 131) {
    SCOPED_TRACE(failAt);
    for (std::size_t chunk : {1u, 64u, 4096u, 1u << 20}) {
      SCOPED_TRACE(chunk);
      const Result got = Quick(data, "1-800-356-9377", chunk, failAt);
      EXPECT_EQ(got.result.Code(), StatusCode::kReadFailed);
      ASSERT_EQ(got, Plain(data, "1-800-356-9377", chunk, failAt));
    }
  }
}

TEST(FilteredScanTest, EveryWayOfFindingLineEndsFindsThemAll) {
  // Dense line ends (more than eight in a block), none at all, and stretches that start
  // and stop anywhere; the bytes past `to` hold CRs that must not be counted.
  std::mt19937 random(5);
  std::string data(4096 + 64, '\r');
  for (int round = 0; round < 200; ++round) {
    const int density = round % 5;
    for (char& ch : data) {
      ch = static_cast<int>(random() % 8) < density * 2 ? '\r' : 'x';
    }
    const std::size_t from = random() % 2048;
    const std::size_t to = from + random() % 2048;
    std::vector<std::uint32_t> expected;
    for (std::size_t i = from; i < to; ++i) {
      if (data[i] == '\r') {
        expected.push_back(static_cast<std::uint32_t>(i));
      }
    }
    std::vector<std::uint32_t> got(to - from + 1 + 8);
    got.resize(
        detail::FindLineEndsPlain(data.data(), data.data() + from, data.data() + to, got.data()));
    ASSERT_EQ(got, expected) << "plain, round " << round;
#if VANTREL_WIDE_LINE_ENDS
    if (detail::WideLineEndsAvailable()) {
      got.assign(to - from + 1 + 8, 0);
      got.resize(
          detail::FindLineEndsWide(data.data(), data.data() + from, data.data() + to, got.data()));
      ASSERT_EQ(got, expected) << "wide, round " << round;
    }
#endif
  }
}

TEST(LineFilterTest, PassesAgreesWithAPlainSearch) {
  std::mt19937 random(11);
  const std::string alphabet = "0123,-\n\x1A\r(";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  for (int round = 0; round < 300; ++round) {
    std::string number;
    for (int i = 0; i < round % 30; ++i) {
      number += alphabet[pick(random)];
    }
    const LineFilter test(number);
    for (int probe = 0; probe < 40; ++probe) {
      std::string line;
      for (int i = 0; i < 1 + probe % 8; ++i) {
        const char ch = alphabet[pick(random)];
        line += ch == '\r' || ch == '\x1A' ? ',' : ch;  // never inside a line as read
      }
      ASSERT_EQ(test.Passes(line), PassesPlainly(line, number)) << number << " / " << line;
    }
  }
}

}  // namespace
}  // namespace vantrel
