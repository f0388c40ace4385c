#include "core/responses/field_mapping.h"

#include "core/responses/response_fields.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"

namespace quorvant {
namespace {

constexpr char kBreak[] = "\r\n";
const std::string kQuote = "\"";

class Lines {
 public:
  Lines& operator<<(const std::string& line) {
    text_ += line;
    text_ += kBreak;
    return *this;
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

std::string Double() { return RepeatText("=", 70); }

void FieldLines(Lines& out, const std::string& name, const std::string& type,
                const std::string& length) {
  out << "Field Name:   " + name << "Field Type:   " + type;
  if (!length.empty()) out << "Field Length: " + length;
}

void OtherBlock(Lines& out, const std::string& name) {
  out << ""
      << "--[ Other Response ]" + RepeatText("-", 50);
  FieldLines(out, name + "OT", "Character", "50");
  out << "Responses:    Text description of " + kQuote + "Other" + kQuote;
}

void SingleSelect(Lines& out, const TQuestion& q, const std::string& name) {
  out << "Style:        Single Select";
  FieldLines(out, name, "Character", "");
  const std::vector<std::string> options = q.OptionLines();
  if (options.empty()) out << "Responses:    " + kQuote + "Error - No responses found!";
  for (size_t k = 0; k < options.size(); ++k) {
    out << (k == 0 ? "Responses:    " : std::string(14, ' ')) + kQuote + std::to_string(k) +
               kQuote + " = " + options[k];
  }
  if (q.IncludeOther) OtherBlock(out, name);
}

void MultipleSelect(Lines& out, const TQuestion& q, const std::string& name) {
  out << "Style:        Multiple Select"
      << ""
      << "Field Name    Values    Response Option"
      << "------------  --------  " + RepeatText("-", 45);
  const std::vector<std::string> options = q.OptionLines();
  for (size_t k = 0; k < options.size(); ++k) {
    out << FitToWidth(name + "_" + std::to_string(k), 14) + "Y/N" + std::string(7, ' ') +
               options[k];
  }
  if (!q.IncludeOther) return;
  out << ""
      << "--[ Other Response ]" + RepeatText("-", 50);
  FieldLines(out, name, "Character", "1");
  out << "Responses:    Y/N (User Specified Other)";
  FieldLines(out, name + "OT", "Character", "50");
  out << "Responses:    Text description of " + kQuote + "Other" + kQuote;
}

}  // namespace

std::string QuestionMapping(const TQuestion& q) {
  if (q.IsHeader() || q.Style >= 8) return {};
  Lines out;
  out << Double() << "Question:     " + q.Text;
  const std::string name = ItemFieldName(q.ID);
  switch (q.Style) {
    case kStyleSingleChoice:
    case kStyleSlidingScale:
    case kStylePulldown:
      SingleSelect(out, q, name);
      break;
    case kStyleMultipleChoice:
      MultipleSelect(out, q, name);
      break;
    case kStyleText:
      if (q.LengthOfResponse == -1) {
        out << "Style:        Comment (verbose)";
        FieldLines(out, name, "Memo", "");
      } else {
        out << "Style:        Comment (limited)";
        FieldLines(out, name, "Character", std::to_string(q.LengthOfResponse));
      }
      break;
    case kStyleNumeric:
      out << "Style:        Numeric";
      FieldLines(out, name, "Numeric", "5");
      break;
    default:
      return out.text();
  }
  out << "";
  return out.text();
}

std::string FieldMappingText(const TSurvey& survey, const std::string& export_path) {
  const size_t slash = export_path.find_last_of('/');
  const std::string file_name =
      slash == std::string::npos ? export_path : export_path.substr(slash + 1);
  Lines out;
  out << "Field Mapping for survey " + survey.Name() + "(" + file_name + ")" << RepeatText("*", 70)
      << "";
  const std::vector<std::string>& descriptions = FixedResponseFieldDescriptions();
  const std::vector<FieldDef>& fixed = FixedResponseFields();
  for (size_t i = 0; i < fixed.size(); ++i) {
    out << Double();
    FieldLines(out, fixed[i].name, "Character", std::to_string(fixed[i].width));
    out << "Description:  " + descriptions[i] << "";
  }
  std::string text = out.text();
  for (const TQuestion& q : survey.Items()) {
    if (q.IsHeader()) continue;
    text += QuestionMapping(q);
    text += kBreak;
  }
  return text;
}

}  // namespace quorvant
