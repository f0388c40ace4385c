// Arguments of the form FILE ... [--name VALUE ...], for the subcommands
// that take several files and options.
#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"

namespace quorvant::cli {

struct OptionArguments {
  std::vector<std::string> positional;        // in the order given
  std::map<std::string, std::string> values;  // "--name" -> VALUE
};

// Splits args into positional arguments and the options named in `known`,
// each followed by a non-empty value. Nothing, after printing the usage
// error (exit status 2) with `usage`, when an option is unknown, lacks its
// value or the count of positional arguments is not `positional`.
std::optional<OptionArguments> ParseOptionArguments(const Args& args,
                                                    std::initializer_list<std::string_view> known,
                                                    size_t positional, const char* usage);

// The data directory: the --data-dir value when given, else the settings'.
std::string DataDirectoryArgument(const OptionArguments& parsed);

}  // namespace quorvant::cli
