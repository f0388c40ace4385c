// The field-mapping text and the export command.
#include "core/responses/field_mapping.h"

#include <gtest/gtest.h>

#include "core/env/table_error.h"
#include "core/responses/response_export.h"
#include "core/responses/response_table.h"
#include "core/shell/atomic_file.h"
#include "core/shell/text_helpers.h"
#include "response_test_util.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::AddQuestion;

const std::string D = std::string(70, '=');

// The fixed part: title, star line and the four fixed fields.
std::string Head(const std::string& name, const std::string& file) {
  return "Field Mapping for survey " + name + "(" + file + ")\n" + std::string(70, '*') + "\n\n" +
         D +
         "\nField Name:   REMOTEIP\nField Type:   Character\nField Length: 25\n"
         "Description:  Remote IP Address of respondent\n\n" +
         D +
         "\nField Name:   EMAIL\nField Type:   Character\nField Length: 250\n"
         "Description:  Email Address of respondent (if identified in survey properties)\n\n" +
         D +
         "\nField Name:   AGENT\nField Type:   Character\nField Length: 250\n"
         "Description:  Web Browser type (signature) of respondent\n\n" +
         D +
         "\nField Name:   DATERCVD\nField Type:   Character\nField Length: 14\n"
         "Description:  Year, Month, Day, Hour, Minute, Second response was received\n\n";
}

// Written with "\n"; every line of the real text ends in CR LF.
std::string Crlf(const std::string& text) { return ReplaceAll(text, "\n", "\r\n"); }

class FieldMappingTest : public testing::CoreTest {
 protected:
  TSurvey survey_{settings_};
};

TEST_F(FieldMappingTest, HeadersOnlyGiveTheFixedBlocks) {
  survey_.SetName("Empty");
  AddQuestion(survey_, kStyleHeader, "Section");
  EXPECT_EQ(FieldMappingText(survey_, "/home/a/out.dbf"), Crlf(Head("Empty", "out.dbf")));
}

TEST_F(FieldMappingTest, DescribesEveryQuestionStyle) {
  survey_.SetName("Habits");
  AddQuestion(survey_, kStyleHeader, "About you");
  AddQuestion(survey_, kStyleSingleChoice, "Smoke?", {"Y~Yes", "No", "Maybe"}, true);
  AddQuestion(survey_, kStyleMultipleChoice, "Which?", {"a", "b"}, true);
  AddQuestion(survey_, kStyleText, "Why?", {}, false, -1);
  AddQuestion(survey_, kStyleText, "Name?", {}, false, 30);
  AddQuestion(survey_, kStyleNumeric, "Age?");
  AddQuestion(survey_, kStylePulldown, "Empty list");
  TQuestion big;
  big.ID = 1234567890;
  big.Style = kStyleMultipleChoice;
  big.Text = "Long id";
  big.SetOptionLines({"only"});
  survey_.AddLoadedItem(big);
  const std::string expected =
      Head("Habits", "x.dbf") + D +
      "\nQuestion:     Smoke?\nStyle:        Single Select\nField Name:   QVX2\n"
      "Field Type:   Character\n"
      "Responses:    \"0\" = Y~Yes\n              \"1\" = No\n              \"2\" = Maybe\n\n"
      "--[ Other Response ]" +
      std::string(50, '-') +
      "\nField Name:   QVX2OT\nField Type:   Character\nField Length: 50\n"
      "Responses:    Text description of \"Other\"\n\n\n" +
      D +
      "\nQuestion:     Which?\nStyle:        Multiple Select\n\n"
      "Field Name    Values    Response Option\n"
      "------------  --------  " +
      std::string(45, '-') +
      "\nQVX3_0        Y/N       a\nQVX3_1        Y/N       b\n\n"
      "--[ Other Response ]" +
      std::string(50, '-') +
      "\nField Name:   QVX3\nField Type:   Character\nField Length: 1\n"
      "Responses:    Y/N (User Specified Other)\n"
      "Field Name:   QVX3OT\nField Type:   Character\nField Length: 50\n"
      "Responses:    Text description of \"Other\"\n\n\n" +
      D +
      "\nQuestion:     Why?\nStyle:        Comment (verbose)\nField Name:   QVX4\n"
      "Field Type:   Memo\n\n\n" +
      D +
      "\nQuestion:     Name?\nStyle:        Comment (limited)\nField Name:   QVX5\n"
      "Field Type:   Character\nField Length: 30\n\n\n" +
      D +
      "\nQuestion:     Age?\nStyle:        Numeric\nField Name:   QVX6\n"
      "Field Type:   Numeric\nField Length: 5\n\n\n" +
      D +
      "\nQuestion:     Empty list\nStyle:        Single Select\nField Name:   QVX7\n"
      "Field Type:   Character\nResponses:    \"Error - No responses found!\n\n\n" +
      D +
      "\nQuestion:     Long id\nStyle:        Multiple Select\n\n"
      "Field Name    Values    Response Option\n"
      "------------  --------  " +
      std::string(45, '-') + "\nQVX1234567890_Y/N       only\n\n\n";
  EXPECT_EQ(FieldMappingText(survey_, "x.dbf"), Crlf(expected));
}

