#include "CliArguments.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace vantrel::cli {
namespace {

Arguments Wrong(std::string why) {
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
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      out.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--dictionary" || arg == "--mode") {
      if (i + 1 >= args.size()) {
        return Wrong(arg + " needs a value");
      }
      (arg == "--dictionary" ? out.dictionary : out.mode) = args[++i];
      modeGiven = modeGiven || arg == "--mode";
    } else if (arg.rfind("--dictionary=", 0) == 0) {
      out.dictionary = arg.substr(13);
    } else if (arg.rfind("--mode=", 0) == 0) {
      out.mode = arg.substr(7);
      modeGiven = true;
    } else {
      return Wrong("unknown option " + arg);
    }
  }
  if (out.command != "search" && out.command != "lookup" && out.command != "affixes") {
    return Wrong("unknown command " + out.command);
  }
  if (modeGiven && out.command != "search") {
    return Wrong("--mode belongs to search");
  }
  const std::size_t wanted = out.command == "affixes" ? 3 : 1;
  if (out.operands.size() != wanted) {
    return Wrong(out.command + " takes " + (wanted == 1 ? "one operand" : "three operands"));
  }
  if (out.mode != "any" && out.mode != "left" && out.mode != "right") {
    return Wrong("the mode is any, left or right, not " + out.mode);
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
      return Wrong("POSITION must be a whole number, not " + text);
    }
  }
  return out;
}

}  // namespace vantrel::cli
