// Response templates: named, reusable option lists kept as small profile
// files (".qvt") in the data directory, with the title under
// "Details"/"Title" and the options under "Values" as keys "1", "2", ...
#pragma once

#include <string>
#include <vector>

#include "core/env/env.h"

namespace quorvant {

struct TResponseTemplate {
  std::string title;                // "Unknown" when the file has none
  std::vector<std::string> values;  // in the order the keys stand in the file
};

// Reads the template at path. A missing or unreadable file gives the title
// "Unknown" and no values.
TResponseTemplate ReadResponseTemplate(const std::string& path);

// Writes the title and the values as keys "1" to "n", replacing the whole
// "Values" section so no option of an older version survives. Throws
// EProfileWriteError ("Unable to write to " + path) on failure. The file is
// written through env.
void WriteResponseTemplate(const std::string& path, const TResponseTemplate& response_template,
                           Env& env = DefaultEnv());

// "rtemp" + i + ".qvt" for the smallest i from 0 whose file does not exist in
// data_dir (which ends in "/"); the bare file name.
std::string FreeResponseTemplateName(const std::string& data_dir);

// Writes "yesno.qvt" and "agree.qvt" into data_dir when they are missing; an
// existing file is never touched. Failures are silent: the templates are a
// convenience, and the next start tries again.
void CreateDefaultResponseTemplates(const std::string& data_dir);

}  // namespace quorvant
