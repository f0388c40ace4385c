// The saved survey the results and chart commands count: a single choice
// question with Other (its text given), a verbose text and a Numeric
// question (20 to 40, step 10), with four records; the table next to it.
#pragma once

#include <string>

#include "core/responses/response_table.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"

namespace quorvant::testing {

inline void MakeCountedSurvey(TSurvey& survey, Prompts& prompts, const std::string& file,
                              const std::string& first_question) {
  survey.SetFileName(file);
  survey.AddItem(first_question, kStyleSingleChoice, 0, 0, 0, true, 0,
                 JoinCommaText({"Y~Yes", "N~No"}));
  survey.AddItem("Why?", kStyleText, 0, 0, 0, false, -1, "");
  survey.AddItem("Age", kStyleNumeric, 10, 40, 20, false, 0, "");
  TResponseTable responses(prompts);
  responses.Create(survey);
  const char* rows[][2] = {{"0", "25"}, {"1", "33"}, {"Oth", "-9999"}, {"0", "41"}};
  for (const auto& row : rows) responses.table().Append({{"QVX1", row[0]}, {"QVX3", row[1]}});
  responses.Close();
  survey.Save();
}

}  // namespace quorvant::testing
