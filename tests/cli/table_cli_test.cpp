// quorvant-cli table and export, run as the real program.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "core/responses/field_mapping.h"
#include "core/responses/response_table.h"
#include "core/shell/atomic_file.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class TableCliTest : public testing::CoreTest {
 protected:
  // Runs quorvant-cli with args; returns the exit status and keeps what it
  // wrote to stdout and stderr.
  int Cli(const std::string& args) {
    const std::string command = "QUORVANT_CONFIG_DIR='" + dir_.File("config") + "' '" +
                                QUORVANT_CLI_PATH + "' " + args + " >'" + dir_.File("out") +
                                "' 2>'" + dir_.File("err") + "'";
    const int raw = std::system(command.c_str());
    out_ = ReadWholeFile(dir_.File("out")).value_or("");
    err_ = ReadWholeFile(dir_.File("err")).value_or("");
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

  // A saved survey with a response table of three records.
  void MakeSurvey() {
    survey_.SetFileName(dir_.File("s.qvx"));
    survey_.SetName("Habits");
    survey_.AddItem("Smoke?", kStyleSingleChoice, 0, 0, 0, false, 0, JoinCommaText({"Yes", "No"}));
    survey_.AddItem("Why?", kStyleText, 0, 0, 0, false, -1, "");
    TResponseTable responses(prompts_);
    ASSERT_TRUE(responses.Create(survey_));
    Table& t = responses.table();
    const char* rows[][4] = {{"10.0.0.2", "b@example.org", "1", "line 1\r\nline 2"},
                             {"10.0.0.1", "a@example.org", "0", ""},
                             {"10.0.0.3", "b@example.org", "0", "tab\there"}};
    for (const auto& row : rows) {
      t.AppendBlank();
      t.Replace("REMOTEIP", row[0]);
      t.Replace("EMAIL", row[1]);
      t.Replace("QVX1", row[2]);
      t.Replace("QVX2", row[3]);
    }
    responses.Close();
    survey_.Save();
  }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
  std::string out_, err_;
};

TEST_F(TableCliTest, InfoListsFieldsRecordsAndTags) {
  MakeSurvey();
  ASSERT_EQ(Cli("table info '" + survey_.SRResponseFile() + "'"), 0) << err_;
  EXPECT_EQ(out_, "File: " + survey_.SRResponseFile() +
                      "\nRecords: 3\nFields: 6\n"
                      "  REMOTEIP   C   25\n  EMAIL      C  250\n  AGENT      C  250\n"
                      "  DATERCVD   C   14\n  QVX1       C    3\n  QVX2       M   10\n"
                      "Tags: 2\n  1 REMOTEIP   key REMOTEIP\n  2 EMAIL      key EMAIL\n");
}

TEST_F(TableCliTest, DumpFollowsOrderFilterAndSeek) {
  MakeSurvey();
  const std::string file = "'" + survey_.SRResponseFile() + "'";
  ASSERT_EQ(Cli("table dump " + file), 0) << err_;
  EXPECT_EQ(out_,
            "10.0.0.2\tb@example.org\t\t\t1\tline 1\\nline 2\n"
            "10.0.0.1\ta@example.org\t\t\t0\t\n"
            "10.0.0.3\tb@example.org\t\t\t0\ttab\\there\n");
  ASSERT_EQ(Cli("table dump " + file + " --order remoteip --filter 'QVX1=\"0\"'"), 0) << err_;
  EXPECT_EQ(out_, "10.0.0.1\ta@example.org\t\t\t0\t\n10.0.0.3\tb@example.org\t\t\t0\ttab\\there\n");
  ASSERT_EQ(Cli("table dump " + file + " --order EMAIL --seek b@example.org"), 0) << err_;
  EXPECT_EQ(out_,
            "10.0.0.2\tb@example.org\t\t\t1\tline 1\\nline 2\n"
            "10.0.0.3\tb@example.org\t\t\t0\ttab\\there\n");
  ASSERT_EQ(Cli("table dump " + file + " --order EMAIL --seek b@example.org --filter 'QVX1=\"1\"'"),
            0);
  EXPECT_EQ(out_, "10.0.0.2\tb@example.org\t\t\t1\tline 1\\nline 2\n");
  ASSERT_EQ(Cli("table dump " + file + " --order EMAIL --seek nobody"), 0);
  EXPECT_EQ(out_, "");
}

TEST_F(TableCliTest, ErrorsAndUsage) {
  MakeSurvey();
  const std::string file = "'" + survey_.SRResponseFile() + "'";
  EXPECT_EQ(Cli("table dump " + file + " --order NOPE"), 1);
  EXPECT_EQ(err_, "The table " + survey_.SRResponseFile() + " has no tag NOPE\n");
  EXPECT_EQ(Cli("table dump " + file + " --filter 'QVX9=1'"), 1);
  EXPECT_EQ(err_, "The expression \"QVX9=1\" is not valid: the table has no field QVX9\n");
  EXPECT_EQ(Cli("table info '" + dir_.File("none.dbf") + "'"), 1);
  EXPECT_EQ(err_, "Cannot open " + dir_.File("none.dbf") + ": No such file or directory\n");
  EXPECT_EQ(Cli("table dump " + file + " --seek x"), 2);
  EXPECT_EQ(Cli("table dump " + file + " --order"), 2);
  EXPECT_EQ(Cli("table info " + file + " --order EMAIL"), 2);
  EXPECT_EQ(Cli("table list " + file), 2);
  EXPECT_EQ(Cli("export '" + dir_.File("s.qvx") + "'"), 2);
}

