// The one parser of quorvant-cli's command lines: positional arguments,
// flags, options with a value and options that may repeat (--where), read
// in the order given. Each command states its rules in an ArgumentRules
// value; a wrong command line is reported with the command's own usage
// text and exit status 2.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"

namespace quorvant::cli {

enum class OptionKind {
  kFlag,   // --name alone
  kValue,  // --name VALUE; a later one replaces an earlier one
  kList,   // --name VALUE, as often as wanted; every value kept in order
};

struct OptionRule {
  std::string_view name = {};
  OptionKind kind = OptionKind::kValue;
  // The message when the value is missing (or empty, see below); empty: the
  // command's usage.
  std::string_view missing = {};
  bool may_be_empty = true;  // false: an empty value counts as missing
  bool once = false;         // a second one is a usage error
  // Checks a value as it is read: the usage error's text, or "" when the
  // value is good. The command converts the value itself afterwards.
  std::string (*check)(std::string_view name, const std::string& value) = nullptr;
};

struct ArgumentRules {
  std::vector<OptionRule> options = {};
  size_t least_positional = 0;
  size_t most_positional = 0;
  // false: an empty positional argument is a usage error, as for a command
  // of one file, where "" names none.
  bool positional_may_be_empty = true;
  const char* usage = "";
  // Names the fault before the usage ("unknown option X", "X needs a
  // value"); the count of positional arguments is then checked once all
  // are read, so that a fault in an option is named first.
  bool name_faults = false;
  // What an option starts with; any other argument is positional.
  std::string_view option_prefix = "-";
};

inline constexpr size_t kAnyCount = std::numeric_limits<size_t>::max();

struct ParsedArguments {
  std::vector<std::string> positional;                                   // in the order given
  std::map<std::string, std::vector<std::string>, std::less<>> options;  // name -> values

  bool Has(std::string_view name) const { return options.find(name) != options.end(); }
  // The last value given; nothing when the option is absent.
  std::optional<std::string> Value(std::string_view name) const;
  // Every value of a kList option, in order.
  std::vector<std::string> Values(std::string_view name) const;
};

// The rules of a command of `count` positional arguments and no options.
ArgumentRules PositionalOnly(size_t count, const char* usage);

// The rules of a command of `count` positional arguments and these options,
// each with a non-empty value, that names every fault.
ArgumentRules NamedFaults(std::vector<OptionRule> options, size_t count, const char* usage);

// Parses args by rules. Nothing, after printing the usage error, when an
// option is unknown, lacks its value, fails its check or comes twice where
// it may come once, or when the count of positional arguments is wrong.
std::optional<ParsedArguments> ParseArguments(const Args& args, const ArgumentRules& rules);

// A command of verbs ("library list ..."): runs the verb that args[0]
// names with the arguments after it; the usage error for none or another.
struct Verb {
  std::string_view name;
  CommandRun run;
};
int RunVerb(const Args& args, std::initializer_list<Verb> verbs, const char* usage);

// The rule of --data-dir DIR, which names the data directory.
OptionRule DataDirectoryOption();
// The data directory: the --data-dir value when given, else the settings'.
std::string DataDirectoryArgument(const ParsedArguments& parsed);

// A whole decimal number (optionally negative) that fits an int.
std::optional<int> WholeNumber(std::string_view text);

}  // namespace quorvant::cli
