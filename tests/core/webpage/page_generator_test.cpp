// Page assembly: template lookup, switches, numbering, marker replacement,
// credit line, line breaks, status fields and failures.
#include "core/webpage/page_generator.h"

#include <gtest/gtest.h>

#include "core/shell/system_helpers.h"
#include "core/shell/text_helpers.h"
#include "core/shell/vendor.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;
using testing::WriteFileOrDie;

const std::string kHeader = "<!-- Created with Quorvant " + FileVersionText() + "-->\r\n";
const std::string kCredit =
    "<FONT FACE=\"Verdana,Arial,Helvetica\" SIZE=-1><SMALL>This survey was produced with <A "
    "HREF=\"" +
    std::string(vendor::kWebSite) + "\">Quorvant</A>.</SMALL></FONT>";

class PageGeneratorTest : public testing::CoreTest {
 protected:
  PageGeneratorTest() { survey_.SetDisplayTemplate("t.qvg"); }

  // Generates the page from the given template text; returns the page.
  std::string Generate(const std::string& template_text) {
    WriteFileOrDie(dir_.File("t.qvg"), template_text);
    survey_.SetModified(false);
    EXPECT_TRUE(GeneratePage(survey_, dir_.path(), out_));
    return ReadFileOrDie(out_);
  }
  // The page without its header comment.
  std::string Body(const std::string& template_text) {
    const std::string page = Generate(template_text);
    EXPECT_TRUE(page.starts_with(kHeader));
    return page.substr(kHeader.size());
  }
  int Add(int style, const std::string& text, const std::string& options = "") {
    return survey_.AddItem(text, style, 1, 10, 0, false, 10, options);
  }

  TSurvey survey_{settings_};
  std::string out_ = dir_.File("page.htm");
};

TEST_F(PageGeneratorTest, OneLineTemplateGivesThreeLines) {
  const std::string page = Generate("<HTML><BODY><!--QVXQUESTIONS--></BODY></HTML>");
  EXPECT_EQ(page, kHeader + "<HTML><BODY>" + kCredit + "\r\n</BODY></HTML>\r\n");
}

TEST_F(PageGeneratorTest, SuccessRecordsTheStatus) {
  survey_.SetHTMLLastUpdate(0);
  Generate("x");
  EXPECT_EQ(survey_.HTMLStatus(), "HTML file generated at 12/03/1998 14:15:02");
  EXPECT_EQ(survey_.HTMLFileName(), out_);
  EXPECT_EQ(survey_.HTMLLastUpdate(), time());
  EXPECT_TRUE(survey_.Modified());
}

TEST_F(PageGeneratorTest, EveryLineEndsInCrLfAndIntroBreaksBecomeLines) {
  survey_.SetInstructions("one\r\ntwo");
  survey_.SetFinalComments("bye");
  EXPECT_EQ(Body("a\nb\r<!--QVXINTRO-->\r\n<!--QVXCLOSE-->"), "a\r\nb\r\none\r\ntwo\r\nbye\r\n");
  EXPECT_EQ(Body("a\n\rb\r\r\nc\n\n"), "a\r\n\r\nb\r\n\r\nc\r\n\r\n");
}

TEST_F(PageGeneratorTest, TextMarkersTakeTheSurveysFields) {
  survey_.SetName("Canteen");
  survey_.SetUniqueName("S981203141502");
  survey_.SetResultURL("http://r.example/");
  survey_.SetServerURL("http://own.example/c");
  survey_.SetAccountID("acct");
  const std::string tmpl =
      "<!--QVXTITLE-->|<!--QVXSURVEYFILE-->|<!--QVXRESULTURL-->|<!--QVXFORMACTION-->|"
      "<!--QVXACCOUNTID-->|<!--QVXEMAILADDRESS-->|";
  EXPECT_EQ(Body(tmpl), "Canteen|S981203141502|http://r.example/|http://own.example/c|NA| |\r\n");
  survey_.SetProcessResponses(1);
  survey_.SetOnly1Email(true);
  EXPECT_EQ(Body(tmpl), "Canteen|S981203141502|http://r.example/|" +
                            std::string(vendor::kCollectionServerURL) +
                            "|acct|Please enter your email address: <INPUT TYPE=\"TEXT\" "
                            "NAME=\"QVXEMAILADDRESS\" SIZE=\"40\" MAXLENGTH=\"250\"><p>|\r\n");
}

TEST_F(PageGeneratorTest, ReplacementOrderDecidesWhatMarkersInTextsBecome) {
  // A marker inside a text is replaced when its own turn comes later, and
  // left as it is when its turn is already over.
  survey_.SetName("T<!--QVXINTRO-->");
  survey_.SetInstructions("I<!--QVXTITLE-->");
  survey_.SetUniqueName("U");
  Add(kStyleHeader, "H<!--QVXSURVEYFILE--><!--QVXACCOUNTID-->");
  EXPECT_EQ(Body("<!--QVXTITLE-->|<!--QVXQUESTIONS-->"),
            "TI<!--QVXTITLE-->|<H3>HUNA</H3><p>\r\n\r\n");
}

