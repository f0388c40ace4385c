// quorvant-cli emaillist: e-mail lists from a terminal, through the same
// list operations as the e-mail list manager.
#include <cstdio>
#include <exception>
#include <optional>

#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/option_arguments.h"
#include "core/emaillists/email_list.h"
#include "core/emaillists/email_list_labels.h"
#include "core/emaillists/email_list_transfer.h"
#include "core/shell/text_helpers.h"

namespace quorvant::cli {
namespace {

const char kUsage[] =
    "usage: quorvant-cli emaillist new FILE.eml\n"
    "       quorvant-cli emaillist import FILE.eml IN.csv\n"
    "       quorvant-cli emaillist export FILE.eml OUT.(csv|txt) [--order FNAME|LNAME|EMAIL]\n"
    "       quorvant-cli emaillist show FILE.eml [--order TAG] [--find TEXT]\n"
    "       quorvant-cli emaillist print FILE.eml OUT.pdf";

struct Options {
  std::vector<std::string> files;  // after the subcommand
  std::optional<std::string> order, find;
};

// Splits the arguments after the subcommand; nothing, after the usage
// error, on an unknown or incomplete option. Only "--" starts an option, so
// that a file may be named "-x.eml".
std::optional<Options> ReadOptions(const Args& args) {
  const auto parsed = ParseArguments(Args(args.begin() + 1, args.end()),
                                     {.options = {{.name = "--order"}, {.name = "--find"}},
                                      .most_positional = kAnyCount,
                                      .usage = kUsage,
                                      .option_prefix = "--"});
  if (!parsed) return std::nullopt;
  return Options{parsed->positional, parsed->Value("--order"), parsed->Value("--find")};
}

bool EndsWith(const std::string& name, const char* ext) {
  const std::string lower = ToLowerAscii(name);
  const std::string_view e(ext);
  return lower.size() > e.size() && lower.ends_with(e);
}

void PrintRecord(const EmailRecord& r) {
  std::printf("%s\t%s\t%s\n", r[0].c_str(), r[1].c_str(), r[2].c_str());
}

int Show(TEmailList& list, const Options& o) {
  if (!o.find) {
    for (const uint32_t recno : list.RowsInOrder()) PrintRecord(list.Read(recno));
    return 0;
  }
  const std::optional<uint32_t> found = list.Find(*o.find);
  if (!found) {
    std::fprintf(stderr, "%s\n", EmailFindStatus(false, list.SortField(), *o.find).c_str());
    return 1;
  }
  PrintRecord(list.Read(*found));
  return 0;
}

int Run(const std::string& sub, const Options& o) {
  ConsolePrompts prompts;
  TEmailList list(prompts);
  const std::string& file = o.files[0];
  if (sub == "new") return list.Create(file) ? 0 : 1;
  if (sub == "print") return DesktopCommand("emaillist print")({file, o.files[1]});
  list.Open(file);
  if (o.order && !list.SetOrder(*o.order)) {
    std::fprintf(stderr, "An e-mail list has no order %s\n", o.order->c_str());
    return 1;
  }
  if (sub == "import") {
    std::printf("%s\n", EmailImportReport(ImportEmailCsv(list, o.files[1])).c_str());
    return 0;
  }
  if (sub == "export") {
    if (EndsWith(o.files[1], ".txt")) {
      ExportEmailText(list, o.files[1]);
    } else {
      ExportEmailCsv(list, o.files[1]);
    }
    return 0;
  }
  return Show(list, o);
}

}  // namespace

int RunEmailList(const Args& args) {
  if (args.empty()) return UsageError(kUsage);
  const std::optional<Options> read = ReadOptions(args);
  if (!read) return 2;
  const Options& o = *read;
  const std::string& sub = args[0];
  const size_t files = sub == "new" || sub == "show" ? 1 : 2;
  const bool known =
      sub == "new" || sub == "show" || sub == "import" || sub == "export" || sub == "print";
  if (!known || o.files.size() != files) return UsageError(kUsage);
  const bool takes_order = sub == "show" || sub == "export";
  if ((o.order && !takes_order) || (o.find && sub != "show")) return UsageError(kUsage);
  if (sub == "export" && !EndsWith(o.files[1], ".csv") && !EndsWith(o.files[1], ".txt")) {
    return UsageError("the export file must end in .csv or .txt");
  }
  try {
    return Run(sub, o);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}

}  // namespace quorvant::cli
