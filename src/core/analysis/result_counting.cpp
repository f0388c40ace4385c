#include "core/analysis/result_counting.h"

#include "core/analysis/result_counter.h"
#include "core/analysis/result_entries.h"
#include "core/analysis/results.h"
#include "core/env/table_error.h"
#include "core/responses/response_table.h"
#include "core/shell/prompts.h"
#include "core/survey/survey.h"

namespace quorvant {
namespace {

// Sets the query to the filter; false, leaving no query, when the table
// cannot evaluate it (the error has been shown).
bool ApplyFilter(Table& table, const std::string& filter, Prompts& prompts) {
  try {
    table.SetQuery(filter);
    return true;
  } catch (const ETableError& e) {
    if (e.code() != ETableError::Code::kExpression) throw;
    prompts.ShowError("The filter you defined cannot be applied to the responses: " +
                      std::string(e.what()));
    table.SetQuery("");
    return false;
  }
}

}  // namespace

bool ComputeResults(TSurvey& survey, TResponseTable& responses, Prompts& prompts) {
  TResultsList& results = survey.Results();
  results.Clear();
  if (!responses.IsOpen()) return true;
  BuildResultEntries(survey.Items(), results);
  Table& table = responses.table();
  try {
    ResultCounter counter(survey.Items(), table.Fields(), results);
    const std::string filter = survey.ActiveFilter().FilterExpression();
    const bool applied = ApplyFilter(table, filter, prompts);
    bool set_aside = !applied && !filter.empty();
    // Nothing was counted when no record passed, so the second pass starts
    // from the same zeros.
    uint32_t counted = table.ScanQuery(counter);
    if (counted == 0 && applied && !filter.empty()) {
      prompts.ShowWarning(kFilterEliminatesAll);
      table.SetQuery("");
      counted = table.ScanQuery(counter);
      set_aside = true;
    }
    results.SetRecordsCounted(counted);
    counter.StoreAnswered(results);
    results.SetFilterSetAside(set_aside);
  } catch (const ETableError& e) {
    results.Clear();
    prompts.ShowError(e.what());
    return false;
  }
  return true;
}

std::string CountedFilterExpression(const TSurvey& survey) {
  if (survey.Results().FilterSetAside()) return "";
  return survey.ActiveFilter().FilterExpression();
}

bool OpenResponsesAndCompute(TSurvey& survey, TResponseTable& table, Prompts& prompts) {
  if (!OpenResponsesOfLoadedSurvey(survey, table)) return false;
  ComputeResults(survey, table, prompts);
  return true;
}

}  // namespace quorvant
