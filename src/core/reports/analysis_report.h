// The printed analysis: an index of the survey's items with their style
// tags, then one page per question with its title, the active filter, its
// chart and the typed answers (Other texts, or a Text question's answers)
// of the records the analysis filter leaves, each wrapped to the page.
// When the last compute set the filter aside (no record met it), the
// answers are those of every record and the filter line says so.
#pragma once

#include <functional>
#include <string>

namespace quorvant {

struct CrossTablePrint;
class PageCanvas;
class Table;
class TSurvey;

struct AnalysisReport {
  TSurvey& survey;
  // The survey's response table; null when none is open (no answers are
  // printed then).
  Table* table = nullptr;
  // Makes the item at this position the chosen one, so that the canvas's
  // DrawChart draws its chart. May be empty when the canvas draws none.
  std::function<void(int item_index)> show_question;
  // The cross table the whole report ends with, on a page of its own; null
  // for none.
  const CrossTablePrint* cross_table = nullptr;
};

// "Quorvant Analysis Report - " + the survey's name, and for one question
// ", Question #" + its 0-based item position (headers counted).
std::string AnalysisReportTitle(const TSurvey& survey, int item_index = -1);

// The whole report: the index, a new page, then every question, and the
// cross table when there is one.
void PrintAnalysisReport(const AnalysisReport& report, PageCanvas& canvas);
// The analysis of the item at item_index alone, titled with its position.
void PrintQuestionAnalysis(const AnalysisReport& report, int item_index, PageCanvas& canvas);

// "Active Filter: " and the filter's descriptions joined by " and ", with
// kFilterSetAside after them when the last compute set the filter aside;
// "" without a filter.
std::string ActiveFilterLine(const TSurvey& survey);

// "  [Single Choice]" and the other styles' tags of the question index.
std::string StyleTag(int style);

}  // namespace quorvant
