// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliArguments.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "Suggest.h"

namespace vantrel::cli {
namespace {

Arguments Wrong(Message why) {
  Arguments out;
  out.action = Arguments::Action::kUsageError;
  out.usageError = std::move(why);
  return out;
}

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& args) {
  Arguments out;
  if (args.empty()) {
    out.action = Arguments::Action::kUsage;
    return out;
  }
  out.command = args[0];
  if (out.command == "--help" || out.command == "-h" || out.command == "help") {
    out.action = Arguments::Action::kHelp;
    return out;
  }
  bool modeGiven = false;
  bool jsonGiven = false;
  bool limitGiven = false;
  std::string limit;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      out.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--json") {
      jsonGiven = true;
    } else if (arg == "--dictionary" || arg == "--mode" || arg == "--limit") {
      if (i + 1 >= args.size()) {
        return Wrong({Lit(arg), Tr(" needs a value")});
      }
      (arg == "--dictionary" ? out.dictionary : arg == "--mode" ? out.mode : limit) = args[++i];
      modeGiven = modeGiven || arg == "--mode";
      limitGiven = limitGiven || arg == "--limit";
    } else if (arg.rfind("--limit=", 0) == 0) {
      limit = arg.substr(8);
      limitGiven = true;
    } else if (arg.rfind("--dictionary=", 0) == 0) {
      out.dictionary = arg.substr(13);
    } else if (arg.rfind("--mode=", 0) == 0) {
      out.mode = arg.substr(7);
      modeGiven = true;
    } else {
      return Wrong({Tr("unknown option "), Lit(arg)});
    }
  }
  if (out.command != "search" && out.command != "lookup" && out.command != "affixes" &&
      out.command != "suggest") {
    return Wrong({Tr("unknown command "), Lit(out.command)});
  }
  if (modeGiven && out.command != "search") {
    return Wrong({Tr("--mode belongs to search")});
  }
  if (limitGiven && out.command != "suggest") {
    return Wrong({Tr("--limit belongs to suggest")});
  }
  if (jsonGiven && out.command != "suggest") {
    return Wrong({Tr("--json belongs to suggest")});
  }
  out.json = jsonGiven;
  const std::size_t operands = out.command == "affixes" ? 3 : 1;
  if (out.command == "suggest") {
    if (out.operands.empty()) {
      return Wrong(
          {Tr("suggest takes at least one NUMBER, or - to read them from standard input")});
    }
  } else if (out.operands.size() != operands) {
    return Wrong(
        {Lit(out.command), operands == 1 ? Tr(" takes one operand") : Tr(" takes three operands")});
  }
  if (out.mode != "any" && out.mode != "left" && out.mode != "right") {
    return Wrong({Tr("the mode is any, left or right, not "), Lit(out.mode)});
  }
  if (limitGiven) {
    char* end = nullptr;
    errno = 0;
    const long wanted = std::strtol(limit.c_str(), &end, 10);
    if (limit.empty() || *end != '\0' || errno != 0 || wanted < 1 || wanted > kMaxSuggestions) {
      return Wrong({Tr("the limit is a whole number from 1 to 1000, not "), Lit(limit)});
    }
    out.limit = static_cast<int>(wanted);
  }
  if (out.command == "affixes") {
    // A position far outside any number offers nothing; one that does not fit an int
    // half-way is refused, so that position arithmetic cannot overflow.
    const std::string& text = out.operands[2];
    char* end = nullptr;
    errno = 0;
    out.position = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || out.position < INT_MIN / 2 ||
        out.position > INT_MAX / 2) {
      return Wrong({Tr("POSITION must be a whole number, not "), Lit(text)});
    }
  }
  return out;
}

}  // namespace vantrel::cli
