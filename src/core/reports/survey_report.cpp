#include "core/reports/survey_report.h"

#include <vector>

#include "core/reports/report_page.h"
#include "core/reports/report_texts.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"

namespace quorvant {
namespace {

// The target of a skip note: the item GroupSize positions on, or the end
// for a group that runs to the end of the survey.
std::string SkipTarget(const TSurvey& survey, int index) {
  const TQuestion& head = survey.Item(index);
  const int target = index + head.GroupSize;
  if (head.GroupSize < 0 || target >= survey.ItemCount()) return "the end of the survey";
  return "question " + survey.Item(target).DisplayNumber;
}

void OptionLine(ReportPage& page, const TSurvey& survey, int index, int j,
                const std::string& option) {
  const TQuestion& item = survey.Item(index);
  TickMark(page, item.Style, 4 * page.L());
  std::string text = option;
  if (j == item.SkipGroupOfResponse) {
    text += " (if you choose " + option + ", please skip to " + SkipTarget(survey, index) + ")";
  }
  page.Text(4 * page.L() + 2 * page.TW(), text);
  page.Advance(page.TH() + 10);
}

void AnswerRules(ReportPage& page, const TQuestion& item) {
  const int L = page.L();
  page.Text(4 * L, "(Write in your response below)");
  page.Advance(page.TH() + 10);
  page.SetPen(2);
  page.Advance(page.TH() + 10);
  const int rules = item.LengthOfResponse == -1 ? 3 : 1;
  const int right = item.LengthOfResponse == -1 ? page.PW() - 4 * L : page.PW() / 2;
  for (int k = 0; k < rules; ++k) {
    page.Rule(4 * L, right);
    page.Advance(page.TH() + 10);
    page.BreakTest();
  }
}

void PrintItem(ReportPage& page, const TSurvey& survey, int index, const std::string& list_line) {
  const TQuestion& item = survey.Item(index);
  const int L = page.L();
  if (item.IsHeader()) {
    page.Text(L, item.Text, kLargerBold);
    page.Advance(2 * (page.TH() + 10));
    page.canvas().SetTextStyle({});
    return;
  }
  page.Text(2 * L, item.Required ? list_line + " (Answer required)" : list_line, {.bold = true});
  page.Advance(page.TH() + 10);
  if (item.Style == kStyleText) {
    AnswerRules(page, item);
  } else if (item.Style == kStyleNumeric) {
    page.Text(4 * L, "Please enter a numeric value between " + std::to_string(item.MinValue) +
                         " and " + std::to_string(item.MaxValue) + ": _________");
    page.Advance(2 * (page.TH() + 10));
  } else {
    page.Text(4 * L,
              item.Style == kStyleMultipleChoice ? "(Choose all that apply)" : "(Choose only one)");
    page.Advance(page.TH() + 10);
    page.BreakTest();
    const std::vector<std::string> options = item.OptionLines();
    for (size_t j = 0; j < options.size(); ++j) {
      OptionLine(page, survey, index, static_cast<int>(j), options[j]);
      page.BreakTest();
    }
    if (item.IncludeOther) {
      TickMark(page, item.Style, 4 * L);
      page.Text(4 * L + 2 * page.TW(),
                "Other, please specify: ______________________________________");
      page.Advance(page.TH() + 10);
    }
    page.Advance(page.TH() + 10);
  }
}

}  // namespace

std::string SurveyReportTitle(const TSurvey& survey) {
  return "Quorvant Report - " + survey.Name();
}

void PrintSurveyReport(TSurvey& survey, PageCanvas& canvas) {
  const QuestionListing listing = RebuildQuestionList(survey);
  ReportPage page(canvas);
  page.Begin(SurveyReportTitle(survey));
  for (int i = 0; i < survey.ItemCount(); ++i) {
    PrintItem(page, survey, i, listing.lines[static_cast<size_t>(i)].line);
    // No break after the last item, which would end on an empty page.
    if (i + 1 < survey.ItemCount()) page.BreakTest();
  }
}

}  // namespace quorvant
