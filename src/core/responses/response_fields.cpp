#include "core/responses/response_fields.h"

#include "core/survey/survey.h"

namespace quorvant {

std::string ItemFieldName(int id) { return "QVX" + std::to_string(id); }

const std::vector<FieldDef>& FixedResponseFields() {
  static const std::vector<FieldDef> kFixed = {
      {"REMOTEIP", 'C', 25}, {"EMAIL", 'C', 250}, {"AGENT", 'C', 250}, {"DATERCVD", 'C', 14}};
  return kFixed;
}

const std::vector<std::string>& FixedResponseFieldDescriptions() {
  static const std::vector<std::string> kDescriptions = {
      "Remote IP Address of respondent",
      "Email Address of respondent (if identified in survey properties)",
      "Web Browser type (signature) of respondent",
      "Year, Month, Day, Hour, Minute, Second response was received",
  };
  return kDescriptions;
}

std::vector<FieldDef> ResponseTableFields(const TSurvey& survey) {
  std::vector<FieldDef> fields = FixedResponseFields();
  for (const TQuestion& q : survey.Items()) {
    const std::string name = ItemFieldName(q.ID);
    switch (q.Style) {
      case kStyleSingleChoice:
      case kStyleSlidingScale:
      case kStylePulldown:
        fields.push_back({name, 'C', 3});
        if (q.IncludeOther) fields.push_back({name + "OT", 'C', 50});
        break;
      case kStyleMultipleChoice: {
        const size_t options = q.OptionLines().size();
        for (size_t j = 0; j < options; ++j) {
          fields.push_back({name + "_" + std::to_string(j), 'C', 1});
        }
        if (q.IncludeOther) {
          fields.push_back({name, 'C', 1});
          fields.push_back({name + "OT", 'C', 50});
        }
        break;
      }
      case kStyleText:
        if (q.LengthOfResponse == -1) {
          fields.push_back({name, 'M', 10});
        } else {
          fields.push_back({name, 'C', q.LengthOfResponse});
        }
        break;
      case kStyleNumeric:
        fields.push_back({name, 'N', 5});
        break;
      default:
        break;
    }
  }
  return fields;
}

std::string ResponseTablePath(const TSurvey& survey) {
  const std::string& file = survey.FileName();
  const size_t slash = file.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : file.substr(0, slash + 1);
  return folder + survey.UniqueName() + ".dbf";
}

}  // namespace quorvant