TEST(ExportNameTest, AppendsDbfUnlessItIsThereInAnyCase) {
  const struct {
    const char* chosen;
    const char* table;
    const char* mapping;
  } cases[] = {
      {"/a/out", "/a/out.dbf", "/a/out.txt"},
      {"/a/out.DbF", "/a/out.DbF", "/a/out.txt"},
      {"/a/out.dbf", "/a/out.dbf", "/a/out.txt"},
      {"/a/out.csv", "/a/out.csv.dbf", "/a/out.csv.txt"},
      {"/a.b/out", "/a.b/out.dbf", "/a.b/out.txt"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExportTableName(c.chosen), c.table) << c.chosen;
    EXPECT_EQ(MappingFileName(ExportTableName(c.chosen)), c.mapping) << c.chosen;
  }
}

TEST_F(FieldMappingTest, ExportCopiesTheTableAndWritesTheMapping) {
  survey_.SetFileName(dir_.File("s.qvx"));
  survey_.SetName("S");
  AddQuestion(survey_, kStyleText, "Why?", {}, false, -1);
  testing::ScriptedPrompts prompts;
  TResponseTable responses(prompts);
  ASSERT_TRUE(responses.Create(survey_));
  Table& t = responses.table();
  t.AppendBlank();
  t.Replace("EMAIL", "a@example.org");
  t.Replace("QVX1", "because\r\nof it");
  std::string opened;
  ExportResponses(survey_, t, dir_.File("Export"), prompts,
                  [&](const std::string& path) { opened = path; });
  const std::string out = dir_.File("Export.dbf");
  // The box before the mapping, and at the end where both files went.
  EXPECT_EQ(prompts.log, (std::vector<std::string>{"info: " + ExportInfoText(out),
                                                   "info: The responses were written to " + out +
                                                       " and their field mapping to " +
                                                       dir_.File("Export.txt") + "."}));
  EXPECT_EQ(ExportInfoText("N.dbf"),
            "The responses for this survey have been generated and saved in the dBase file named "
            "N.dbf.  A text file containing field mapping information will now be generated.");
  EXPECT_EQ(opened, dir_.File("Export.txt"));
  EXPECT_EQ(ReadWholeFile(opened), FieldMappingText(survey_, out));
  Table copy;
  copy.Open(out);
  EXPECT_EQ(copy.RecCount(), 1u);
  EXPECT_EQ(copy.Get("QVX1"), "because\r\nof it");
  EXPECT_EQ(copy.Fields().size(), t.Fields().size());

  // A copy that cannot be written is an error, and no success is announced.
  prompts.log.clear();
  EXPECT_THROW(ExportResponses(survey_, t, dir_.File("no/such/folder/x.dbf"), prompts,
                               [](const std::string&) {}),
               ETableError);
  EXPECT_TRUE(prompts.log.empty());
}

}  // namespace
}  // namespace quorvant
