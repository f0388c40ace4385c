#include "core/analysis/result_entries.h"

#include <memory>

#include "core/analysis/numeric_groups.h"
#include "core/analysis/results.h"
#include "core/shell/text_helpers.h"
#include "core/survey/question.h"

namespace quorvant {

std::vector<std::string> OptionLabels(const TQuestion& question) {
  std::vector<std::string> labels;
  for (const std::string& line : question.OptionLines()) labels.push_back(TextAfterTilde(line));
  if (question.IncludeOther) labels.push_back("Other");
  return labels;
}

void BuildResultEntries(const std::vector<TQuestion>& items, TResultsList& list) {
  for (const TQuestion& q : items) {
    if (q.Style == kStyleNumeric) {
      auto numeric = std::make_unique<TNumericResults>(q.ID);
      numeric->Groups = MakeNumericGroups(q.ID, q.MinValue, q.MaxValue, q.StepValue);
      list.Add(std::move(numeric));
    } else if (IsChoiceStyle(q.Style)) {
      const std::vector<std::string> labels = OptionLabels(q);
      for (size_t j = 0; j < labels.size(); ++j) {
        list.Add(std::make_unique<TCountResults>(q.ID, static_cast<int>(j), labels[j]));
      }
    }
  }
}

}  // namespace quorvant
