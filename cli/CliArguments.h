// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// vantrel-cli's command line, read without touching anything: the command, its options
// and operands, or what is wrong with them.

#include <string>
#include <vector>

#include "Message.h"
#include "Suggest.h"

namespace vantrel::cli {

struct Arguments {
  // What to do: run the command, print the usage, the help, or a usage error.
  enum class Action { kRun, kUsage, kHelp, kUsageError } action = Action::kRun;
  Message usageError;  // kUsageError: what was wrong, its fixed pieces to translate

  std::string command;     // search, lookup, affixes or suggest
  std::string dictionary;  // empty: the bundled one
  std::string mode = "any";
  std::vector<std::string> operands;
  long position = 0;                // affixes: POSITION
  int limit = kDefaultSuggestions;  // suggest: how many, 1 to kMaxSuggestions
  bool json = false;                // suggest: one JSON object per number
};

// args are the arguments after the program's name, as given.
Arguments ParseArguments(const std::vector<std::string>& args);

}  // namespace vantrel::cli
