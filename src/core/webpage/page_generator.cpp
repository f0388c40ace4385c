#include "core/webpage/page_generator.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "core/shell/atomic_file.h"
#include "core/shell/date_time.h"
#include "core/shell/system_helpers.h"
#include "core/shell/text_helpers.h"
#include "core/shell/vendor.h"
#include "core/survey/survey.h"
#include "core/webpage/answer_checks.h"
#include "core/webpage/html_escape.h"
#include "core/webpage/marker_replacement.h"
#include "core/webpage/question_html.h"

namespace quorvant {

const char kPageNotGeneratedMessage[] =
    "The HTML file could not be generated.  Please verify that you have sufficient disk space "
    "and that the display template you have specified is correct.";

std::string PageNotGeneratedMessage(const std::string& output_path) {
  const std::string folder = std::filesystem::path(output_path).parent_path().string();
  if (folder.empty() || DirectoryExists(folder)) return kPageNotGeneratedMessage;
  return "The HTML file could not be generated.  The folder " + folder + " does not exist.";
}

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

// Every line of the text ended by CR LF, whatever break it had (CR, LF or
// CR LF); a last line without a break gets one.
std::string WithCrLfLines(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32 + 2);
  size_t start = 0;
  size_t cr = text.find('\r'), lf = text.find('\n');
  while (start < text.size()) {
    if (cr < start) cr = text.find('\r', start);
    if (lf < start) lf = text.find('\n', start);
    const size_t brk = std::min(cr, lf);
    out.append(text.substr(start, brk - start));
    out += kCrLf;
    if (brk == std::string_view::npos) break;
    start = brk + (brk == cr && lf == brk + 1 ? 2 : 1);
  }
  return out;
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
  return html + AnswerCheckScript(survey);
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
std::string SubstituteMarkers(const std::string& page, const TSurvey& survey) {
  const MarkerStep steps[] = {
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
  return ReplaceMarkersInOrder(page, steps);
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
  const std::optional<std::string> template_text = ReadWholeFile(template_path);
  if (!template_text) {
    survey.SetHTMLStatus("HTML file failed to generate");
    return false;
  }
  std::string page = "<!-- Created with Quorvant " + FileVersionText() + "-->" + kCrLf;
  page += WithCrLfLines(*template_text);

  SetSwitches(survey, page);
  NumberQuestions(survey);
  page = SubstituteMarkers(page, survey);

  if (!WriteFileAtomically(output_path, WithCrLfLines(page), WriteDurability::kDurable,
                           survey.env())) {
    survey.SetHTMLStatus("HTML file failed to generate");
    return false;
  }
  const TDateTime now = survey.env().Now();
  survey.SetHTMLStatus("HTML file generated at " + DateTimeToText(now).value_or(std::string()));
  survey.SetHTMLFileName(output_path);
  survey.SetHTMLLastUpdate(now);
  return true;
}

bool GeneratePublishedPage(TSurvey& survey, const std::string& data_dir,
                           const std::string& output_path) {
  if (!GeneratePage(survey, data_dir, output_path)) return false;
  survey.AddHistory(survey.HTMLStatus());
  return true;
}

}  // namespace quorvant
