#include "core/reports/analysis_report.h"

#include <exception>
#include <vector>

#include "core/analysis/answer_view_filter.h"
#include "core/analysis/result_counting.h"
#include "core/reports/cross_table_report.h"
#include "core/reports/report_page.h"
#include "core/reports/report_texts.h"
#include "core/reports/text_wrap.h"
#include "core/shell/text_helpers.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"

namespace quorvant {
namespace {

constexpr TextStyle kIndexTitle{.bold = true, .points = 3};
constexpr TextStyle kFilterLine{.points = -2};

// The trimmed, non-empty texts of field in the records the view filter
// shows, first to last. The view filter is the one the Analysis page sets
// for the question; a condition on a field the table lacks leaves every
// record, as there.
std::vector<std::string> Answers(Table& table, const TQuestion& q, const std::string& filter,
                                 const std::string& field) {
  try {
    table.SetFilter(AnswerViewFilter(q, filter));
  } catch (const std::exception&) {
    table.SetFilter("");
  }
  std::vector<std::string> texts;
  if (table.FieldIndex(field) < 0) return texts;
  for (table.GoTop(); !table.Eof(); table.Skip()) {
    std::string text = TrimControls(table.Get(field));
    if (!text.empty()) texts.push_back(std::move(text));
  }
  return texts;
}

// Each answer wrapped to the page between the margins, its own line breaks
// kept, and half a line between one answer and the next; a long answer
// runs on over as many pages as it needs.
void PrintAnswers(ReportPage& page, const std::vector<std::string>& answers) {
  page.canvas().SetTextStyle({});
  const int width = page.PW() - 2 * page.L();
  const TextMeasure measure = [&page](std::string_view text) {
    return page.canvas().TextWidth(text);
  };
  for (size_t k = 0; k < answers.size(); ++k) {
    if (k > 0) {
      page.Advance(page.TH() / 2);
      page.BreakTest();
    }
    for (const std::string& line : WrapText(answers[k], width, measure)) {
      page.Text(page.L(), line);
      page.Advance(page.TH() + 10);
      page.BreakTest();
    }
  }
}

void PrintQuestion(const AnalysisReport& report, ReportPage& page, int item_index) {
  const TQuestion& q = report.survey.Item(item_index);
  const int L = page.L();
  page.Text(L, q.DisplayNumber + ") " + q.Text, kLargerBold);
  page.Advance(2 * (page.TH() + 10));
  page.Text(L, ActiveFilterLine(report.survey), kFilterLine);
  page.Advance(page.TH() + 10);
  page.canvas().SetTextStyle({});
  page.BreakTest();
  // Set aside with the counts when no record meets it.
  const std::string filter = CountedFilterExpression(report.survey);
  const std::string field = "QVX" + std::to_string(q.ID);
  if (q.Style != kStyleText) {
    const int half = page.PW() / 2;
    page.canvas().DrawChart(2 * L, page.Y(), page.PW() - 2 * L, page.Y() + half);
    page.canvas().SetTextStyle({});
    page.Advance(half + 10);
    page.BreakTest();
    if (!q.IncludeOther) return;
    page.Text(L, "Other Responses");
    page.Advance(page.TH() + 10);
    page.BreakTest();
    page.Rule(L, page.PW() - L);
    page.BreakTest();
    if (report.table != nullptr)
      PrintAnswers(page, Answers(*report.table, q, filter, field + "OT"));
  } else if (report.table != nullptr) {
    PrintAnswers(page, Answers(*report.table, q, filter, field));
  }
}

void Show(const AnalysisReport& report, int item_index) {
  if (report.show_question) report.show_question(item_index);
}

}  // namespace

std::string ActiveFilterLine(const TSurvey& survey) {
  const std::vector<std::string>& descriptions = survey.ActiveFilter().Descriptions();
  if (descriptions.empty()) return "";
  std::string line = "Active Filter: ";
  for (size_t k = 0; k < descriptions.size(); ++k) {
    if (k > 0) line += " and ";
    line += descriptions[k];
  }
  if (survey.Results().FilterSetAside()) line += std::string(" - ") + kFilterSetAside;
  return line;
}

std::string StyleTag(int style) {
  switch (style) {
    case kStyleSingleChoice:
      return "  [Single Choice]";
    case kStyleMultipleChoice:
      return "  [Multiple Choice]";
    case kStyleSlidingScale:
      return "  [Slider - Single Choice]";
    case kStyleText:
      return "  [Text Comment]";
    case kStylePulldown:
      return "  [Pulldown - Single Choice]";
    case kStyleNumeric:
      return "  [Numeric]";
    default:
      return "";
  }
}

std::string AnalysisReportTitle(const TSurvey& survey, int item_index) {
  std::string title = "Quorvant Analysis Report - " + survey.Name();
  if (item_index >= 0) title += ", Question #" + std::to_string(item_index);
  return title;
}

void PrintAnalysisReport(const AnalysisReport& report, PageCanvas& canvas) {
  const QuestionListing listing = RebuildQuestionList(report.survey);
  ReportPage page(canvas);
  page.Begin(AnalysisReportTitle(report.survey));
  const int L = page.L();
  page.Text(L, "Questions", kIndexTitle);
  page.Advance(2 * (page.TH() + 10));
  for (const QuestionListLine& line : listing.lines) {
    const TQuestion& item = report.survey.Item(line.item_index);
    if (item.IsHeader()) {
      page.Text(L, line.line, kLargerBold);
    } else {
      page.Text(2 * L, line.line + StyleTag(item.Style), {.bold = true});
    }
    page.Advance(page.TH() + 10);
    page.BreakTest();
  }
  page.NewPage();
  // No pause between questions: the spooler receives the job whole at
  // its end, so there is nothing to wait for.
  for (size_t k = 0; k < listing.analysis_items.size(); ++k) {
    const int item_index = listing.analysis_items[k];
    Show(report, item_index);
    PrintQuestion(report, page, item_index);
    if (k + 1 < listing.analysis_items.size()) page.NewPage();
  }
  if (report.cross_table != nullptr) {
    page.NewPage();
    PrintCrossTable(page, *report.cross_table, ActiveFilterLine(report.survey));
  }
}

void PrintQuestionAnalysis(const AnalysisReport& report, int item_index, PageCanvas& canvas) {
  RebuildQuestionList(report.survey);
  ReportPage page(canvas);
  page.Begin(AnalysisReportTitle(report.survey, item_index));
  Show(report, item_index);
  PrintQuestion(report, page, item_index);
}

}  // namespace quorvant
