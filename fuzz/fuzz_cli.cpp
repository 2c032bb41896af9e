// SPDX-License-Identifier: GPL-3.0-or-later
// Any command line for vantrel-cli (arguments separated by NUL bytes): it is either run
// with a known command, a valid mode and limit and the right number of operands taken from the
// arguments, or refused with a reason; it is never half accepted.

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CliArguments.h"

using vantrel::cli::Arguments;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args;
  if (size > 0) {
    args.emplace_back();
    for (std::size_t i = 0; i < size; ++i) {
      if (data[i] == 0) {
        args.emplace_back();
      } else {
        args.back() += static_cast<char>(data[i]);
      }
    }
  }
  const Arguments parsed = vantrel::cli::ParseArguments(args);
  switch (parsed.action) {
    case Arguments::Action::kUsage:
      if (!args.empty()) {
        __builtin_trap();
      }
      return 0;
    case Arguments::Action::kHelp:
      if (args.empty() || (args[0] != "--help" && args[0] != "-h" && args[0] != "help")) {
        __builtin_trap();
      }
      return 0;
    case Arguments::Action::kUsageError:
      if (parsed.usageError.empty()) {
        __builtin_trap();
      }
      return 0;
    case Arguments::Action::kRun:
      break;
  }
  const std::size_t wanted = parsed.command == "affixes" ? 3 : 1;
  if ((parsed.command != "search" && parsed.command != "lookup" && parsed.command != "affixes" &&
       parsed.command != "suggest") ||
      parsed.command != args[0] ||
      (parsed.command == "suggest" ? parsed.operands.empty() : parsed.operands.size() != wanted) ||
      (parsed.command != "suggest" && parsed.json) ||
      (parsed.mode != "any" && parsed.mode != "left" && parsed.mode != "right") ||
      (parsed.command != "search" && parsed.mode != "any") || parsed.position < INT_MIN / 2 ||
      parsed.position > INT_MAX / 2 || parsed.limit < 1 ||
      parsed.limit > vantrel::kMaxSuggestions ||
      (parsed.command != "suggest" && parsed.limit != vantrel::kDefaultSuggestions)) {
    __builtin_trap();
  }
  // Operands are arguments as given, in their order.
  std::size_t from = 1;
  for (const std::string& operand : parsed.operands) {
    const auto it =
        std::find(args.begin() + static_cast<std::ptrdiff_t>(from), args.end(), operand);
    if (it == args.end()) {
      __builtin_trap();
    }
    from = static_cast<std::size_t>(it - args.begin()) + 1;
  }
  // The dictionary named is one argument or the rest of one.
  if (!parsed.dictionary.empty() &&
      std::none_of(args.begin(), args.end(), [&](const std::string& arg) {
        return arg.size() >= parsed.dictionary.size() &&
               arg.compare(arg.size() - parsed.dictionary.size(), std::string::npos,
                           parsed.dictionary) == 0;
      })) {
    __builtin_trap();
  }
  return 0;
}
