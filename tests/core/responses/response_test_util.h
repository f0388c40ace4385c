// Surveys for the response tests.
#pragma once

#include <string>
#include <vector>

#include "core/survey/comma_text.h"
#include "core/survey/survey.h"

namespace quorvant::testing {

// Adds an item with these option lines; returns its ID.
inline int AddQuestion(TSurvey& s, int style, const std::string& text,
                       const std::vector<std::string>& options = {}, bool other = false,
                       int length = 0) {
  const int index = s.AddItem(text, style, 0, 10, 1, other, length, JoinCommaText(options));
  return s.Item(index).ID;
}

}  // namespace quorvant::testing
