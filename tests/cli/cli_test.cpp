// Runs the real quorvant-cli program and checks what it prints and writes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "core/shell/text_helpers.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;
using testing::WriteFileOrDie;

struct Result {
  int status = -1;
  std::string out;  // stdout and stderr together
};

class CliTest : public testing::CoreTest {
 protected:
  Result Run(const std::string& args) { return RunProgram(QUORVANT_CLI_PATH, args); }
  Result RunProgram(const std::string& program, const std::string& args) {
    const std::string command =
        "QUORVANT_CONFIG_DIR='" + dir_.File("config") + "' '" + program + "' " + args + " 2>&1";
    Result r;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 4096> buf;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) r.out.append(buf.data(), n);
    const int raw = ::pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
  }
  std::string Example() { return std::string(QUORVANT_SOURCE_DIR) + "/data/examples/example.qvx"; }
};

TEST_F(CliTest, ShowPrintsTheNumberedItems) {
  WriteFileOrDie(dir_.File("s.qvx"),
                 "[Details]\nQuestionCount=4\n"
                 "[Question 1]\nID=1\nStyle=7\nText=About you\n"
                 "[Question 2]\nID=2\nStyle=1\nText=Smoke?\nOptions=Yes~Y|No~N|\n"
                 "SkipGroupOfResponse=1\n"
                 "[Question 3]\nID=3\nStyle=6\nText=How many?\nMinValue=1\nMaxValue=60\n"
                 "StepValue=10\nSkipGroupOfQuestion=2\n"
                 "[Question 4]\nID=4\nStyle=4\nText=Why?\nLengthOfResponse=-1\n");
  const Result r = Run("show '" + dir_.File("s.qvx") + "'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "About you\n\n"
            "1) Smoke?\n    Response Options: Y, N (skip following group)\n\n"
            "    1a) How many?\n        Range of 1 to 60, step 10\n\n"
            "2) Why?\n    Verbose text response\n");
}

TEST_F(CliTest, ShowReportsLoadFailuresExactly) {
  const std::string missing = dir_.File("gone.qvx");
  Result r = Run("show '" + missing + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "Could not find file " + missing + "\n");
  WriteFileOrDie(dir_.File("bad.qvx"), "[Details]\nQuestionCount=1\n");
  r = Run("show '" + dir_.File("bad.qvx") + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "Error reading file " + dir_.File("bad.qvx") + ". File incorrectly formatted.\n");
}

TEST_F(CliTest, UsageErrorsAndHelp) {
  EXPECT_EQ(Run("").status, 2);
  EXPECT_EQ(Run("frobnicate").status, 2);
  EXPECT_EQ(Run("show").status, 2);
  EXPECT_EQ(Run("save a.qvx --as").status, 2);
  const Result help = Run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("show SURVEY.qvx"), std::string::npos);
  EXPECT_NE(help.out.find("save SURVEY.qvx [--as OUT.qvx]"), std::string::npos);
}

// The shipped example survey normalises to a fixed point: loading and saving
// twice gives the same file but for the time stamps a save moves.
// quorvant-cli runs the core commands itself and hands the others to
// quorvant-cli-desktop beside it; without the helper those say so.
TEST_F(CliTest, CommandsOfTheDesktopHelperNameItWhenItIsMissing) {
  const std::string alone = dir_.File("alone");
  std::filesystem::create_directory(alone);
  std::filesystem::copy_file(QUORVANT_CLI_PATH, alone + "/quorvant-cli");
  const auto run = [&](const std::string& args) {
    return RunProgram(alone + "/quorvant-cli", args);
  };
  const Result shown = run("show '" + Example() + "'");
  EXPECT_EQ(shown.status, 0) << shown.out;
  const std::string print = "print '" + Example() + "' '" + dir_.File("s.pdf") + "'";
  const Result printed = run(print);
  EXPECT_EQ(printed.status, 1);
  EXPECT_NE(printed.out.find("quorvant-cli-desktop, which could not be started"), std::string::npos)
      << printed.out;
  EXPECT_FALSE(std::filesystem::exists(dir_.File("s.pdf")));
  // Through the helper next to the real program, the same command works.
  const Result helped = Run(print);
  EXPECT_EQ(helped.status, 0) << helped.out;
  EXPECT_TRUE(std::filesystem::exists(dir_.File("s.pdf")));
}