TEST_F(PageGeneratorTest, ATextHoldingItsOwnMarkerIsInsertedOnce) {
  survey_.SetName("<!--QVXTITLE-->!");
  survey_.SetFinalComments("<!--QVXCLOSE--><!--QVXCLOSE-->");
  EXPECT_EQ(Body("<!--QVXTITLE--> <!--QVXCLOSE-->"),
            "<!--QVXTITLE-->! <!--QVXCLOSE--><!--QVXCLOSE-->\r\n");
}

TEST_F(PageGeneratorTest, CreditLineOnlyForUpperCaseBodyEndAndNotice) {
  EXPECT_EQ(Body("<body></body>"), "<body></body>\r\n");
  EXPECT_EQ(Body("a<!--NOTICE-->b"), "a" + kCredit + "\r\n</BODY>b\r\n");
  EXPECT_EQ(Body("</BODY></BODY>"), kCredit + "\r\n</BODY>" + kCredit + "\r\n</BODY>\r\n");
}

TEST_F(PageGeneratorTest, SwitchesComeFromTheTemplateAndStayInThePage) {
  Add(kStyleNumeric, "N");
  const std::string body = Body("<!--QVXQSTYLE2--><!--QVXBOLDQUESTIONS-->");
  EXPECT_TRUE(survey_.QStyle2);
  EXPECT_TRUE(survey_.BoldQuestions);
  EXPECT_FALSE(survey_.IncludeGotos);
  EXPECT_EQ(body, "<!--QVXQSTYLE2--><!--QVXBOLDQUESTIONS-->\r\n");
  Body("<!--QVXINCLUDEGOTOS-->");
  EXPECT_TRUE(survey_.IncludeGotos);
  EXPECT_FALSE(survey_.QStyle2);
  EXPECT_FALSE(survey_.BoldQuestions);
}

TEST_F(PageGeneratorTest, ASkipGroupForcesGoToLinksAndTheFullLayout) {
  const int head = Add(kStyleSingleChoice, "Q1", "Yes,No");
  survey_.Item(head).SkipGroupOfResponse = 1;
  survey_.Item(Add(kStyleNumeric, "Q1a")).SkipGroupOfQuestion = survey_.Item(head).ID;
  survey_.Item(Add(kStyleNumeric, "Q1b")).SkipGroupOfQuestion = survey_.Item(head).ID;
  Add(kStyleNumeric, "Q2");
  RebuildQuestionList(survey_);
  const std::string body = Body("<!--QVXQSTYLE2--><!--QVXQUESTIONS-->");
  EXPECT_TRUE(survey_.IncludeGotos);
  EXPECT_FALSE(survey_.QStyle2);
  const std::string pad = RepeatText("<p>&nbsp;", 40);
  const std::string numeric =
      "<UL>\r\n<INPUT TYPE=\"TEXT\" NAME=\"qvx%\" SIZE=5 MAXLENGTH=5>\r\n"
      "</UL><p>\r\n";
  auto next = [&](int m) {
    return "<SMALL>[ <A HREF=\"#Question" + std::to_string(m) +
           "\">Go to next question</A> ]</SMALL><p>" + pad + "<A NAME=\"Question" +
           std::to_string(m) + "\"></A>";
  };
  const std::string expected =
      "<!--QVXQSTYLE2-->1) Q1<p>\r\n<UL>\r\n"
      "<INPUT TYPE=\"RADIO\" NAME=\"qvx1\" VALUE=\"0\">Yes"
      "<SMALL>&nbsp;&nbsp;&nbsp;<A HREF=\"#Question2\">If Yes then go to 1a</A></SMALL><br>"
      "<INPUT TYPE=\"RADIO\" NAME=\"qvx1\" VALUE=\"1\">No"
      "<SMALL>&nbsp;&nbsp;&nbsp;<A HREF=\"#Question4\">If No then go to 2</A></SMALL><br>"
      "</UL><p>\r\n" +
      pad + "<A NAME=\"Question2\"></A>" + "1a) Q1a<p>\r\n" + ReplaceAll(numeric, "%", "2") +
      next(3) + "1b) Q1b<p>\r\n" + ReplaceAll(numeric, "%", "3") + next(4) + "2) Q2<p>\r\n" +
      ReplaceAll(numeric, "%", "4") +
      "<SMALL>[ <A HREF=\"#EndOfSurvey\">Go to End</A> ]</SMALL><p>" + pad + "\r\n";
  EXPECT_EQ(body, expected);
  EXPECT_EQ(survey_.Item(1).DisplayNumber, "1a");
}

