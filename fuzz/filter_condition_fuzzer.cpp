// Fuzz target: filter conditions typed on the command line. Any text either
// adds exactly one condition, whose expression compiles over the response
// table's fields, or is refused with a message and adds nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/analysis/filter_condition.h"
#include "core/analysis/filter_list.h"
#include "core/responses/response_fields.h"
#include "core/shell/settings_store.h"
#include "core/survey/comma_text.h"
#include "core/survey/question.h"
#include "core/survey/survey.h"
#include "core/tableengine/expression.h"
#include "fuzz_helpers.h"

namespace {

const quorvant::TSurvey& Survey() {
  static quorvant::SettingsStore settings(quorvant::fuzz::ScratchDir() + "/settings.ini");
  static quorvant::TSurvey* survey = [] {
    auto* s = new quorvant::TSurvey(settings);
    s->Clear();
    s->AddItem("Smoke?", quorvant::kStyleSingleChoice, 0, 0, 0, true, 0,
               quorvant::JoinCommaText({"Yes", "No"}));
    s->AddItem("Which?", quorvant::kStyleMultipleChoice, 0, 0, 0, false, 0,
               quorvant::JoinCommaText({"A", "B", "C"}));
    s->AddItem("Section", quorvant::kStyleHeader, 0, 0, 0, false, 0, "");
    s->AddItem("How many?", quorvant::kStyleNumeric, 1, 10, 0, false, 0, "");
    s->AddItem("Why?", quorvant::kStyleText, 0, 0, 0, false, 40, "");
    s->AddItem("Rate", quorvant::kStyleSlidingScale, 1, 5, 1, false, 0,
               quorvant::JoinCommaText({"Low", "High"}));
    s->AddItem("Pick", quorvant::kStylePulldown, 0, 0, 0, false, 0,
               quorvant::JoinCommaText({"X", "Y"}));
    return s;
  }();
  return *survey;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view condition(reinterpret_cast<const char*>(data), size);
  quorvant::TFilterList filter;
  const std::string error = quorvant::AddFilterCondition(Survey(), condition, filter);
  if (!error.empty()) {
    if (filter.Count() != 0) __builtin_trap();
    return 0;
  }
  if (filter.Count() != 1 || filter.Expressions()[0].empty() || filter.Descriptions()[0].empty()) {
    __builtin_trap();
  }
  // Throws, and so fails the run, when the expression does not compile.
  static const auto fields = quorvant::ResponseTableFields(Survey());
  quorvant::Expression::Compile(filter.FilterExpression(), fields);
  return 0;
}