TEST_F(CliTest, ExampleSurveyRoundTripIsStable) {
  const std::string a = dir_.File("a.qvx"), b = dir_.File("b.qvx");
  ASSERT_EQ(Run("save '" + Example() + "' --as '" + a + "'").status, 0);
  ASSERT_EQ(Run("save '" + a + "' --as '" + b + "'").status, 0);
  ASSERT_EQ(Run("save '" + b + "'").status, 0);
  auto without_stamp = [](std::string text) {
    const size_t at = text.find("LastUpdated=");
    return text.erase(at, text.find('\r', at) - at);
  };
  const std::string first = ReadFileOrDie(a), last = ReadFileOrDie(b);
  EXPECT_EQ(without_stamp(first), without_stamp(last));
  // The normalised copy is what the shipped file already holds.
  EXPECT_EQ(without_stamp(ReadFileOrDie(Example())), without_stamp(first));
  const Result shown = Run("show '" + b + "'");
  EXPECT_EQ(shown.status, 0);
  EXPECT_EQ(shown.out, Run("show '" + Example() + "'").out);
}

// page: generates the example's page from the shipped default template, which
// it first copies into the data folder, and records the outcome in the survey.
TEST_F(CliTest, PageGeneratesSavesAndRecordsTheStatus) {
  const std::string survey = dir_.File("s.qvx"), page = dir_.File("s.htm");
  WriteFileOrDie(survey, ReadFileOrDie(Example()));
  const Result r =
      Run("page '" + survey + "' '" + page + "' --data-dir '" + dir_.File("data") + "'");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(r.out.starts_with("HTML file generated at ")) << r.out;
  EXPECT_TRUE(std::filesystem::exists(dir_.File("data/default.qvg")));
  const std::string html = ReadFileOrDie(page);
  EXPECT_TRUE(html.starts_with("<!-- Created with Quorvant ")) << html.substr(0, 80);
  EXPECT_NE(html.find("NAME=\"qvx2\" VALUE=\"3\">Never<SMALL>"), std::string::npos);
  const std::string saved = ReadFileOrDie(survey);
  EXPECT_NE(saved.find("HTMLFileName=" + page + "\r\n"), std::string::npos);
  EXPECT_NE(saved.find(": " + r.out.substr(0, r.out.size() - 1) + "\""), std::string::npos)
      << "the status goes to the publication history";
}

TEST_F(CliTest, PageWithAMissingTemplateFails) {
  const std::string survey = dir_.File("s.qvx"), page = dir_.File("s.htm");
  WriteFileOrDie(survey, ReplaceAll(ReadFileOrDie(Example()), "DisplayTemplate=default.qvg",
                                    "DisplayTemplate=gone.qvg"));
  const std::string before = ReadFileOrDie(survey);
  const Result r =
      Run("page '" + survey + "' '" + page + "' --data-dir '" + dir_.File("data") + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "The HTML file could not be generated.  Please verify that you have sufficient disk "
            "space and that the display template you have specified is correct.\n");
  EXPECT_NE(ReadFileOrDie(page).find("Error! The display template file named "), std::string::npos);
  EXPECT_EQ(ReadFileOrDie(survey), before) << "nothing changed, nothing saved";
  // A folder that is not there is named, whatever the template.
  const std::string nowhere = dir_.File("no such folder"), copy = dir_.File("t.qvx");
  WriteFileOrDie(copy, ReadFileOrDie(Example()));
  const Result missing =
      Run("page '" + copy + "' '" + nowhere + "/s.htm' --data-dir '" + dir_.File("data") + "'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out,
            "The HTML file could not be generated.  The folder " + nowhere + " does not exist.\n");
  EXPECT_EQ(Run("page '" + survey + "'").status, 2);
  EXPECT_EQ(Run("page a b c").status, 2);
  EXPECT_EQ(Run("page a b --data-dir").status, 2);
}

}  // namespace
}  // namespace quorvant
