// SPDX-License-Identifier: GPL-3.0-or-later
// The crash record's time line from seconds since 1970, around the calendar's turns.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "CivilDate.h"

namespace vantrel {
namespace {

struct DateRow {
  const char* name;
  long seconds;
  const char* expected;  // as the record's time line writes it
};

void PrintTo(const DateRow& row, std::ostream* out) {
  *out << row.name;
}

class CivilDate : public ::testing::TestWithParam<DateRow> {};

TEST_P(CivilDate, SecondsSince1970BecomeTheRecordsTimeLine) {
  char buffer[64];
  SignalSafeText out(buffer, sizeof buffer);
  AddCivilTime(out, GetParam().seconds);
  EXPECT_EQ(std::string(out.Data(), out.Size()), GetParam().expected);
}

TEST_P(CivilDate, TheFieldsAgreeWithTheLine) {
  const CivilTime time = CivilTimeOf(GetParam().seconds);
  char line[64];
  std::snprintf(line, sizeof line, "%02ld:%02ld:%02ld %02ld/%02ld/%04ld", time.hour, time.minute,
                time.second, time.day, time.month, time.year);
  EXPECT_STREQ(line, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, CivilDate,
    ::testing::Values(DateRow{"Epoch", 0, "00:00:00 01/01/1970"},
                      DateRow{"FirstDayEnds", 86399, "23:59:59 01/01/1970"},
                      DateRow{"DayBeforeLeapDay2000", 951782399, "23:59:59 28/02/2000"},
                      DateRow{"LeapDay2000", 951782400, "00:00:00 29/02/2000"},
                      DateRow{"LeapDay2024", 1709210096, "12:34:56 29/02/2024"},
                      DateRow{"No29thIn2100", 4107542399, "23:59:59 28/02/2100"},
                      DateRow{"March2100", 4107542400, "00:00:00 01/03/2100"},
                      DateRow{"EndOf1999", 946684799, "23:59:59 31/12/1999"},
                      DateRow{"StartOf2000", 946684800, "00:00:00 01/01/2000"},
                      DateRow{"EndOf2023", 1704067199, "23:59:59 31/12/2023"},
                      DateRow{"SecondBefore1970", -1, "23:59:59 31/12/1969"},
                      DateRow{"StartOf1900", -2208988800, "00:00:00 01/01/1900"},
                      DateRow{"LeapDay1600", -11670976372, "06:07:08 29/02/1600"}));

}  // namespace
}  // namespace vantrel
