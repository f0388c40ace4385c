// The 30-question survey the benchmarks measure with.
#pragma once

#include <string>

#include "core/survey/comma_text.h"
#include "core/survey/survey.h"

namespace quorvant::bench {

// 30 questions: 12 single choice, 3 single choice with Other, 5 multiple
// choice of 4 options, 4 numeric, 4 short texts and 2 comments.
inline void AddQuestions(TSurvey& s) {
  const std::string four = JoinCommaText({"a", "b", "c", "d"});
  for (int i = 0; i < 12; ++i) s.AddItem("single", kStyleSingleChoice, 0, 0, 0, false, 0, four);
  for (int i = 0; i < 3; ++i) s.AddItem("other", kStyleSingleChoice, 0, 0, 0, true, 0, four);
  for (int i = 0; i < 5; ++i) s.AddItem("multi", kStyleMultipleChoice, 0, 0, 0, false, 0, four);
  for (int i = 0; i < 4; ++i) s.AddItem("number", kStyleNumeric, 0, 100, 0, false, 0, "");
  for (int i = 0; i < 4; ++i) s.AddItem("text", kStyleText, 0, 0, 0, false, 50, "");
  for (int i = 0; i < 2; ++i) s.AddItem("comment", kStyleText, 0, 0, 0, false, -1, "");
}

}  // namespace quorvant::bench
