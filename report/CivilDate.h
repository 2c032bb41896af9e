// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The date and time of day of a count of seconds since 1970, from arithmetic alone: the
// crash record's time line is written inside a signal handler, where the C library's
// calendar functions (which take locks and read the time zone files) cannot be called.
// Async-signal-safe: no allocation, no locks, no stdio.

#include "SignalSafeText.h"

namespace vantrel {

struct CivilTime {
  long year = 1970;
  long month = 1;  // 1 to 12
  long day = 1;    // 1 to 31
  long hour = 0;
  long minute = 0;
  long second = 0;
};

// The proleptic Gregorian calendar, also before 1970 (negative counts).
CivilTime CivilTimeOf(long secondsSince1970);

// "HH:MM:SS DD/MM/YYYY", as the crash record's time line has it.
void AddCivilTime(SignalSafeText& out, long secondsSince1970);

}  // namespace vantrel
