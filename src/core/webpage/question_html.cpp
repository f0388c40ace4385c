#include "core/webpage/question_html.h"

#include <cassert>
#include <vector>

#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"
#include "core/webpage/answer_checks.h"

namespace quorvant {
namespace {

constexpr char kCrLf[] = "\r\n";
constexpr char kOtherPrompt[] = "Other (Please specify):&nbsp;";
constexpr char kSkipLinkStart[] = "<SMALL>&nbsp;&nbsp;&nbsp;<A HREF=\"#";

// Everything RenderQuestionHtml needs about the item being written.
struct ItemContext {
  const TSurvey& survey;
  const TQuestion& item;
  int index;
  int k;
  std::string id;  // the ID in decimal

  bool IsLast() const { return index == survey.ItemCount() - 1; }
};

// The option lines as the page shows them: each cut before its first "~".
std::vector<std::string> PageOptions(const TQuestion& item) {
  std::vector<std::string> options = item.OptionLines();
  for (std::string& option : options) option = TextBeforeTilde(option);
  return options;
}

void AppendRadio(std::string& out, const ItemContext& c, const std::string& value) {
  out += "<INPUT TYPE=\"RADIO\" NAME=\"qvx";
  out += c.id;
  out += "\" VALUE=\"";
  out += value;
  out += "\"";
  out += RequiredAttribute(c.item);
  out += ">";
}

void AppendOtherTextBox(std::string& out, const std::string& id) {
  out += "<INPUT TYPE=\"TEXT\" NAME=\"qvx";
  out += id;
  out += "Other\" SIZE=40 MAXLENGTH=40>";
}

// The Other choice below a list of options: a radio button or check box with
// the value "Other", then the text box for the typed answer.
void AppendOtherBlock(std::string& out, const ItemContext& c, const char* input_type) {
  out += "<br>\r\n<INPUT TYPE=\"";
  out += input_type;
  out += "\" NAME=\"qvx" + c.id + "\" VALUE=\"Other\"" + RequiredAttribute(c.item) + ">";
  out += kOtherPrompt;
  out += kCrLf;
  AppendOtherTextBox(out, c.id);
  out += kCrLf;
}

// The question's text as the page shows it, with the marker of a required
// question.
void AppendText(std::string& out, const TQuestion& item) {
  out += item.Text;
  out += RequiredMarker(item);
}

void AppendNumberedLine(std::string& out, const TQuestion& item) {
  out += item.DisplayNumber;
  out += ") ";
  AppendText(out, item);
}

void AppendQuestionLine(std::string& out, const ItemContext& c) {
  if (c.survey.BoldQuestions) {
    out += "<B>";
    AppendNumberedLine(out, c.item);
    out += "</B><p>";
  } else if (c.survey.QStyle2) {
    if (c.item.Style == kStyleSlidingScale) return;
    AppendText(out, c.item);
    out += "<p>";
  } else {
    AppendNumberedLine(out, c.item);
    out += "<p>";
  }
  out += kCrLf;
}

void AppendListEnd(std::string& out, const ItemContext& c) {
  out += "</UL><p>\r\n";
  out += QuestionTrailer(c.survey, c.index, c.k);
}

// "If <option> then go to <target>" leading to the anchor before question m.
void AppendSkipLink(std::string& out, int m, const std::string& option, const std::string& target) {
  out += kSkipLinkStart;
  out += "Question" + std::to_string(m) + "\">If ";
  out += option;
  out += " then go to ";
  out += target;
  out += "</A></SMALL><br>";
}

// The ending of option i of a skip-group head.
void AppendHeadOptionEnding(std::string& out, const ItemContext& c, int i,
                            const std::string& option) {
  const TSurvey& s = c.survey;
  if (i == c.item.SkipGroupOfResponse) {
    const int group = c.item.GroupSize;
    // A group size that reaches past the last item (left stale by an edit)
    // is treated like a group that runs to the end.
    if (group < 1 || c.index + group >= s.ItemCount()) {
      out += kSkipLinkStart;
      out += "EndOfSurvey\">Go to End</A></SMALL><br>";
    } else {
      AppendSkipLink(out, c.k + group, option, s.Item(c.index + group).DisplayNumber);
    }
  } else if (!c.IsLast()) {
    AppendSkipLink(out, c.k + 1, option, s.Item(c.index + 1).DisplayNumber);
  } else {
    AppendSkipLink(out, c.k + 1, option, "End");
  }
}

void RenderSingleChoice(std::string& out, const ItemContext& c) {
  out += "<UL>\r\n";
  const std::vector<std::string> options = PageOptions(c.item);
  for (size_t i = 0; i < options.size(); ++i) {
    AppendRadio(out, c, std::to_string(i));
    out += options[i];
    if (c.item.SkipGroupOfResponse == -1) {
      out += "<br>";
    } else {
      AppendHeadOptionEnding(out, c, static_cast<int>(i), options[i]);
    }
  }
  if (c.item.IncludeOther) AppendOtherBlock(out, c, "RADIO");
  AppendListEnd(out, c);
}

void RenderMultipleChoice(std::string& out, const ItemContext& c) {
  out += "<UL>\r\n";
  const std::vector<std::string> options = PageOptions(c.item);
  for (size_t i = 0; i < options.size(); ++i) {
    out += "<INPUT TYPE=\"CHECKBOX\" NAME=\"qvx";
    out += c.id;
    out += "-" + std::to_string(i) + "\" VALUE=\"1\">";
    out += options[i];
    out += "<br>";
  }
  if (c.item.IncludeOther) AppendOtherBlock(out, c, "CHECKBOX");
  AppendListEnd(out, c);
}

void RenderSlidingScale(std::string& out, const ItemContext& c) {
  const bool compact = c.survey.QStyle2;
  if (!compact) {
    out += "<UL>\r\n";
  }
  const std::vector<std::string> options = PageOptions(c.item);
  for (size_t i = 0; i < options.size(); ++i) {
    AppendRadio(out, c, std::to_string(i));
    out += options[i];
    out += "&nbsp;&nbsp;";
  }
  if (!compact) {
    if (c.item.IncludeOther) AppendOtherBlock(out, c, "RADIO");
    AppendListEnd(out, c);
    return;
  }
  // Compact: the scale first, the statement after it on the same line.
  if (c.item.IncludeOther) {
    out += "&nbsp;&nbsp;";
    AppendRadio(out, c, "Other");
    out += kOtherPrompt;
    AppendOtherTextBox(out, c.id);
    out += kCrLf;
  }
  out += "&nbsp;&nbsp;&nbsp;";
  AppendText(out, c.item);
  out += "<br>\r\n";
}

void RenderText(std::string& out, const ItemContext& c) {
  out += "<UL>\r\n";
  const int length = c.item.LengthOfResponse;
  if (length == -1) {
    out += "<TEXTAREA NAME=\"qvx" + c.id + "\" ROWS=4 COLS=40" + RequiredAttribute(c.item) + ">";
    out += kCrLf;
    out += "</TEXTAREA>";
  } else {
    out += "<INPUT TYPE=\"TEXT\" NAME=\"qvx" + c.id +
           "\" SIZE=" + std::to_string(length <= 40 ? length : 40) +
           " MAXLENGTH=" + std::to_string(length) + RequiredAttribute(c.item) + ">";
  }
  out += kCrLf;
  AppendListEnd(out, c);
}

void RenderPulldown(std::string& out, const ItemContext& c) {
  const bool other = c.item.IncludeOther;
  const bool compact = c.survey.QStyle2;
  if (other) {
    AppendQuestionLine(out, c);
    out += "<UL>\r\n";
  } else if (!compact) {
    // The list sits right under the question: no paragraph break.
    if (c.survey.BoldQuestions) out += "<B>";
    AppendNumberedLine(out, c.item);
    if (c.survey.BoldQuestions) out += "</B>";
    out += kCrLf;
  }
  const std::string required = RequiredAttribute(c.item);
  out += "<SELECT NAME=\"qvx" + c.id + "\"" + required + ">";
  out += kCrLf;
  // A required list must start on an empty value, the only kind of first
  // entry the browser takes for "nothing chosen".
  out += required.empty() ? "    <OPTION VALUE=\" \" SELECTED>  \r\n"
                          : "    <OPTION VALUE=\"\" SELECTED>  \r\n";
  const std::vector<std::string> options = PageOptions(c.item);
  for (size_t i = 0; i < options.size(); ++i) {
    out += "    <OPTION VALUE=\"" + std::to_string(i) + "\">";
    out += options[i];
    out += kCrLf;
  }
  if (other) {
    out +=
        "    <OPTION VALUE=\"Other\">Other\r\n</SELECT><p>\r\n"
        "If you selected other please specify:<br>\r\n";
    AppendOtherTextBox(out, c.id);
    out += "\r\n</UL><p>\r\n";
  } else if (compact) {
    out += "</SELECT>&nbsp;&nbsp;&nbsp;";
    AppendText(out, c.item);
    out += "<br>\r\n";
  } else {
    out += "</SELECT>\r\n";
    out += "</UL><p>\r\n";
  }
  if (!compact) out += QuestionTrailer(c.survey, c.index, c.k);
}

// With the survey's answer check on, a number box that takes whole numbers
// of the question's range only; else a plain five-character box.
void RenderNumeric(std::string& out, const ItemContext& c) {
  out += "<UL>\r\n";
  if (c.survey.CheckAnswers()) {
    out += "<INPUT TYPE=\"NUMBER\" NAME=\"qvx" + c.id + "\"";
    // A reversed range would refuse every number; it is left to the usual
    // collection rules instead.
    if (c.item.MinValue <= c.item.MaxValue) {
      out += " MIN=\"" + std::to_string(c.item.MinValue) + "\" MAX=\"" +
             std::to_string(c.item.MaxValue) + "\"";
    }
    out += " STEP=\"1\"";
  } else {
    out += "<INPUT TYPE=\"TEXT\" NAME=\"qvx" + c.id + "\" SIZE=5 MAXLENGTH=5";
  }
  out += RequiredAttribute(c.item) + ">";
  out += kCrLf;
  AppendListEnd(out, c);
}

std::string RenderHeaderHtml(const TSurvey& survey, int index) {
  const std::string& text = survey.Item(index).Text;
  if (!survey.QStyle2) return "<H3>" + text + "</H3><p>" + kCrLf;
  const int before = index > 0 ? survey.Item(index - 1).Style : 0;
  // After a compact one-line question the heading needs a paragraph break.
  const bool after_line = before == kStyleSlidingScale || before == kStylePulldown;
  return (after_line ? "<p><B>" : "<B>") + text + "</B><p>" + kCrLf;
}

}  // namespace

std::string RenderQuestionHtml(const TSurvey& survey, int index, int k) {
  assert(index >= 0 && index < survey.ItemCount());
  const TQuestion& item = survey.Item(index);
  if (item.Style < kStyleSingleChoice || item.Style > kStyleNumeric) {
    return RenderHeaderHtml(survey, index);
  }
  const ItemContext c{survey, item, index, k, std::to_string(item.ID)};
  std::string out;
  out.reserve(512 + item.Text.size() + item.Options.size() * 2);
  if (item.Style != kStylePulldown) AppendQuestionLine(out, c);
  // Indexed by style code minus 1.
  using Renderer = void (*)(std::string&, const ItemContext&);
  static constexpr Renderer kRenderers[] = {RenderSingleChoice, RenderMultipleChoice,
                                            RenderSlidingScale, RenderText,
                                            RenderPulldown,     RenderNumeric};
  kRenderers[item.Style - kStyleSingleChoice](out, c);
  return out;
}

std::string QuestionTrailer(const TSurvey& survey, int index, int k) {
  assert(index >= 0 && index < survey.ItemCount());
  const std::string anchor = "<A NAME=\"Question" + std::to_string(k + 1) + "\"></A>";
  if (!survey.IncludeGotos) return anchor;
  // Room below the question, so that a jump brings the next one to the top.
  static const std::string pad = RepeatText("<p>&nbsp;", 40);
  if (survey.Item(index).SkipGroupOfResponse != -1) return pad + anchor;
  if (index != survey.ItemCount() - 1) {
    return "<SMALL>[ <A HREF=\"#Question" + std::to_string(k + 1) +
           "\">Go to next question</A> ]</SMALL><p>" + pad + anchor;
  }
  return "<SMALL>[ <A HREF=\"#EndOfSurvey\">Go to End</A> ]</SMALL><p>" + pad;
}

}  // namespace quorvant
