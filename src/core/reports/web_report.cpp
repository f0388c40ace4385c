#include "core/reports/web_report.h"

#include <map>
#include <utility>

#include "core/analysis/filter_list.h"
#include "core/analysis/result_counting.h"
#include "core/reports/answer_list.h"
#include "core/shell/atomic_file.h"
#include "core/shell/date_time.h"
#include "core/shell/text_helpers.h"
#include "core/shell/vendor.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"
#include "core/webpage/html_escape.h"

namespace quorvant {
namespace {

// The pages are UTF-8 and say so: a server or browser that guesses another
// encoding would garble every answer beyond ASCII.
constexpr char kFirstLine[] =
    "<HTML><HEAD><META charset=\"utf-8\"><TITLE>Quorvant Analysis</TITLE></HEAD>"
    "<BODY bgcolor=\"#FFFFFF\">";
constexpr char kSecondLine[] = "<FONT FACE=\"Verdana, Arial, Helvetica\" SIZE=\"-1\">";

std::string Joined(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

// A page's text, line by line, each line ended by CR LF.
class PageText {
 public:
  void Line(std::string_view line) {
    text_.append(line);
    text_ += "\r\n";
  }
  // One line per answer: the answer escaped, each of its own line breaks
  // shown as "<BR>", then `end`.
  void Answers(const AnswerColumn& answers, std::string_view end) {
    for (size_t i = 0; i < answers.size(); ++i) {
      std::string_view answer = answers[i];
      for (size_t br = answer.find_first_of("\r\n"); br != std::string_view::npos;
           br = answer.find_first_of("\r\n")) {
        AppendEscapedHtml(text_, answer.substr(0, br));
        text_ += "<BR>";
        answer.remove_prefix(br + (answer.compare(br, 2, "\r\n") == 0 ? 2 : 1));
      }
      AppendEscapedHtml(text_, answer);
      text_.append(end);
      text_ += "\r\n";
    }
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// The typed answers of the report's fields, read in one pass of the table
// before the pages are written.
using FieldAnswers = std::map<std::string, AnswerColumn>;

void AddAnswers(Table& table, const std::string& filter, const std::string& field, const char* end,
                const FieldAnswers* prepared, PageText& page) {
  const auto it = prepared != nullptr ? prepared->find(field) : FieldAnswers::const_iterator{};
  if (prepared != nullptr && it != prepared->end()) {
    page.Answers(it->second, end);
  } else {
    page.Answers(TrimmedAnswers(table, filter, std::vector<std::string>{field})[0], end);
  }
}

// The fields whose answers the pages of items list.
std::vector<std::string> AnswerFields(const TSurvey& survey, const std::vector<int>& items) {
  std::vector<std::string> fields;
  for (const int item : items) {
    const TQuestion& q = survey.Items().at(static_cast<size_t>(item));
    const std::string field = "QVX" + std::to_string(q.ID);
    if (q.Style == kStyleText) fields.push_back(field);
    if (q.Style != kStyleText && q.IncludeOther) fields.push_back(field + "OT");
  }
  return fields;
}

FieldAnswers ReadAnswers(const TSurvey& survey, Table* table, const std::vector<int>& items) {
  FieldAnswers answers;
  if (table == nullptr || !table->IsOpen()) return answers;
  const std::vector<std::string> fields = AnswerFields(survey, items);
  std::vector<AnswerColumn> read = TrimmedAnswers(*table, CountedFilterExpression(survey), fields);
  for (size_t k = 0; k < fields.size(); ++k) answers[fields[k]] = std::move(read[k]);
  return answers;
}

WebReportResult Failed(std::string error) { return {false, std::move(error), "", ""}; }

bool WritePage(const std::string& path, const std::string& text) {
  // Made again at will from the survey and its table: never worth a flush.
  return WriteFileAtomically(path, text, WriteDurability::kRegenerable);
}

}  // namespace

WebReportNames::WebReportNames(std::string directory, const std::string& survey_file,
                               std::string extension)
    : dir(std::move(directory)),
      base(NameWithoutExtension(survey_file)),
      ext(std::move(extension)) {}

std::string WebReportNames::IndexPath() const { return Joined(dir, IndexLink()); }
std::string WebReportNames::PagePath(int item) const { return Joined(dir, PageLink(item)); }
std::string WebReportNames::ImagePath(int item) const { return Joined(dir, ImageLink(item)); }

std::string WebReportLastLine(const TSurvey& survey) {
  return "<HR>Generated at " + DateTimeToText(survey.env().Now()).value_or("") + " by <A HREF=\"" +
         std::string(vendor::kWebSite) + "\">Quorvant</A></FONT></BODY></HTML>";
}

namespace {

std::string QuestionPageText(const TSurvey& survey, Table* table, const WebReportNames& names,
                             int item, bool part_of_report, const FieldAnswers* prepared) {
  const TQuestion& q = survey.Items().at(static_cast<size_t>(item));
  PageText lines;
  lines.Line(kFirstLine);
  lines.Line(kSecondLine);
  lines.Line("<B>" + q.DisplayNumber + ") " + q.Text + "</B>");
  lines.Line(part_of_report ? "<br>&nbsp;&nbsp;&nbsp;&nbsp;<SMALL>Back to <A HREF=\"" +
                                  names.IndexLink() + "\">Question Index</A></SMALL><p>"
                            : "<p>");
  const bool open = table != nullptr && table->IsOpen();
  const std::string filter = CountedFilterExpression(survey);
  const std::string field = "QVX" + std::to_string(q.ID);
  if (q.Style == kStyleText) {
    if (open) {
      if (q.LengthOfResponse == -1) {
        lines.Line("<HR>");
        AddAnswers(*table, filter, field, "<HR>", prepared, lines);
      } else {
        AddAnswers(*table, filter, field, "<BR>", prepared, lines);
      }
    }
  } else {
    lines.Line("<IMG SRC=\"" + names.ImageLink(item) + "\" BORDER=0>");
    if (q.IncludeOther) {
      lines.Line("<P><HR><B>Other Responses:</B><HR>");
      if (open) AddAnswers(*table, filter, field + "OT", "<BR>", prepared, lines);
    }
  }
  lines.Line(WebReportLastLine(survey));
  return lines.Text();
}

WebReportResult WritePageOf(const TSurvey& survey, Table* table, const WebReportNames& names,
                            int item, bool part_of_report, const WebReportHooks& hooks,
                            const FieldAnswers* prepared) {
  if (!DirectoryExists(names.dir)) {
    return Failed("The directory " + names.dir + " does not exist.");
  }
  const TQuestion& q = survey.Items().at(static_cast<size_t>(item));
  if (q.Style != kStyleText && hooks.write_chart &&
      !hooks.write_chart(item, names.ImagePath(item))) {
    return Failed("The chart image " + names.ImagePath(item) + " could not be written.");
  }
  const std::string page = names.PagePath(item);
  if (!WritePage(page, QuestionPageText(survey, table, names, item, part_of_report, prepared))) {
    return Failed("The page " + page + " could not be written.");
  }
  const bool image = q.Style != kStyleText && hooks.write_chart;
  return {true, "", part_of_report ? "" : page,
          "The web page " + page + (image ? " and its chart image " + names.ImagePath(item) : "") +
              (image ? " were written." : " was written.")};
}

}  // namespace

std::vector<std::string> QuestionPageLines(const TSurvey& survey, Table* table,
                                           const WebReportNames& names, int item,
                                           bool part_of_report) {
  return SplitLines(QuestionPageText(survey, table, names, item, part_of_report, nullptr));
}

std::vector<std::string> IndexPageLines(const TSurvey& survey, const WebReportNames& names,
                                        const std::vector<int>& items) {
  std::vector<std::string> lines = {
      kFirstLine, kSecondLine, "<H2>Survey: " + survey.Name() + "</H2>",
      "<B>Author: " + survey.Author() + "</B><br>",
      "<B>Responses Received: " + std::to_string(survey.SRResponseCount()) + "</B>"};
  const std::vector<std::string>& conditions = survey.ActiveFilter().Descriptions();
  if (!conditions.empty()) {
    lines.push_back("<br><B>Active Filter:</B><br>");
    for (size_t k = 0; k < conditions.size(); ++k) {
      lines.push_back(conditions[k] + (k + 1 < conditions.size() ? " <B>and</B> " : " "));
    }
    if (survey.Results().FilterSetAside()) {
      lines.push_back(std::string("<br><I>") + kFilterSetAside + "</I>");
    }
  }
  lines.push_back("<hr>");
  for (const int item : items) {
    const TQuestion& q = survey.Items().at(static_cast<size_t>(item));
    lines.push_back(q.DisplayNumber + ") <A HREF=\"" + names.PageLink(item) + "\">" + q.Text +
                    "</A><p>");
  }
  lines.push_back(WebReportLastLine(survey));
  return lines;
}

WebReportResult WriteQuestionPage(const TSurvey& survey, Table* table, const WebReportNames& names,
                                  int item, bool part_of_report, const WebReportHooks& hooks) {
  return WritePageOf(survey, table, names, item, part_of_report, hooks, nullptr);
}

WebReportResult WriteWebReport(const TSurvey& survey, Table* table, const WebReportNames& names,
                               const std::vector<int>& items, const WebReportHooks& hooks) {
  if (!DirectoryExists(names.dir)) {
    return Failed("The directory " + names.dir + " does not exist.");
  }
  const FieldAnswers answers = ReadAnswers(survey, table, items);
  for (const int item : items) {
    if (hooks.show_question) hooks.show_question(item);
    WebReportResult page = WritePageOf(survey, table, names, item, true, hooks, &answers);
    if (!page.ok) return page;
  }
  PageText index;
  for (const std::string& line : IndexPageLines(survey, names, items)) index.Line(line);
  if (!WritePage(names.IndexPath(), index.Text())) {
    return Failed("The page " + names.IndexPath() + " could not be written.");
  }
  return {true, "", names.IndexPath(),
          "The web report was written to the folder " + names.dir + " (" +
              std::to_string(items.size() + 1) + " pages); its index page is " + names.IndexPath() +
              "."};
}

}  // namespace quorvant
