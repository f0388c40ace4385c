#include "cli/option_arguments.h"

#include <algorithm>

#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"

namespace quorvant::cli {

std::optional<OptionArguments> ParseOptionArguments(const Args& args,
                                                    std::initializer_list<std::string_view> known,
                                                    size_t positional, const char* usage) {
  OptionArguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    if (!args[i].starts_with("-")) {
      parsed.positional.push_back(args[i]);
      continue;
    }
    if (std::find(known.begin(), known.end(), args[i]) == known.end()) {
      UsageError("unknown option " + args[i] + "\n" + usage);
      return std::nullopt;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      UsageError(args[i] + " needs a value\n" + usage);
      return std::nullopt;
    }
    parsed.values[args[i]] = args[i + 1];
    ++i;
  }
  if (parsed.positional.size() != positional) {
    UsageError(usage);
    return std::nullopt;
  }
  return parsed;
}

std::string DataDirectoryArgument(const OptionArguments& parsed) {
  const auto it = parsed.values.find("--data-dir");
  if (it != parsed.values.end()) return WithTrailingSlash(it->second);
  return ReadDataDirectory(SettingsStore());
}

}  // namespace quorvant::cli
