// Which commands of the main window are enabled, computed from the survey,
// the selection and the window's state. The window applies the result to its
// actions and buttons after every command and every click in the list.
#pragma once

#include <vector>

#include "core/survey/skip_groups.h"

namespace quorvant {

class TSurvey;

struct WindowState {
  std::vector<int> selected;  // selected list lines, increasing
  int clipboard_count = 0;    // items in the clipboard survey
  bool response_table_open = false;
  bool analysis_page = false;  // the "Analysis" page is showing
  bool has_library = false;    // at least one question library exists
};

struct CommandStates {
  bool edit_item = false;
  bool cut_copy = false;
  bool paste = false;
  bool delete_items = false;  // also "Apply &Response Template"
  bool add_to_library = false;
  bool move_up = false;
  bool move_down = false;
  SkipGroupOffer skip_group = SkipGroupOffer::kDisabled;
  bool publish = false;         // also Preview
  bool analysis_tools = false;  // "&Update Now", chart toolbox, export, filter
  bool export_responses = false;
  bool reset_responses = false;  // also "&Clear Results From Server..."
  bool save = false;
  bool print = false;
};

// Once its page has been generated a survey may have been published, and
// its results depend on the items staying as they are.
bool IsPotentiallyPublished(const TSurvey& survey);

CommandStates ComputeCommandStates(const TSurvey& survey, const WindowState& state);

}  // namespace quorvant