TEST_F(PageGeneratorTest, HeadersKeepTheirNumbersAndAreNotCounted) {
  Add(kStyleHeader, "A");
  Add(kStyleHeader, "B");
  survey_.Item(0).DisplayNumber = "7";
  const std::string body = Body("<!--QVXQUESTIONS-->");
  EXPECT_EQ(body, "<H3>A</H3><p>\r\n<H3>B</H3><p>\r\n\r\n");
  EXPECT_EQ(survey_.Item(0).DisplayNumber, "7");
  EXPECT_EQ(survey_.Item(1).DisplayNumber, "");
}

TEST_F(PageGeneratorTest, QuestionsAreNumberedAndAnchoredInOrder) {
  Add(kStyleHeader, "H");
  Add(kStyleNumeric, "N1");
  Add(kStyleNumeric, "N2");
  const std::string body = Body("<!--QVXQUESTIONS-->");
  EXPECT_NE(body.find("</H3><p>\r\n1) N1<p>"), std::string::npos);
  EXPECT_NE(body.find("<A NAME=\"Question2\"></A>2) N2<p>"), std::string::npos);
  EXPECT_TRUE(body.ends_with("<A NAME=\"Question3\"></A>\r\n"));
}

TEST_F(PageGeneratorTest, MissingTemplateWritesTheErrorPageAndKeepsTheStatus) {
  survey_.SetDisplayTemplate("gone.qvg");
  survey_.SetModified(false);
  EXPECT_FALSE(GeneratePage(survey_, dir_.path() + "/", out_));
  EXPECT_EQ(ReadFileOrDie(out_), "<html><body>Error! The display template file named " +
                                     dir_.File("gone.qvg") + " is missing.</body></html>\r\n");
  EXPECT_EQ(survey_.HTMLStatus(), "HTML file not generated");
  EXPECT_FALSE(survey_.Modified());
}

TEST_F(PageGeneratorTest, MissingTemplatePageEscapesThePath) {
  EXPECT_EQ(MissingTemplatePage("/d/<b>&\"x'.qvg"),
            "<html><body>Error! The display template file named "
            "/d/&lt;b&gt;&amp;&quot;x&#39;.qvg is missing.</body></html>");
}

TEST_F(PageGeneratorTest, WriteFailureSetsTheFailedStatusOnly) {
  WriteFileOrDie(dir_.File("t.qvg"), "x");
  survey_.SetHTMLFileName("old.htm");
  EXPECT_FALSE(GeneratePage(survey_, dir_.path(), dir_.File("no/such/dir/page.htm")));
  EXPECT_EQ(survey_.HTMLStatus(), "HTML file failed to generate");
  EXPECT_EQ(survey_.HTMLFileName(), "old.htm");
  EXPECT_EQ(survey_.HTMLLastUpdate(), 0);
}

TEST_F(PageGeneratorTest, AnOutputThatIsAFolderFailsAndIsLeftAlone) {
  WriteFileOrDie(dir_.File("t.qvg"), "x");
  EXPECT_FALSE(GeneratePage(survey_, dir_.path(), dir_.path()));
  EXPECT_EQ(survey_.HTMLStatus(), "HTML file failed to generate");
}

// Publishing's step records a generated page in the history, and nothing
// when the template is missing or the page cannot be written.
TEST_F(PageGeneratorTest, PublishedPageIsRecordedInTheHistoryOnlyWhenWritten) {
  const std::string unpublished = survey_.PubHistory();
  survey_.SetDisplayTemplate("gone.qvg");
  EXPECT_FALSE(GeneratePublishedPage(survey_, dir_.path(), out_));
  WriteFileOrDie(dir_.File("t.qvg"), "x");
  survey_.SetDisplayTemplate("t.qvg");
  EXPECT_FALSE(GeneratePublishedPage(survey_, dir_.path(), dir_.File("no/such/dir/page.htm")));
  EXPECT_EQ(survey_.PubHistory(), unpublished);
  EXPECT_TRUE(GeneratePublishedPage(survey_, dir_.path(), out_));
  const std::string first = survey_.PubHistory();
  EXPECT_NE(first.find(survey_.HTMLStatus()), std::string::npos) << first;
  EXPECT_TRUE(survey_.HTMLStatus().starts_with("HTML file generated at ")) << first;
  EXPECT_TRUE(GeneratePublishedPage(survey_, dir_.path(), out_));
  EXPECT_GT(survey_.PubHistory().size(), first.size());
  EXPECT_TRUE(survey_.PubHistory().starts_with(first) || survey_.PubHistory().ends_with(first));
}

}  // namespace
}  // namespace quorvant
