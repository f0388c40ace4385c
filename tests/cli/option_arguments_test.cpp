// The one option parser of quorvant-cli, case by case: each row is a
// command line under one command's rules and what the parser makes of it,
// the values it read or the usage error it printed.
#include "cli/option_arguments.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quorvant::cli {
namespace {

std::string CheckNumber(std::string_view name, const std::string& value) {
  return WholeNumber(value) ? "" : std::string(name) + " is no number";
}

// Rules like chart's (three files, checked and repeated options), like
// the library commands' (faults named), like page's (a message of its own),
// and like emaillist's ("--" alone starts an option).
const ArgumentRules kChartLike{
    .options = {{.name = "--width", .check = CheckNumber},
                {.name = "--where", .kind = OptionKind::kList},
                {.name = "--question", .once = true},
                {.name = "--analysis", .kind = OptionKind::kFlag}},
    .least_positional = 1,
    .most_positional = 2,
    .usage = "U"};
const ArgumentRules kNamed = NamedFaults({{.name = "--items"}}, 2, "U");
const ArgumentRules kOwnMessage{.options = {{.name = "--data-dir",
                                             .missing = "--data-dir needs a folder",
                                             .may_be_empty = false}},
                                .least_positional = 1,
                                .most_positional = 1,
                                .positional_may_be_empty = false,
                                .usage = "U"};
const ArgumentRules kDoubleDash{.options = {{.name = "--order"}},
                                .most_positional = kAnyCount,
                                .usage = "U",
                                .option_prefix = "--"};

// What the parser made of args: "files|name=value,...", or "error: " and
// the message UsageError printed.
std::string Parsed(const ArgumentRules& rules, const Args& args) {
  ::testing::internal::CaptureStderr();
  const auto parsed = ParseArguments(args, rules);
  const std::string err = ::testing::internal::GetCapturedStderr();
  if (!parsed) {
    const std::string prefix = "quorvant-cli: ";
    const std::string suffix = "\nTry 'quorvant-cli --help'.\n";
    EXPECT_TRUE(err.starts_with(prefix) && err.ends_with(suffix)) << err;
    return "error: " + err.substr(prefix.size(), err.size() - prefix.size() - suffix.size());
  }
  EXPECT_EQ(err, "");
  std::ostringstream out;
  for (const std::string& p : parsed->positional) out << p << ";";
  out << "|";
  for (const auto& [name, values] : parsed->options) {
    out << name << "=";
    for (const std::string& v : values) out << v << ",";
  }
  return out.str();
}

TEST(OptionArgumentsTest, EachCommandLineReadsAsItsRulesSay) {
  struct Row {
    const ArgumentRules* rules;
    Args args;
    std::string expected;
  };
  const Row rows[] = {
      {&kChartLike, {"a"}, "a;|"},
      {&kChartLike, {"a", "--where", "1=0", "b", "--where", "-2<3"}, "a;b;|--where=1=0,-2<3,"},
      {&kChartLike, {"--width", "5", "a", "--width", "7"}, "a;|--width=7,"},
      {&kChartLike, {"a", "--analysis", "--analysis"}, "a;|--analysis="},
      {&kChartLike, {"a", "--where", ""}, "a;|--where=,"},
      {&kChartLike, {}, "error: U"},
      {&kChartLike, {"a", "b", "c"}, "error: U"},
      {&kChartLike, {"a", "-x"}, "error: U"},
      {&kChartLike, {"a", "--where"}, "error: U"},
      {&kChartLike, {"a", "--width", "x"}, "error: --width is no number"},
      // A fault in arguments order: the third file comes before the bad width.
      {&kChartLike, {"a", "b", "c", "--width", "x"}, "error: U"},
      {&kChartLike, {"a", "--width", "x", "b", "c"}, "error: --width is no number"},
      {&kChartLike, {"a", "--question", "1", "--question", "2"}, "error: U"},
      {&kNamed, {"a", "b", "--items", "1,2"}, "a;b;|--items=1,2,"},
      {&kNamed, {"a", "b", "c", "--bogus", "1"}, "error: unknown option --bogus\nU"},
      {&kNamed, {"a", "b", "--items"}, "error: --items needs a value\nU"},
      {&kNamed, {"a", "b", "--items", ""}, "error: --items needs a value\nU"},
      {&kNamed, {"a", "b", "c"}, "error: U"},
      {&kNamed, {"", "b"}, ";b;|"},
      {&kOwnMessage, {"a", "--data-dir", ""}, "error: --data-dir needs a folder"},
      {&kOwnMessage, {"a", "--data-dir"}, "error: --data-dir needs a folder"},
      {&kOwnMessage, {"a", "--data-dir", "-d"}, "a;|--data-dir=-d,"},
      {&kOwnMessage, {""}, "error: U"},
      {&kDoubleDash, {"-x.eml", "--order", "EMAIL", "b"}, "-x.eml;b;|--order=EMAIL,"},
      {&kDoubleDash, {"a", "--find", "x"}, "error: U"},
      {&kDoubleDash, {}, "|"},
  };
  for (const Row& row : rows) {
    std::string shown;
    for (const std::string& a : row.args) shown += "'" + a + "' ";
    EXPECT_EQ(Parsed(*row.rules, row.args), row.expected) << shown;
  }
}

TEST(OptionArgumentsTest, WholeNumbersOnly) {
  EXPECT_EQ(WholeNumber("42"), 42);
  EXPECT_EQ(WholeNumber("-7"), -7);
  for (const char* bad : {"", "+1", "1x", " 1", "99999999999", "0x10"}) {
    EXPECT_FALSE(WholeNumber(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace quorvant::cli
