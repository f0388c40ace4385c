#include "core/webpage/page_preview.h"

#include "core/survey/command_states.h"
#include "core/survey/survey.h"
#include "core/webpage/page_generator.h"

namespace quorvant {

bool GeneratePreviewPage(TSurvey& survey, const std::string& data_dir,
                         const std::string& output_path) {
  const bool never_generated = !IsPotentiallyPublished(survey);
  const bool written = GeneratePage(survey, data_dir, output_path);
  if (never_generated) survey.SetHTMLStatus("HTML file not generated");
  return written;
}

bool GeneratePreviewPageWith(TSurvey& survey, const std::string& template_name,
                             const std::string& data_dir, const std::string& output_path) {
  const std::string own = survey.DisplayTemplate();
  survey.SetDisplayTemplate(template_name);
  const bool written = GeneratePreviewPage(survey, data_dir, output_path);
  survey.SetDisplayTemplate(own);
  return written;
}

}  // namespace quorvant
