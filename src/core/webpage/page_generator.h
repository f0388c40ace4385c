// Page assembly: the survey page made from a display template.
//
// A display template (".qvg" in the data directory) is an HTML file with
// markers in HTML comments, matched exactly, letter case included:
//   switches  <!--QVXINCLUDEGOTOS--> <!--QVXBOLDQUESTIONS--> <!--QVXQSTYLE2-->
//   texts     <!--QVXTITLE--> <!--QVXINTRO--> <!--QVXCLOSE--> <!--QVXQUESTIONS-->
//             <!--QVXSURVEYFILE--> <!--QVXRESULTURL--> <!--QVXFORMACTION-->
//             <!--QVXEMAILADDRESS--> <!--QVXACCOUNTID--> <!--NOTICE-->
// and "</BODY>" (upper case), before which the credit line goes. The texts
// are replaced one marker after the other over the whole page, in the order
// above, so a marker inside a text substituted earlier is replaced as well;
// a text that holds its own marker is inserted once, never re-expanded.
//
// Author texts go into the page unescaped. The page is written with a CR LF
// after every line, replacing the output file atomically.
//
// Thread-safety: none; the generator writes into the survey it is given.
#pragma once

#include <string>

namespace quorvant {

class TSurvey;

// The page that stands in for the survey page when the template is missing.
std::string MissingTemplatePage(const std::string& template_path);

// Writes the survey page of `survey` to output_path from the display template
// data_dir + survey.DisplayTemplate() (a "/" is put between them when
// data_dir lacks one).
//
// Sets the survey's IncludeGotos, BoldQuestions and QStyle2 from the template
// (a survey with skip groups always gets go-to links and never the compact
// layout) and every question's DisplayNumber. Headers keep their
// DisplayNumber and heads their GroupSize, both from RebuildQuestionList().
//
// Returns true when the page was written from the template; then HTMLStatus
// is "HTML file generated at " + now, HTMLFileName is output_path and
// HTMLLastUpdate is now. When the template is missing, MissingTemplatePage()
// is written instead (best effort), the status stays, and the result is
// false. When the template cannot be read or the page cannot be written,
// HTMLStatus becomes "HTML file failed to generate" and the result is false.
// Shows no message.
bool GeneratePage(TSurvey& survey, const std::string& data_dir, const std::string& output_path);

// Publishing's "Generate Now": GeneratePage(), and when it succeeds the new
// HTMLStatus added to the survey's publication history. The same result.
bool GeneratePublishedPage(TSurvey& survey, const std::string& data_dir,
                           const std::string& output_path);

// The message callers show when GeneratePage() returns false.
extern const char kPageNotGeneratedMessage[];
// The same for a page meant for output_path: when the folder named there
// does not exist, the message says so instead of pointing at the disk space
// and the display template.
std::string PageNotGeneratedMessage(const std::string& output_path);

}  // namespace quorvant
