// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Waits for something that the event loop or another thread brings about. Qt's own QTRY_
// macros report a timeout to QTest's log and return, which a Google Test suite never
// reads: a wait that timed out would end the test as if it had passed. These fail the
// test instead, and return from it like an ASSERT.

#include <gtest/gtest.h>

#include <QTest>

// Runs the event loop until condition holds, for at most ms milliseconds.
#define ASSERT_SOON_WITHIN(condition, ms)                                        \
  ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); }, ms)) \
      << "still false after " << (ms) << " ms: " #condition

#define ASSERT_SOON(condition) ASSERT_SOON_WITHIN(condition, 5000)

// Runs the event loop until actual equals expected, for at most five seconds; the
// failure shows both.
#define ASSERT_EQ_SOON(actual, expected)                                              \
  do {                                                                                \
    static_cast<void>(QTest::qWaitFor([&] { return (actual) == (expected); }, 5000)); \
    ASSERT_EQ(actual, expected);                                                      \
  } while (false)
