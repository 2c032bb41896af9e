// SPDX-License-Identifier: GPL-3.0-or-later
// The crash record's text formatter: numbers as the record writes them, and a text that
// does not fit is cut at its buffer's end without a byte beyond it.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "SignalSafeText.h"

namespace vantrel {
namespace {

std::string Written(const std::function<void(SignalSafeText&)>& write) {
  char buffer[128];
  SignalSafeText out(buffer, sizeof buffer);
  write(out);
  return std::string(out.Data(), out.Size());
}

struct NumberRow {
  const char* name;
  std::function<void(SignalSafeText&)> write;
  const char* expected;
};

void PrintTo(const NumberRow& row, std::ostream* out) {
  *out << row.name;
}

class SignalSafeTextNumbers : public ::testing::TestWithParam<NumberRow> {};

TEST_P(SignalSafeTextNumbers, AreWrittenAsTheRecordHasThem) {
  EXPECT_EQ(Written(GetParam().write), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Hex, SignalSafeTextNumbers,
    ::testing::Values(
        NumberRow{"Zero", [](SignalSafeText& out) { out.Hex(0, 1); }, "0"},
        NumberRow{"ZeroOf16Digits", [](SignalSafeText& out) { out.Hex(0, 16); },
                  "0000000000000000"},
        NumberRow{"Capitals", [](SignalSafeText& out) { out.Hex(0xABCDEF, 6); }, "ABCDEF"},
        NumberRow{"LeadingZeros", [](SignalSafeText& out) { out.Hex(0x2A, 8); }, "0000002A"},
        NumberRow{"Largest", [](SignalSafeText& out) { out.Hex(UINT64_MAX, 16); },
                  "FFFFFFFFFFFFFFFF"},
        NumberRow{"EveryDigit", [](SignalSafeText& out) { out.Hex(0x0123456789ABCDEFULL, 16); },
                  "0123456789ABCDEF"},
        NumberRow{"TooLongLosesItsUpperDigits", [](SignalSafeText& out) { out.Hex(0x12345, 2); },
                  "45"},
        NumberRow{"MoreThan16DigitsAreNotWritten", [](SignalSafeText& out) { out.Hex(0x1F, 20); },
                  "000000000000001F"},
        NumberRow{"AtLeastZero", [](SignalSafeText& out) { out.HexAtLeast(0, 1); }, "0"},
        NumberRow{"AtLeastPadded", [](SignalSafeText& out) { out.HexAtLeast(0x1F, 4); }, "001F"},
        NumberRow{"AtLeastWidened", [](SignalSafeText& out) { out.HexAtLeast(0x1FFFFFFFFULL, 8); },
                  "1FFFFFFFF"},
        NumberRow{"AtLeastLargest", [](SignalSafeText& out) { out.HexAtLeast(UINT64_MAX, 4); },
                  "FFFFFFFFFFFFFFFF"}));

INSTANTIATE_TEST_SUITE_P(
    Dec, SignalSafeTextNumbers,
    ::testing::Values(
        NumberRow{"Zero", [](SignalSafeText& out) { out.Dec(0); }, "0"},
        NumberRow{"ZeroOfTwoDigits", [](SignalSafeText& out) { out.Dec(0, 2); }, "00"},
        NumberRow{"Padded", [](SignalSafeText& out) { out.Dec(7, 4); }, "0007"},
        NumberRow{"WiderThanAsked", [](SignalSafeText& out) { out.Dec(12345, 2); }, "12345"},
        NumberRow{"Negative", [](SignalSafeText& out) { out.Dec(-42); }, "-42"},
        NumberRow{"NegativePadded", [](SignalSafeText& out) { out.Dec(-5, 3); }, "-005"},
        NumberRow{"Largest", [](SignalSafeText& out) { out.Dec(LONG_MAX); }, "9223372036854775807"},
        NumberRow{"Smallest", [](SignalSafeText& out) { out.Dec(LONG_MIN); },
                  "-9223372036854775808"},
        NumberRow{"InARow",
                  [](SignalSafeText& out) {
                    out.Add("Signal (");
                    out.Dec(11);
                    out.Add(") at ");
                    out.Hex(0xBEEF, 4);
                    out.Line();
                  },
                  "Signal (11) at BEEF\r\n"}));

// A buffer of 8 inside a larger one: whatever is written, the bytes after the 8 keep
// their guard value.
struct Guarded {
  static constexpr std::size_t kCapacity = 8;
  char bytes[kCapacity + 16];
  SignalSafeText out{bytes, kCapacity};

  Guarded() { std::memset(bytes, '#', sizeof bytes); }
  std::string Text() const { return std::string(out.Data(), out.Size()); }
  bool GuardIntact() const {
    for (std::size_t i = kCapacity; i < sizeof bytes; ++i) {
      if (bytes[i] != '#') {
        return false;
      }
    }
    return true;
  }
};

TEST(SignalSafeText, ATextTooLongForItsBufferIsCutAndNeverOverruns) {
  const std::function<void(SignalSafeText&)> writes[] = {
      [](SignalSafeText& out) { out.Add("0123456789ABCDEF"); },
      [](SignalSafeText& out) { out.AddN("0123456789ABCDEF", 16); },
      [](SignalSafeText& out) { out.Hex(UINT64_MAX, 16); },
      [](SignalSafeText& out) { out.HexAtLeast(UINT64_MAX, 1); },
      [](SignalSafeText& out) { out.Dec(LONG_MIN); },
      [](SignalSafeText& out) {
        for (int i = 0; i < 10; ++i) {
          out.Line();
        }
      },
  };
  const char* const expected[] = {"01234567", "01234567", "FFFFFFFF",
                                  "FFFFFFFF", "-9223372", "\r\n\r\n\r\n\r\n"};
  for (std::size_t i = 0; i < std::size(writes); ++i) {
    Guarded text;
    writes[i](text.out);
    EXPECT_EQ(text.Text(), expected[i]) << "write " << i;
    EXPECT_EQ(text.out.Size(), Guarded::kCapacity) << "write " << i;
    EXPECT_TRUE(text.GuardIntact()) << "write " << i;
  }
}

TEST(SignalSafeText, AFullTextTakesNothingMoreAndClearingStartsItAnew) {
  Guarded text;
  text.out.Add("abcdef");
  text.out.Add("ghij");
  text.out.Dec(5);
  EXPECT_EQ(text.Text(), "abcdefgh");
  EXPECT_TRUE(text.GuardIntact());
  text.out.Clear();
  EXPECT_EQ(text.out.Size(), 0u);
  text.out.Add("xy");
  text.out.Line();
  EXPECT_EQ(text.Text(), "xy\r\n");
}

TEST(SignalSafeText, AZeroSizedBufferTakesNothing) {
  char byte = '#';
  SignalSafeText out(&byte, 0);
  out.Add("abc");
  out.Hex(0xF, 4);
  out.Dec(-1);
  out.Line();
  EXPECT_EQ(out.Size(), 0u);
  EXPECT_EQ(byte, '#');
}

}  // namespace
}  // namespace vantrel
