#include "core/survey/command_states.h"

#include "core/survey/survey.h"

namespace quorvant {

bool IsPotentiallyPublished(const TSurvey& survey) {
  return survey.HTMLStatus() != "HTML file not generated";
}

CommandStates ComputeCommandStates(const TSurvey& survey, const WindowState& state) {
  const int n = static_cast<int>(state.selected.size());
  const int c = survey.ItemCount();
  const int r = survey.SRResponseCount();
  CommandStates s;
  s.edit_item = n == 1;
  s.cut_copy = n > 0;
  s.paste = state.clipboard_count > 0;
  s.delete_items = n > 0;
  s.add_to_library = n > 0 && state.has_library;
  s.move_up = n > 0 && state.selected.front() != 0;
  s.move_down = n > 0 && state.selected.back() != c - 1;
  s.skip_group = SkipGroupOfferFor(survey, state.selected);
  s.publish = c > 0;
  s.analysis_tools = IsPotentiallyPublished(survey);
  s.export_responses = r > 0 && state.response_table_open;
  s.reset_responses = r > 0;
  s.save = survey.Modified();
  s.print = state.analysis_page ? r > 0 : c > 0;
  return s;
}

}  // namespace quorvant
