// SPDX-License-Identifier: GPL-3.0-or-later
#include "CivilDate.h"

namespace vantrel {

// Days since 1970 to a civil date, counted in eras of 400 years that start on 1 March, so
// that the leap day is the last day of its year.
CivilTime CivilTimeOf(long secondsSince1970) {
  long days = secondsSince1970 / 86400;
  long seconds = secondsSince1970 % 86400;
  if (seconds < 0) {
    seconds += 86400;
    --days;
  }
  days += 719468;
  const long era = (days >= 0 ? days : days - 146096) / 146097;
  const long dayOfEra = days - era * 146097;
  const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long mp = (5 * dayOfYear + 2) / 153;
  CivilTime time;
  time.day = dayOfYear - (153 * mp + 2) / 5 + 1;
  time.month = mp < 10 ? mp + 3 : mp - 9;
  time.year = yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0);
  time.hour = seconds / 3600;
  time.minute = seconds / 60 % 60;
  time.second = seconds % 60;
  return time;
}

void AddCivilTime(SignalSafeText& out, long secondsSince1970) {
  const CivilTime time = CivilTimeOf(secondsSince1970);
  out.Dec(time.hour, 2);
  out.Add(":");
  out.Dec(time.minute, 2);
  out.Add(":");
  out.Dec(time.second, 2);
  out.Add(" ");
  out.Dec(time.day, 2);
  out.Add("/");
  out.Dec(time.month, 2);
  out.Add("/");
  out.Dec(time.year, 4);
}

}  // namespace vantrel
