// quorvant-cli table: a table's structure and records, for authors who
// script and for diagnosing files.
#include <cstdio>
#include <optional>

#include "cli/commands.h"
#include "cli/option_arguments.h"
#include "core/env/table_error.h"
#include "core/shell/text_helpers.h"
#include "core/tableengine/table.h"

namespace quorvant::cli {
namespace {

const char kUsage[] =
    "usage: quorvant-cli table info FILE.dbf\n"
    "       quorvant-cli table dump FILE.dbf [--order TAG] [--filter EXPR] [--seek VALUE]";

void PrintInfo(Table& t) {
  std::printf("File: %s\nRecords: %u\nFields: %zu\n", t.path().c_str(), t.RecCount(),
              t.Fields().size());
  for (const FieldDef& f : t.Fields()) {
    std::printf("  %-10s %c %4d", f.name.c_str(), f.type, f.width);
    if (f.decimals > 0) std::printf(" %d", f.decimals);
    std::printf("\n");
  }
  std::printf("Tags: %d\n", t.TagCount());
  for (int order = 1; order <= t.TagCount(); ++order) {
    const TagDefinition& tag = t.Tag(order);
    std::printf("  %d %-10s key %s", order, tag.name.c_str(), tag.key.c_str());
    if (!tag.condition.empty()) std::printf("  for %s", tag.condition.c_str());
    std::printf("\n");
  }
}

// A field's text on one line: blanks around it removed, line breaks and
// tabs written as \n and \t.
std::string Shown(std::string_view value) {
  std::string text = ReplaceAll(TrimBlanks(value), "\r\n", "\n");
  text = ReplaceAll(ReplaceAll(ReplaceAll(text, "\\", "\\\\"), "\r", "\\n"), "\n", "\\n");
  return ReplaceAll(text, "\t", "\\t");
}

void PrintRecord(Table& t) {
  std::string line;
  bool first = true;
  for (const FieldDef& f : t.Fields()) {
    if (!first) line += '\t';
    first = false;
    line += Shown(t.Get(f.name));
  }
  std::printf("%s\n", line.c_str());
}

struct DumpOptions {
  std::optional<std::string> order, filter, seek;
};

int Dump(Table& t, const DumpOptions& o) {
  if (o.order) {
    const int order = t.TagOrder(*o.order);
    if (order == 0) {
      std::fprintf(stderr, "The table %s has no tag %s\n", t.path().c_str(), o.order->c_str());
      return 1;
    }
    t.SetOrder(order);
  }
  if (o.filter) t.SetFilter(*o.filter);
  if (!o.seek) {
    for (t.GoTop(); !t.Eof(); t.Skip()) PrintRecord(t);
    return 0;
  }
  // The records of the key, in order, that the filter lets through.
  for (t.Seek(*o.seek); t.KeyMatches(*o.seek); t.Skip()) {
    if (t.CurrentVisible()) PrintRecord(t);
  }
  return 0;
}

}  // namespace

int RunTable(const Args& args) {
  if (args.size() < 2 || (args[0] != "info" && args[0] != "dump")) return UsageError(kUsage);
  const bool info = args[0] == "info";
  std::vector<OptionRule> dump_options = {
      {.name = "--order"}, {.name = "--filter"}, {.name = "--seek"}};
  const auto parsed =
      ParseArguments(Args(args.begin() + 2, args.end()),
                     {.options = info ? std::vector<OptionRule>{} : dump_options, .usage = kUsage});
  if (!parsed) return 2;
  const DumpOptions options{parsed->Value("--order"), parsed->Value("--filter"),
                            parsed->Value("--seek")};
  if (options.seek && !options.order) return UsageError("--seek needs --order TAG");
  try {
    Table table;
    table.Open(args[1]);
    if (info) {
      PrintInfo(table);
      return 0;
    }
    return Dump(table, options);
  } catch (const ETableError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}

}  // namespace quorvant::cli
