// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Generated dictionaries of any size for benchmarks: keypad-coded random words with
// CR LF line ends, the same every time.

#include <cstddef>
#include <string>

namespace vantrel::bench {

// Writes about `bytes` bytes of dictionary lines to path unless a file of that size is
// already there; returns the path.
std::string GenerateDictionary(const std::string& path, std::size_t bytes);

}  // namespace vantrel::bench
