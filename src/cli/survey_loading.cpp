// Loading a survey and finding its items for the commands, with the
// message on stderr when that fails.
#include <cstdio>

#include "cli/commands.h"
#include "core/survey/item_lookup.h"
#include "core/survey/survey.h"
#include "core/survey/survey_exception.h"

namespace quorvant::cli {

bool LoadSurvey(const std::string& path, TSurvey& survey) {
  try {
    survey.Load(path);
  } catch (const ESurveyException& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return false;
  }
  return true;
}

int SurveyItemOfId(const TSurvey& survey, int id, ItemKinds kinds) {
  const int index = ItemIndexOfId(survey, id);
  if (index >= 0 && (kinds == ItemKinds::kHeadersToo || !survey.Item(index).IsHeader())) {
    return index;
  }
  std::fprintf(stderr, "The survey has no question with the ID %d.\n", id);
  return -1;
}

}  // namespace quorvant::cli
