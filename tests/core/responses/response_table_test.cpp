// The response table: its layout per question style, creation, opening,
// ensuring, reset and the count taken when a survey is loaded.
#include "core/responses/response_table.h"

#include <gtest/gtest.h>

#include "core/env/table_error.h"
#include "core/responses/response_fields.h"
#include "core/shell/atomic_file.h"
#include "response_test_util.h"
#include "support/fault_env.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::AddQuestion;

std::string Layout(const std::vector<FieldDef>& fields) {
  std::string out;
  for (const FieldDef& f : fields) {
    out += f.name + " " + f.type + " " + std::to_string(f.width) + "\n";
  }
  return out;
}

class ResponseTableTest : public testing::CoreTest {
 protected:
  ResponseTableTest() { survey_.SetFileName(dir_.File("survey.qvx")); }

  std::string Base() { return dir_.File(survey_.UniqueName()); }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
};

const char kFixed[] = "REMOTEIP C 25\nEMAIL C 250\nAGENT C 250\nDATERCVD C 14\n";

TEST_F(ResponseTableTest, FieldsFollowTheQuestionStyles) {
  AddQuestion(survey_, kStyleHeader, "About you");
  EXPECT_EQ(Layout(ResponseTableFields(survey_)), kFixed);  // headers give no field
  AddQuestion(survey_, kStyleSingleChoice, "Smoke?", {"Yes", "No"});
  AddQuestion(survey_, kStyleSlidingScale, "Rate", {"1", "2"}, true);
  AddQuestion(survey_, kStyleMultipleChoice, "Which?", {"a", "b", "c"}, true);
  AddQuestion(survey_, kStyleMultipleChoice, "Also?", {"x"});
  AddQuestion(survey_, kStyleText, "Why?", {}, false, -1);
  AddQuestion(survey_, kStyleText, "Name?", {}, false, 30);
  AddQuestion(survey_, kStyleNumeric, "Age?");
  AddQuestion(survey_, kStylePulldown, "Pick", {"p"}, true);
  EXPECT_EQ(Layout(ResponseTableFields(survey_)),
            std::string(kFixed) +
                "QVX2 C 3\n"
                "QVX3 C 3\nQVX3OT C 50\n"
                "QVX4_0 C 1\nQVX4_1 C 1\nQVX4_2 C 1\nQVX4 C 1\nQVX4OT C 50\n"
                "QVX5_0 C 1\n"
                "QVX6 M 10\n"
                "QVX7 C 30\n"
                "QVX8 N 5\n"
                "QVX9 C 3\nQVX9OT C 50\n");
}

TEST_F(ResponseTableTest, CreateMakesTheTableWithItsTwoTags) {
  AddQuestion(survey_, kStyleNumeric, "Age?");
  survey_.SetModified(false);
  TResponseTable table(prompts_);
  ASSERT_TRUE(table.Create(survey_));
  EXPECT_EQ(survey_.SRResponseFile(), Base() + ".dbf");
  EXPECT_TRUE(survey_.Modified());
  EXPECT_TRUE(FileExists(Base() + ".fpt"));
  EXPECT_TRUE(FileExists(Base() + ".cdx"));
  Table& t = table.table();
  EXPECT_EQ(t.Tag(table.RemoteIPOrder()).key, "REMOTEIP");
  EXPECT_EQ(t.Tag(table.EmailOrder()).key, "EMAIL");
  EXPECT_EQ(t.Order(), table.EmailOrder());
  t.AppendBlank();
  t.Replace("EMAIL", "a@example.org");
  t.Replace("QVX1", int64_t{-9999});
  EXPECT_TRUE(t.Seek("a@example.org"));
  EXPECT_EQ(prompts_.log.size(), 0u);
}

