// The table of quorvant-cli's subcommands, shared by the program and its
// desktop helper so that both list and dispatch the same commands.
#include "cli/commands.h"

namespace quorvant::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"show", "SURVEY.qvx", "print the numbered items of a survey with their details", RunShow},
      {"save", "SURVEY.qvx [--as OUT.qvx]", "load and save a survey, normalising its file",
       RunSave},
      {"page", "SURVEY.qvx OUT.htm [--data-dir DIR]",
       "generate the survey's web page from its display template", RunPage},
      {"verify", "SURVEY.qvx", "check that the survey's collection server answers", nullptr},
      {"register", "SURVEY.qvx", "register the survey with its collection server", nullptr},
      {"mail", "SURVEY.qvx [--reminder] [--dry-run] [--again]",
       "mail the invitations of the survey's notification list (the Email preferences); "
       "--reminder only to those who have not answered; --again once it was mailed",
       nullptr},
      {"clear-results", "SURVEY.qvx", "delete the survey's responses from its collection server",
       nullptr},
      {"fetch", "SURVEY.qvx",
       "download the survey's new responses into its response table (Update Now)", nullptr},
      {"incorporate", "SURVEY.qvx REPLY.dat",
       "add the responses of a saved results reply to the survey's response table", nullptr},
      {"export", "SURVEY.qvx OUT.(dbf|csv|xlsx|sav|dta) [--labels] [--where COND]...",
       "write the survey's responses as a dBase file with its field-mapping text, or under the "
       "filter as CSV, Excel, SPSS or Stata data with question texts and option labels",
       RunExport},
      {"results", "SURVEY.qvx [--where COND]... [--json | --csv]",
       "count the survey's responses per option and numeric group, under the conditions "
       "ID=K, ID!=K (choice) or ID>V, ID<V, ID=V (Numeric)",
       RunResults},
      {"crosstab", "SURVEY.qvx ROWID COLID [--where COND]... [--json | --csv]",
       "count the answers to question ROWID against those to question COLID, with Pearson's "
       "chi-square test, under the conditions as results takes them",
       RunCrosstab},
      {"chart", "SURVEY.qvx ID OUT.png|OUT.svg|OUT.jpg [--width W --height H] [--where COND]...",
       "draw the chart of question ID as the Analysis page shows it (default 800x600)", nullptr},
      {"report", "SURVEY.qvx DIR [--question ID] [--where COND]...",
       "write the analysis as web pages into the existing directory DIR: an index and one page "
       "per question (or the page of question ID alone)",
       nullptr},
      {"print", "SURVEY.qvx OUT.pdf [--analysis [--question ID]] [--where COND]...",
       "print the survey as a questionnaire, or its analysis (every question or one), to PDF",
       nullptr},
      {"table", "info FILE.dbf | dump FILE.dbf [--order TAG] [--filter EXPR] [--seek VALUE]",
       "show a table's fields, record count and tags, or its records one per line", RunTable},
      {"import", "TEXT.txt OUT.qvx --style 1|2|3|5 [--data-dir DIR]",
       "build a new survey from a question text file and save it", RunImport},
      {"library",
       "list [--data-dir DIR] | new NAME [--data-dir DIR] | show LIB.qvl | "
       "add LIB.qvl SURVEY.qvx [--items N,...] | insert LIB.qvl SURVEY.qvx [--items N,...]",
       "list, create and show question libraries; add survey items to one, or insert its items "
       "into a survey",
       RunLibrary},
      {"template", "list [--data-dir DIR] | show FILE.qvt | write FILE.qvt TITLE VALUES.txt",
       "list the response and display templates, show a response template's title and values, "
       "or write one from a title and a file of values, one per line",
       RunTemplate},
      {"emaillist",
       "new FILE.eml | import FILE.eml IN.csv | export FILE.eml OUT.(csv|txt) [--order TAG] | "
       "show FILE.eml [--order TAG] [--find TEXT] | print FILE.eml OUT.pdf",
       "create, import, export, list, search or print an e-mail list", RunEmailList},
  };
  return commands;
}

}  // namespace quorvant::cli
