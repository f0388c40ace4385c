#include "core/webpage/page_generator.h"

#include <optional>

#include "core/shell/atomic_file.h"
#include "core/shell/date_time.h"
#include "core/shell/system_helpers.h"
#include "core/shell/text_helpers.h"
#include "core/shell/vendor.h"
#include "core/survey/survey.h"
#include "core/webpage/html_escape.h"
#include "core/webpage/question_html.h"

namespace quorvant {

const char kPageNotGeneratedMessage[] =
    "The HTML file could not be generated.  Please verify that you have sufficient disk space "
    "and that the display template you have specified is correct.";

namespace {

constexpr char kCrLf[] = "\r\n";

constexpr char kIncludeGotos[] = "<!--QVXINCLUDEGOTOS-->";
constexpr char kBoldQuestions[] = "<!--QVXBOLDQUESTIONS-->";
constexpr char kQStyle2[] = "<!--QVXQSTYLE2-->";
constexpr char kNotice[] = "<!--NOTICE-->";
constexpr char kBodyEnd[] = "</BODY>";

bool Contains(const std::string& text, const char* marker) {
  return text.find(marker) != std::string::npos;
}

// The template read as lines, each ended by CR LF; nothing when it cannot be
// read.
std::optional<std::string> ReadTemplate(const std::string& path) {
  const std::optional<std::string> raw = ReadWholeFile(path);
  if (!raw) return std::nullopt;
  std::string text;
  text.reserve(raw->size() + raw->size() / 16);
  for (const std::string& line : SplitLines(*raw)) {
    text += line;
    text += kCrLf;
  }
  return text;
}

// Sets the layout switches from the page text and the survey's skip groups.
void SetSwitches(TSurvey& survey, const std::string& page) {
  survey.IncludeGotos = Contains(page, kIncludeGotos);
  survey.BoldQuestions = Contains(page, kBoldQuestions);
  survey.QStyle2 = Contains(page, kQStyle2);
  for (const TQuestion& item : survey.Items()) {
    if (item.SkipGroupOfQuestion != -1 || item.SkipGroupOfResponse != -1) {
      // Skip links must always be written, and never in the compact layout.
      survey.QStyle2 = false;
      survey.IncludeGotos = true;
      return;
    }
  }
}

// Questions outside skip groups take 1, 2, 3...; members their head's number
// and a letter. Headers keep theirs.
void NumberQuestions(TSurvey& survey) {
  int q = 0, s = 0;
  for (int i = 0; i < survey.ItemCount(); ++i) {
    TQuestion& item = survey.Item(i);
    if (item.IsHeader()) continue;
    if (item.SkipGroupOfQuestion == -1) {
      ++q;
      s = 0;
      item.DisplayNumber = std::to_string(q);
    } else {
      ++s;
      item.DisplayNumber = std::to_string(q) + LetterFor(s);
    }
  }
}

std::string RenderQuestions(const TSurvey& survey) {
  std::string html;
  int k = 0;
  for (int i = 0; i < survey.ItemCount(); ++i) {
    if (!survey.Item(i).IsHeader()) ++k;
    html += RenderQuestionHtml(survey, i, k);
  }
  return html;
}

std::string CreditLine() {
  return "<FONT FACE=\"Verdana,Arial,Helvetica\" SIZE=-1><SMALL>This survey was produced with "
         "<A HREF=\"" +
         std::string(vendor::kWebSite) + "\">Quorvant</A>.</SMALL></FONT>" + kCrLf + kBodyEnd;
}

std::string EmailAddressBox(const TSurvey& survey) {
  if (!survey.Only1Email()) return " ";
  return "Please enter your email address: <INPUT TYPE=\"TEXT\" NAME=\"QVXEMAILADDRESS\" "
         "SIZE=\"40\" MAXLENGTH=\"250\"><p>";
}

// Every marker replaced by its text, in the order that decides what a text
// holding a marker turns into.
void SubstituteMarkers(std::string& page, const TSurvey& survey) {
  const std::pair<const char*, std::string> texts[] = {
      {"<!--QVXTITLE-->", survey.Name()},
      {"<!--QVXINTRO-->", survey.Instructions()},
      {"<!--QVXCLOSE-->", survey.FinalComments()},
      {"<!--QVXQUESTIONS-->", RenderQuestions(survey)},
      {"<!--QVXSURVEYFILE-->", survey.UniqueName()},
      {"<!--QVXRESULTURL-->", survey.ResultURL()},
      {"<!--QVXFORMACTION-->", survey.EffectiveServerURL()},
      {kBodyEnd, kNotice},
      {kNotice, CreditLine()},
      {"<!--QVXEMAILADDRESS-->", EmailAddressBox(survey)},
      {"<!--QVXACCOUNTID-->", survey.ProcessResponses() != 0 ? survey.AccountID() : "NA"},
  };
  for (const auto& [marker, text] : texts) {
    if (Contains(page, marker)) page = ReplaceAll(page, marker, text);
  }
}

// Every line of the page ended by CR LF, whatever break it had.
std::string WithCrLfLines(const std::string& page) {
  std::string out;
  out.reserve(page.size() + page.size() / 32);
  for (const std::string& line : SplitLines(page)) {
    out += line;
    out += kCrLf;
  }
  return out;
}

}  // namespace

std::string MissingTemplatePage(const std::string& template_path) {
  return "<html><body>Error! The display template file named " + EscapeHtml(template_path) +
         " is missing.</body></html>";
}

bool GeneratePage(TSurvey& survey, const std::string& data_dir, const std::string& output_path) {
  std::string template_path = data_dir;
  if (!template_path.empty() && template_path.back() != '/') template_path += '/';
  template_path += survey.DisplayTemplate();
  if (!FileExists(template_path)) {
    WriteFileAtomically(output_path, MissingTemplatePage(template_path) + kCrLf);
    return false;
  }
  const std::optional<std::string> template_text = ReadTemplate(template_path);
  if (!template_text) {
    survey.SetHTMLStatus("HTML file failed to generate");
    return false;
  }
  std::string page = "<!-- Created with Quorvant " + FileVersionText() + "-->" + kCrLf;
  page += *template_text;

  SetSwitches(survey, page);
  NumberQuestions(survey);
  SubstituteMarkers(page, survey);

  if (!WriteFileAtomically(output_path, WithCrLfLines(page))) {
    survey.SetHTMLStatus("HTML file failed to generate");
    return false;
  }
  const TDateTime now = Now();
  survey.SetHTMLStatus("HTML file generated at " + DateTimeToText(now).value_or(std::string()));
  survey.SetHTMLFileName(output_path);
  survey.SetHTMLLastUpdate(now);
  return true;
}

}  // namespace quorvant