TEST_F(ResponseTableTest, ARefusedDefinitionEmptiesTheResponseFile) {
  AddQuestion(survey_, kStyleText, "Nothing allowed", {}, false, 0);
  TResponseTable table(prompts_);
  EXPECT_FALSE(table.Create(survey_));
  EXPECT_EQ(prompts_.log,
            std::vector<std::string>{"error: Could not create the database " + Base() + ".dbf"});
  EXPECT_EQ(survey_.SRResponseFile(), "");
  EXPECT_FALSE(table.IsOpen());
  EXPECT_FALSE(FileExists(Base() + ".dbf"));

  survey_.SetFileName(dir_.File("missing-folder/survey.qvx"));
  survey_.DeleteItem(0);
  prompts_.log.clear();
  EXPECT_FALSE(table.Create(survey_));
  EXPECT_EQ(prompts_.log,
            std::vector<std::string>{"error: Could not create the database " +
                                     dir_.File("missing-folder/") + survey_.UniqueName() + ".dbf"});
}

TEST_F(ResponseTableTest, AnUnfinishedCreationIsReportedAndNotOpened) {
  testing::FaultEnv fs;
  fs.FailFrom(2);  // the table file is made, its first write fails
  TResponseTable table(prompts_, {&fs, 100});
  EXPECT_FALSE(table.Create(survey_));
  EXPECT_EQ(prompts_.log,
            std::vector<std::string>{"error: Failed database creation: " + Base() + ".dbf"});
  EXPECT_EQ(survey_.SRResponseFile(), Base() + ".dbf");
  EXPECT_FALSE(table.IsOpen());
}

TEST_F(ResponseTableTest, EnsureCreatesOnceThenOpens) {
  TResponseTable table(prompts_);
  ASSERT_TRUE(table.Ensure(survey_));  // no file name yet: created
  table.table().AppendBlank();
  table.table().Replace("REMOTEIP", "10.0.0.1");
  table.Close();
  ASSERT_TRUE(table.Ensure(survey_));  // opened, not created again
  EXPECT_EQ(table.table().RecCount(), 1u);
  // A copy of the table without its index file gets its tags made again.
  table.Close();
  ASSERT_EQ(::unlink((Base() + ".cdx").c_str()), 0);
  ASSERT_TRUE(table.Ensure(survey_));
  EXPECT_EQ(table.table().Order(), table.EmailOrder());
  table.table().SetOrder(table.RemoteIPOrder());
  EXPECT_TRUE(table.table().Seek("10.0.0.1"));
  EXPECT_EQ(OpenResponseTableOnLoad(survey_, table), 1);
}

TEST_F(ResponseTableTest, ResetDeletesTheFilesAfterConfirmation) {
  TResponseTable table(prompts_);
  ASSERT_TRUE(table.Create(survey_));
  survey_.SetSRLastUpdate("20240101120000");
  prompts_.confirm_answers = {false, true};
  EXPECT_FALSE(ResetLocalResponses(survey_, table, prompts_));
  EXPECT_TRUE(table.IsOpen());
  EXPECT_EQ(survey_.SRLastUpdate(), "20240101120000");
  EXPECT_TRUE(ResetLocalResponses(survey_, table, prompts_));
  EXPECT_EQ(prompts_.log[1],
            "confirm(default no): Are you sure you want to reset your local responses?");
  EXPECT_EQ(survey_.SRLastUpdate(), "Never");
  EXPECT_FALSE(table.IsOpen());
  for (const char* ext : {".dbf", ".cdx", ".fpt"}) EXPECT_FALSE(FileExists(Base() + ext)) << ext;
  EXPECT_EQ(survey_.SRResponseFile(), Base() + ".dbf");  // the next download makes it anew
  EXPECT_NE(survey_.PubHistory().find("Response file reset"), std::string::npos);
  EXPECT_EQ(OpenResponseTableOnLoad(survey_, table), std::nullopt);
  // Nothing left to delete is no failure either.
  prompts_.confirm_answers = {true};
  EXPECT_TRUE(ResetLocalResponses(survey_, table, prompts_));
}

}  // namespace
}  // namespace quorvant
