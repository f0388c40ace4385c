#include <cstdio>

#include "cli/commands.h"
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

}  // namespace quorvant::cli