TEST_F(TableCliTest, ExportWritesTheCopyAndTheMapping) {
  MakeSurvey();
  ASSERT_EQ(Cli("export '" + dir_.File("s.qvx") + "' '" + dir_.File("Out") + "'"), 0) << err_;
  const std::string out = dir_.File("Out.dbf");
  // Where both files went, as the window says at the end of its export.
  EXPECT_EQ(out_, "The responses were written to " + out + " and their field mapping to " +
                      dir_.File("Out.txt") + ".\n");
  EXPECT_EQ(ReadWholeFile(dir_.File("Out.txt")), FieldMappingText(survey_, out));
  ASSERT_EQ(Cli("table dump '" + out + "'"), 0);
  EXPECT_EQ(out_.substr(0, 9), "10.0.0.2\t");

  TSurvey bare(settings_);
  bare.SaveAs(dir_.File("bare.qvx"));
  EXPECT_EQ(Cli("export '" + dir_.File("bare.qvx") + "' x.dbf"), 1);
  EXPECT_EQ(err_, "The survey " + dir_.File("bare.qvx") + " has no response table.\n");
}

// python3-dbf ends its FoxPro tables without the end-of-file byte.
TEST_F(TableCliTest, ExportCopiesAResponseTableWrittenByPythonDbf) {
  MakeSurvey();
  const std::string table = survey_.SRResponseFile();
  std::remove(Table::SiblingPath(table, ".cdx").c_str());
  const std::string script =
      "import dbf,sys\n"
      "layout = 'REMOTEIP C(25); EMAIL C(250); AGENT C(250); DATERCVD C(14); QVX1 C(3); QVX2 M'\n"
      "t = dbf.Table(sys.argv[1], layout, dbf_type='fp', codepage='utf8')\n"
      "t.open(dbf.READ_WRITE)\n"
      "t.append(('10.0.0.7', 'zoë@example.org', 'Mozilla', '20260102030405', '1', 'Grüße'))\n"
      "t.append(('10.0.0.8', '', '', '', '0', ''))\n"
      "t.close()\n";
  testing::WriteFileOrDie(dir_.File("write.py"), script);
  ASSERT_EQ(
      std::system(("/usr/bin/python3 '" + dir_.File("write.py") + "' '" + table + "'").c_str()), 0);
  ASSERT_NE(ReadWholeFile(table).value_or("").back(), '\x1A');
  ASSERT_EQ(Cli("export '" + dir_.File("s.qvx") + "' '" + dir_.File("Out") + "'"), 0) << err_;
  const std::string out = ReadWholeFile(dir_.File("Out.dbf")).value_or("");
  EXPECT_EQ(out, ReadWholeFile(table).value_or("") + '\x1A');
  ASSERT_EQ(Cli("table dump '" + dir_.File("Out.dbf") + "'"), 0) << err_;
  EXPECT_EQ(out_,
            "10.0.0.7\tzoë@example.org\tMozilla\t20260102030405\t1\tGrüße\n"
            "10.0.0.8\t\t\t\t0\t\n");
}

}  // namespace
}  // namespace quorvant

namespace quorvant {
namespace {

TEST_F(TableCliTest, IncorporateTakesASavedReplyOnce) {
  MakeSurvey();  // a table of three records, none with a stamp
  survey_.SetOnly1IP(true);
  survey_.Save();
  const std::string reply = dir_.File("reply.dat");
  testing::WriteFileOrDie(reply,
                          "<DATA>\r\n"
                          "RemoteAddr=10.0.0.9,DateRec=20260101000001,qvx1=1\r\n"
                          "RemoteAddr=10.0.0.1,DateRec=20260101000002,qvx1=0\r\n"
                          "RemoteAddr=10.0.0.8,DateRec=20260101000003,\"qvx2=a </DATA> b\"\r\n"
                          "</DATA>\r\n");
  const std::string args = "incorporate '" + survey_.FileName() + "' '" + reply + "'";
  ASSERT_EQ(Cli(args), 0) << err_;
  EXPECT_EQ(out_,
            "Verifying server results.\nResults incorporated.\nNew responses: 2\n"
            "Responses eliminated: 1\nTotal responses: 5\n");
  // The same reply again adds nothing: the table already holds it.
  ASSERT_EQ(Cli(args), 0) << err_;
  EXPECT_EQ(out_,
            "Verifying server results.\nResults incorporated.\nNew responses: 0\n"
            "Responses eliminated: 0\nTotal responses: 5\nAlready held: 3\n");

  testing::WriteFileOrDie(reply, "<html>Not Found</html>\r\n");
  EXPECT_EQ(Cli(args), 1);
  EXPECT_EQ(out_,
            "Verifying server results.\n"
            "Result verification failed.  Result information not properly formatted.\n");
  EXPECT_EQ(Cli("incorporate '" + survey_.FileName() + "'"), 2);
}

}  // namespace
}  // namespace quorvant
