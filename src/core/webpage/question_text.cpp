#include "core/webpage/question_text.h"

#include <algorithm>
#include <cassert>

#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"

namespace quorvant {
namespace {

constexpr char kNl[] = "\r\n";

// A text length read from a damaged file must not make a run of underscores
// gigabytes long; no real answer field comes near this.
constexpr int kMaxUnderscores = 10000;

// The option lines with a mark before each, then the Other line.
void AppendOptions(std::string& out, const TQuestion& item, const char* mark) {
  for (const std::string& option : item.OptionLines()) {
    out += mark;
    out += option;
    out += kNl;
  }
  if (item.IncludeOther) {
    out += kNl;
    out += "Other (Please specify): ";
    out += std::string(40, '_');
    out += kNl;
  }
  out += kNl;
  out += kNl;
}

}  // namespace

std::string RenderQuestionText(const TSurvey& survey, int index) {
  assert(index >= 0 && index < survey.ItemCount());
  const TQuestion& item = survey.Item(index);
  if (item.Style == kStyleHeader) return "---[ " + item.Text + "]---" + kNl + kNl;
  std::string out = item.Text + kNl;
  switch (item.Style) {
    case kStyleMultipleChoice:
      out += "(Select all that apply)";
      out += kNl;
      out += kNl;
      AppendOptions(out, item, "[ ] ");
      break;
    case kStyleText:
      out += "(Type in your response below)";
      out += kNl;
      if (item.LengthOfResponse == -1) {
        out += std::string(kNl) + kNl + kNl;
      } else {
        out += kNl;
        out += std::string(
            static_cast<size_t>(std::clamp(item.LengthOfResponse, 0, kMaxUnderscores)), '_');
      }
      out += kNl;
      out += kNl;
      break;
    case kStyleNumeric:
      out += "(Please enter the value below)";
      out += kNl;
      out += kNl;
      out += "______";
      out += kNl;
      out += kNl;
      break;
    default:
      out += "(Select only one)";
      out += kNl;
      out += kNl;
      AppendOptions(out, item, "( ) ");
      break;
  }
  return out;
}

}  // namespace quorvant
