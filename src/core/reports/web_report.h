// The analysis as a small web site: an index page naming the survey, its
// author, the responses and the active filter, and one page per question
// with the question's chart as a JPEG image or, for a Text question, the
// typed answers, and the texts typed into the Other boxes.
//
// Respondents' texts (answers, Other texts) are escaped, so that a typed
// "<script>" shows as typed and never runs; the author's own texts (survey
// name, author, questions, filter descriptions) keep their markup. Every
// page declares UTF-8 in its head; an answer's own line breaks show as
// "<BR>", the answer staying one line of the file. When the last compute set
// the filter aside (no record met it), the pages list every record's
// answers and the index says so under the filter.
//
// Drawing the chart needs the chart engine, which lives outside the core:
// the caller hands in how to show a question (the Analysis page's Show
// question) and how to write the chart that is then shown as a JPEG.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quorvant {

class Table;
class TSurvey;

// The file names of one report. dir is the directory chosen by the author,
// ext the preferred web page extension (".htm" or ".html").
struct WebReportNames {
  std::string dir;
  std::string base;  // the survey file's name without directory and extension
  std::string ext;

  WebReportNames(std::string directory, const std::string& survey_file, std::string extension);
  std::string IndexLink() const { return base + ext; }
  std::string IndexPath() const;
  std::string PageLink(int item) const { return base + std::to_string(item) + ext; }
  std::string PagePath(int item) const;
  std::string ImageLink(int item) const { return base + std::to_string(item) + ".jpg"; }
  std::string ImagePath(int item) const;
};

struct WebReportHooks {
  // Makes the item the shown question (the page recounts and redraws its
  // chart). May be empty when the results are counted already.
  std::function<void(int item)> show_question;
  // Writes the chart of the item as a JPEG file at path; false when it
  // could not be written.
  std::function<bool(int item, const std::string& path)> write_chart;
};

// What writing a report came to: ok, or the message naming what failed.
// Pages written before a failure stay on disk.
struct WebReportResult {
  bool ok = true;
  std::string error;
  std::string opened;  // the page to open in the browser
  // On success, where the files went, in a sentence for the author (the
  // window shows it, the command line prints it).
  std::string written;
};

// "<HR>Generated at " + the current date-time text (the survey's clock) +
// " by " + the link to the vendor's web site + "</FONT></BODY></HTML>".
std::string WebReportLastLine(const TSurvey& survey);

// The lines of the page of the question at item position `item`. table is
// the open response table or nullptr; its view filter becomes the survey's
// active filter. Throws ETableError when the table cannot be read.
std::vector<std::string> QuestionPageLines(const TSurvey& survey, Table* table,
                                           const WebReportNames& names, int item,
                                           bool part_of_report);

// The index page's lines around the question lines, for the items listed.
std::vector<std::string> IndexPageLines(const TSurvey& survey, const WebReportNames& names,
                                        const std::vector<int>& items);

// Writes the page (and the chart image of a question that has one) of one
// question. The survey's DisplayNumbers must be set (RebuildQuestionList).
WebReportResult WriteQuestionPage(const TSurvey& survey, Table* table, const WebReportNames& names,
                                  int item, bool part_of_report, const WebReportHooks& hooks);

// Writes every question page of `items` (the analysis question list, in its
// order), then the index page. The directory must exist: when it does not,
// nothing is written.
WebReportResult WriteWebReport(const TSurvey& survey, Table* table, const WebReportNames& names,
                               const std::vector<int>& items, const WebReportHooks& hooks);

}  // namespace quorvant
