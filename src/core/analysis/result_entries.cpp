#include "core/analysis/result_entries.h"

#include <memory>

#include "core/analysis/numeric_groups.h"
#include "core/analysis/results.h"
#include "core/shell/text_helpers.h"
#include "core/survey/question.h"

namespace quorvant {

void BuildResultEntries(const std::vector<TQuestion>& items, TResultsList& list) {
  for (const TQuestion& q : items) {
    if (q.Style == kStyleNumeric) {
      auto numeric = std::make_unique<TNumericResults>(q.ID);
      numeric->Groups = MakeNumericGroups(q.ID, q.MinValue, q.MaxValue, q.StepValue);
      list.Add(std::move(numeric));
    } else if (IsChoiceStyle(q.Style)) {
      const std::vector<std::string> lines = q.OptionLines();
      for (size_t j = 0; j < lines.size(); ++j) {
        list.Add(
            std::make_unique<TCountResults>(q.ID, static_cast<int>(j), TextAfterTilde(lines[j])));
      }
      if (q.IncludeOther) {
        list.Add(std::make_unique<TCountResults>(q.ID, static_cast<int>(lines.size()), "Other"));
      }
    }
  }
}

}  // namespace quorvant
