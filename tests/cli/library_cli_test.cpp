// Runs quorvant-cli's import and library commands and checks the files
// they leave.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "cli_runner.h"
#include "core/libraries/response_template.h"
#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;
using testing::WriteFileOrDie;

class LibraryCliTest : public testing::CoreTest {
 protected:
  LibraryCliTest() { std::filesystem::create_directory(data_); }

  testing::CliRun Run(const std::string& args) {
    last_ = testing::RunCli(dir_.path(), args);
    return last_;
  }
  std::string Err() const { return last_.err; }
  std::string Texts(const std::string& path) {
    TSurvey s(settings_);
    s.Load(path);
    std::string out;
    for (const TQuestion& q : s.Items()) out += std::to_string(q.Style) + ":" + q.Text + ";";
    return out;
  }

  std::string data_ = dir_.File("data");
  testing::CliRun last_;
};

TEST_F(LibraryCliTest, ImportSavesTheNewSurvey) {
  WriteResponseTemplate(data_ + "/yesno.qvt", {"Yes / No", {"Yes", "No"}});
  WriteFileOrDie(dir_.File("in.txt"), "H) Start\r\nLike it?\r\n  -Yes\r\nWhy?\r\n");
  const std::string out = dir_.File("out.qvx");
  testing::CliRun r = Run("import '" + dir_.File("in.txt") + "' '" + out +
                          "' --style 3 --data-dir '" + data_ + "'");
  ASSERT_EQ(r.status, 0) << Err();
  EXPECT_EQ(Err(), "Import complete!\n");
  EXPECT_EQ(Texts(out), "7: Start;3:Like it?;3:Why?;");
  TSurvey s(settings_);
  s.Load(out);
  EXPECT_EQ(s.Item(1).OptionLines(), (std::vector<std::string>{"Yes", "No"}));

  EXPECT_EQ(Run("import '" + dir_.File("in.txt") + "' '" + out + "' --style 4").status, 2);
  EXPECT_EQ(Run("import '" + dir_.File("in.txt") + "' '" + out + "'").status, 2);
  r = Run("import '" + dir_.File("none.txt") + "' '" + dir_.File("none.qvx") + "' --style 1");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(Err(), "Error loading file " + dir_.File("none.txt") + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("none.qvx")));
}

TEST_F(LibraryCliTest, LibrariesAreMadeFilledListedAndInserted) {
  const std::string dd = " --data-dir '" + data_ + "'";
  testing::CliRun r = Run("library new Computers" + dd);
  ASSERT_EQ(r.status, 0) << Err();
  EXPECT_EQ(r.out, data_ + "/ql0.qvl\n");
  EXPECT_EQ(Run("library new COMPUTERS" + dd).status, 1);
  EXPECT_EQ(Err(), "The name COMPUTERS is already in use.  Please try another.\n");
  EXPECT_EQ(Run("library new Second" + dd).out, data_ + "/ql1.qvl\n");
  r = Run("library list" + dd);
  EXPECT_TRUE(r.out == data_ + "/ql0.qvl\tComputers\n" + data_ + "/ql1.qvl\tSecond\n" ||
              r.out == data_ + "/ql1.qvl\tSecond\n" + data_ + "/ql0.qvl\tComputers\n")
      << r.out;

  TSurvey survey(settings_);
  survey.AddItem("One", kStyleSingleChoice, 0, 0, 0, false, -1, "a,b");
  survey.AddItem("Two", kStyleText, 0, 0, 0, false, 40, "");
  survey.AddItem("Three", kStyleNumeric, 1, 9, 1, false, -1, "");
  survey.SaveAs(dir_.File("s.qvx"));
  const std::string lib = " '" + data_ + "/ql0.qvl' '" + dir_.File("s.qvx") + "'";
  ASSERT_EQ(Run("library add" + lib + " --items 3,1").status, 0) << Err();
  EXPECT_EQ(Texts(data_ + "/ql0.qvl"), "6:Three;1:One;");
  EXPECT_EQ(Run("library add" + lib + " --items 4").status, 1);
  EXPECT_EQ(Run("library add" + lib + " --items 1,x").status, 1);
  EXPECT_EQ(Run("library add" + lib + " --items").status, 2);
  EXPECT_EQ(Texts(data_ + "/ql0.qvl"), "6:Three;1:One;");
  r = Run("library show '" + data_ + "/ql0.qvl'");
  EXPECT_EQ(r.out,
            "Computers\n\nThree\n    Range of 1 to 9, step 1\n\nOne\n    Response Options: a, b\n");

  ASSERT_EQ(Run("library insert" + lib + " --items 2").status, 0) << Err();
  EXPECT_EQ(Texts(dir_.File("s.qvx")), "1:One;4:Two;6:Three;1:One;");
  ASSERT_EQ(Run("library insert" + lib).status, 0) << Err();
  EXPECT_EQ(Texts(dir_.File("s.qvx")), "1:One;4:Two;6:Three;1:One;6:Three;1:One;");
  EXPECT_EQ(Run("library insert '" + data_ + "/none.qvl' '" + dir_.File("s.qvx") + "'").status, 1);
  EXPECT_EQ(Run("library remove x").status, 2);
}

}  // namespace
}  // namespace quorvant

namespace quorvant {
namespace {

// Templates written by the CLI read back in the template manager's terms,
// values kept in order with their blanks and markup, and list beside the
// display templates; a missing values file writes nothing.
TEST_F(LibraryCliTest, TemplatesAreWrittenShownAndListed) {
  testing::WriteFileOrDie(dir_.File("values.txt"),
                          "\xEF\xBB\xBFStrongly agree\r\n <b>Agree</b> \r\n\r\nNo\n");
  const std::string path = data_ + "/rtemp0.qvt";
  ASSERT_EQ(
      Run("template write '" + path + "' 'Agreement' '" + dir_.File("values.txt") + "'").status, 0)
      << Err();
  const TResponseTemplate written = ReadResponseTemplate(path);
  EXPECT_EQ(written.title, "Agreement");
  EXPECT_EQ(written.values,
            (std::vector<std::string>{"Strongly agree", " <b>Agree</b> ", "", "No"}));
  testing::CliRun r = Run("template show '" + path + "'");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Agreement\nStrongly agree\n <b>Agree</b> \n\nNo\n");

  testing::WriteFileOrDie(data_ + "/Plain.QVG", "<html></html>");
  r = Run("template list --data-dir '" + data_ + "'");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "response\trtemp0.qvt\tAgreement\ndisplay\tPlain.QVG\n");

  EXPECT_EQ(Run("template write '" + data_ + "/x.qvt' T '" + dir_.File("none.txt") + "'").status,
            1);
  EXPECT_FALSE(std::filesystem::exists(data_ + "/x.qvt"));
  EXPECT_EQ(Run("template show '" + data_ + "/x.qvt'").status, 1);
  EXPECT_EQ(Run("template write '" + path + "' T").status, 2);
  EXPECT_EQ(Run("template rename").status, 2);
}

}  // namespace
}  // namespace quorvant
