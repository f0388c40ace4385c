// The printed survey questionnaire and the printed analysis, on a printer
// or into a PDF file: one code path for the windows and quorvant-cli.
#pragma once

#include <QString>
#include <functional>

#include "app/analysis/chart_settings.h"

class QPrinter;

namespace quorvant {
struct CrossTablePrint;
class Table;
class TSurvey;
}  // namespace quorvant

namespace quorvant::app {

// Where a report goes: the printer as set up (copies, paper, output file),
// or, without one, a PDF file on A4.
struct ReportTarget {
  QPrinter* printer = nullptr;
  QString pdf_path;
};

// False when the printer cannot be started or the file not written.
bool PrintSurvey(const ReportTarget& target, TSurvey& survey);

// The analysis of every question (item_index -1) or of the item at
// item_index alone, from the results counted into the survey and the
// records of table (null: no typed answers). Each question's chart is drawn
// as the Analysis page draws it, on background. `shown` hears each item as
// the report reaches it, so that a window can follow. The whole analysis
// ends with `cross` when given.
bool PrintAnalysis(const ReportTarget& target, TSurvey& survey, Table* table,
                   const ChartBackground& background, int item_index,
                   const std::function<void(int)>& shown = {},
                   const CrossTablePrint* cross = nullptr);

}  // namespace quorvant::app
