#include "cli/option_arguments.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>

#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"

namespace quorvant::cli {
namespace {

const OptionRule* RuleFor(const ArgumentRules& rules, std::string_view name) {
  const auto it = std::find_if(rules.options.begin(), rules.options.end(),
                               [&](const OptionRule& r) { return r.name == name; });
  return it == rules.options.end() ? nullptr : &*it;
}

std::optional<ParsedArguments> Fail(const std::string& message) {
  UsageError(message);
  return std::nullopt;
}

}  // namespace

int UsageError(const std::string& message) {
  std::fprintf(stderr, "quorvant-cli: %s\nTry 'quorvant-cli --help'.\n", message.c_str());
  return 2;
}

std::optional<std::string> ParsedArguments::Value(std::string_view name) const {
  const auto it = options.find(name);
  if (it == options.end() || it->second.empty()) return std::nullopt;
  return it->second.back();
}

std::vector<std::string> ParsedArguments::Values(std::string_view name) const {
  const auto it = options.find(name);
  return it == options.end() ? std::vector<std::string>{} : it->second;
}

std::optional<ParsedArguments> ParseArguments(const Args& args, const ArgumentRules& rules) {
  const std::string usage = rules.usage;
  ParsedArguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with(rules.option_prefix)) {
      if ((!rules.name_faults && parsed.positional.size() == rules.most_positional) ||
          (arg.empty() && !rules.positional_may_be_empty)) {
        return Fail(usage);
      }
      parsed.positional.push_back(arg);
      continue;
    }
    const OptionRule* rule = RuleFor(rules, arg);
    if (rule == nullptr)
      return Fail(rules.name_faults ? "unknown option " + arg + "\n" + usage : usage);
    if (rule->once && parsed.Has(arg)) return Fail(usage);
    std::vector<std::string>& values = parsed.options[arg];
    if (rule->kind == OptionKind::kFlag) continue;
    if (i + 1 >= args.size() || (!rule->may_be_empty && args[i + 1].empty())) {
      if (!rule->missing.empty()) return Fail(std::string(rule->missing));
      return Fail(rules.name_faults ? arg + " needs a value\n" + usage : usage);
    }
    const std::string& value = args[++i];
    if (rule->check != nullptr) {
      if (const std::string fault = rule->check(arg, value); !fault.empty()) return Fail(fault);
    }
    if (rule->kind == OptionKind::kValue) values.clear();
    values.push_back(value);
  }
  const size_t count = parsed.positional.size();
  if (count < rules.least_positional || count > rules.most_positional) return Fail(usage);
  return parsed;
}

ArgumentRules PositionalOnly(size_t count, const char* usage) {
  return {.least_positional = count, .most_positional = count, .usage = usage};
}

ArgumentRules NamedFaults(std::vector<OptionRule> options, size_t count, const char* usage) {
  for (OptionRule& rule : options) rule.may_be_empty = false;
  return {.options = std::move(options),
          .least_positional = count,
          .most_positional = count,
          .usage = usage,
          .name_faults = true};
}

int RunVerb(const Args& args, std::initializer_list<Verb> verbs, const char* usage) {
  if (!args.empty()) {
    for (const Verb& verb : verbs) {
      if (verb.name == args[0]) return verb.run(Args(args.begin() + 1, args.end()));
    }
  }
  return UsageError(usage);
}

OptionRule DataDirectoryOption() {
  return {.name = "--data-dir", .kind = OptionKind::kValue, .may_be_empty = false};
}

std::string DataDirectoryArgument(const ParsedArguments& parsed) {
  if (const auto dir = parsed.Value("--data-dir")) return WithTrailingSlash(*dir);
  return ReadDataDirectory(SettingsStore());
}

std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace quorvant::cli
