// quorvant-cli chart, run as the real program: PNG, JPEG and SVG files of
// the asked size, a Text question or a header without a chart, and wrong
// arguments refused before anything is written.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "counted_survey.h"
#include "core/responses/response_table.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

uint32_t BigEndian(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

class ChartCliTest : public testing::CoreTest {
 protected:
  ChartCliTest() {
    testing::MakeCountedSurvey(survey_, prompts_, dir_.File("s.qvx"), "Smoke?");
    survey_.AddItem("About you", kStyleHeader, 0, 0, 0, false, 0, "");
    survey_.Item(0).ChartType = 1;
    survey_.Save();
  }
  testing::CliRun Chart(const std::string& arguments) {
    return testing::RunCli(dir_.path(), "chart '" + dir_.File("s.qvx") + "' " + arguments);
  }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
};

TEST_F(ChartCliTest, WritesEachFormatAtTheAskedSize) {
  testing::CliRun r = Chart("1 '" + dir_.File("pie.png") + "' --width 640 --height 360");
  ASSERT_EQ(r.status, 0) << r.err;
  std::string png = ReadWholeFile(dir_.File("pie.png")).value_or("");
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(BigEndian(png, 16), 640u);
  EXPECT_EQ(BigEndian(png, 20), 360u);

  r = Chart("3 '" + dir_.File("age.png") + "' --where '3>30'");
  ASSERT_EQ(r.status, 0) << r.err;
  png = ReadWholeFile(dir_.File("age.png")).value_or("");
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(BigEndian(png, 16), 800u);
  EXPECT_EQ(BigEndian(png, 20), 600u);

  r = Chart("1 '" + dir_.File("pie.jpg") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string jpg = ReadWholeFile(dir_.File("pie.jpg")).value_or("");
  ASSERT_GT(jpg.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(jpg[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(jpg[1]), 0xD8);

  r = Chart("1 '" + dir_.File("pie.svg") + "' --width 500 --height 400");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string svg = ReadWholeFile(dir_.File("pie.svg")).value_or("");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("width=\"500"), std::string::npos) << svg.substr(0, 400);
  // The title and the labels are text of the drawing.
  EXPECT_NE(svg.find("Smoke?"), std::string::npos);
  EXPECT_NE(svg.find("Other"), std::string::npos);
}

TEST_F(ChartCliTest, TextQuestionsHeadersAndUnknownIdsHaveNoChart) {
  for (const char* id : {"2", "4", "99"}) {
    const testing::CliRun r = Chart(std::string(id) + " '" + dir_.File("c.png") + "'");
    EXPECT_EQ(r.status, 1) << id;
    EXPECT_NE(r.err, "") << id;
    EXPECT_FALSE(FileExists(dir_.File("c.png"))) << id;
  }
  const testing::CliRun r = Chart("2 '" + dir_.File("c.png") + "'");
  EXPECT_NE(r.err.find("Text question"), std::string::npos) << r.err;
}

TEST_F(ChartCliTest, WrongArgumentsAreRefused) {
  const std::string out = " '" + dir_.File("c.png") + "'";
  for (const std::string& arguments :
       {std::string("1"), "x" + out, "1 '" + dir_.File("c.gif") + "'", "1" + out + " --width 0",
        "1" + out + " --height big", "1" + out + " --width", "1" + out + " extra",
        "1" + out + " --where '9=1'"}) {
    const testing::CliRun r = Chart(arguments);
    EXPECT_EQ(r.status, 2) << arguments;
    EXPECT_FALSE(FileExists(dir_.File("c.png"))) << arguments;
  }
}

}  // namespace
}  // namespace quorvant
