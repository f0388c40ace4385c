// Survey pages made for a look in the browser rather than for publishing.
//
// A preview records its generation in the survey as every generation does
// (status, file name and time), except that a survey whose page was never
// generated keeps "HTML file not generated": a preview is not a publication,
// and the commands that depend on a published survey must stay as they were.
//
// Thread-safety: none; the functions write into the survey they are given.
#pragma once

#include <string>

namespace quorvant {

class TSurvey;

// GeneratePage() into output_path, then the rule above. Returns
// GeneratePage()'s result.
bool GeneratePreviewPage(TSurvey& survey, const std::string& data_dir,
                         const std::string& output_path);

// The same with the display template `template_name` in place of the
// survey's own, which is set back afterwards.
bool GeneratePreviewPageWith(TSurvey& survey, const std::string& template_name,
                             const std::string& data_dir, const std::string& output_path);

}  // namespace quorvant
