// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether the build under test carries debug information (the build type decides; the test
// suites are told through VANTREL_DEBUG_INFO). Without it the error report names no source
// file or line, so the tests that look for them skip.

#include <gtest/gtest.h>

#define VANTREL_SKIP_WITHOUT_DEBUG_INFO()                                                 \
  do {                                                                                    \
    if (VANTREL_DEBUG_INFO == 0) {                                                        \
      GTEST_SKIP() << "this build carries no debug information (a Release build), so no " \
                      "source file or line can be named";                                 \
    }                                                                                     \
  } while (false)
