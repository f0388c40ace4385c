// quorvant-cli report, run as the real program: the pages and chart images
// of a whole report, one question's page alone, and a missing directory
// told before anything is written. The chart images are checked to be
// baseline JPEGs carrying libjpeg's quality-90 tables, of the chart's size.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_runner.h"
#include "core/responses/response_table.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

// The example tables of the JPEG standard (Annex K), in natural order.
constexpr int kLuminance[64] = {16,  11,  10,  16,  24, 40, 51,  61,  12,  12,  14,  19,  26,
                                58,  60,  55,  14,  13, 16, 24,  40,  57,  69,  56,  14,  17,
                                22,  29,  51,  87,  80, 62, 18,  22,  37,  56,  68,  109, 103,
                                77,  24,  35,  55,  64, 81, 104, 113, 92,  49,  64,  78,  87,
                                103, 121, 120, 101, 72, 92, 95,  98,  112, 100, 103, 99};
constexpr int kChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                  24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
// Position in natural order of the k-th coefficient in zig-zag order.
constexpr int kZigZag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                             12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                             35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                             58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// A table as libjpeg scales it for a quality, in the zig-zag order a DQT
// segment stores it.
std::vector<int> Scaled(const int (&table)[64], int quality) {
  const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
  std::vector<int> out;
  for (int k = 0; k < 64; ++k) {
    out.push_back(std::clamp((table[kZigZag[k]] * scale + 50) / 100, 1, 255));
  }
  return out;
}

struct JpegFacts {
  std::vector<int> frame_markers;  // the SOFn markers met
  std::vector<std::vector<int>> tables;
  int width = 0, height = 0, components = 0;
};

// Walks the marker segments up to the first scan.
JpegFacts Inspect(const std::string& jpeg) {
  JpegFacts facts;
  auto byte = [&](size_t at) { return static_cast<unsigned char>(jpeg.at(at)); };
  if (jpeg.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) return facts;
  size_t at = 2;
  while (at + 4 <= jpeg.size() && byte(at) == 0xFF) {
    const int marker = byte(at + 1);
    const size_t length = byte(at + 2) << 8 | byte(at + 3);
    const size_t body = at + 4;
    if (marker == 0xDA) break;
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      facts.frame_markers.push_back(marker);
      facts.height = byte(body + 1) << 8 | byte(body + 2);
      facts.width = byte(body + 3) << 8 | byte(body + 4);
      facts.components = byte(body + 5);
    }
    if (marker == 0xDB) {
      for (size_t p = body; p + 65 <= at + 2 + length; p += 65) {
        EXPECT_EQ(byte(p) >> 4, 0) << "8-bit table expected";
        std::vector<int> table;
        for (size_t k = 0; k < 64; ++k) table.push_back(byte(p + 1 + k));
        facts.tables.push_back(table);
      }
    }
    at += 2 + length;
  }
  return facts;
}

class ReportCliTest : public testing::CoreTest {
 protected:
  ReportCliTest() {
    survey_.SetFileName(dir_.File("P.qvx"));
    survey_.SetName("Habits");
    survey_.AddItem("About you", kStyleHeader, 0, 0, 0, false, 0, "");
    survey_.AddItem("Smoke?", kStyleSingleChoice, 0, 0, 0, true, 0,
                    JoinCommaText({"Y~Yes", "N~No"}));
    survey_.AddItem("Why?", kStyleText, 0, 0, 0, false, -1, "");
    survey_.AddItem("Age", kStyleNumeric, 10, 40, 20, false, 0, "");
    TResponseTable responses(prompts_);
    EXPECT_TRUE(responses.Create(survey_));
    const char* rows[][3] = {
        {"0", "<i>calm</i>", "25"}, {"1", "", "33"}, {"Oth", "x & y", "38"}, {"0", "", "21"}};
    for (const auto& row : rows) {
      responses.table().Append({{"QVX2", row[0]}, {"QVX3", row[1]}, {"QVX4", row[2]}});
    }
    responses.Close();
    survey_.Save();
    std::filesystem::create_directory(dir_.File("site"));
  }
  testing::CliRun Report(const std::string& arguments) {
    return testing::RunCli(dir_.path(), "report '" + dir_.File("P.qvx") + "' " + arguments);
  }
  std::string Site(const std::string& name) { return dir_.File("site/" + name); }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
};

TEST_F(ReportCliTest, WritesEveryPageAndBaselineChartImages) {
  const testing::CliRun r = Report("'" + dir_.File("site") + "' --where '4>30'");
  ASSERT_EQ(r.status, 0) << r.err;
  // Where the pages went, in the words the window shows.
  EXPECT_EQ(r.out, "The web report was written to the folder " + dir_.File("site") +
                       " (4 pages); its index page is " + Site("P.htm") + ".\n");
  const std::string index = testing::ReadFileOrDie(Site("P.htm"));
  EXPECT_NE(index.find("\r\n<br><B>Active Filter:</B><br>\r\n"), std::string::npos);
  EXPECT_NE(index.find("\r\n3) <A HREF=\"P3.htm\">Age</A><p>\r\n"), std::string::npos);
  EXPECT_NE(index.find("<B>Responses Received: 4</B>"), std::string::npos);
  // Only the two records over 30 are read.
  const std::string memo = testing::ReadFileOrDie(Site("P2.htm"));
  EXPECT_NE(memo.find("\r\n<HR>\r\nx &amp; y<HR>\r\n<HR>Generated at "), std::string::npos) << memo;
  EXPECT_FALSE(std::filesystem::exists(Site("P2.jpg")));
  EXPECT_FALSE(std::filesystem::exists(Site("P0.htm")));

  for (const char* name : {"P1.jpg", "P3.jpg"}) {
    const JpegFacts jpeg = Inspect(testing::ReadFileOrDie(Site(name)));
    EXPECT_EQ(jpeg.frame_markers, std::vector<int>{0xC0}) << name << " is not baseline";
    EXPECT_EQ(jpeg.width, 800);
    EXPECT_EQ(jpeg.height, 600);
    EXPECT_EQ(jpeg.components, 3);
    ASSERT_EQ(jpeg.tables.size(), 2u) << name;
    EXPECT_EQ(jpeg.tables[0], Scaled(kLuminance, 90));
    EXPECT_EQ(jpeg.tables[1], Scaled(kChrominance, 90));
  }
}

TEST_F(ReportCliTest, OneQuestionAloneAndAMissingDirectory) {
  testing::CliRun r = Report("'" + dir_.File("site") + "' --question 2");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "The web page " + Site("P1.htm") + " and its chart image " + Site("P1.jpg") +
                       " were written.\n");
  const std::string page = testing::ReadFileOrDie(Site("P1.htm"));
  EXPECT_NE(page.find("<B>1) Smoke?</B>\r\n<p>\r\n<IMG SRC=\"P1.jpg\" BORDER=0>\r\n"
                      "<P><HR><B>Other Responses:</B><HR>\r\n<HR>Generated"),
            std::string::npos)
      << page;
  EXPECT_TRUE(std::filesystem::exists(Site("P1.jpg")));
  EXPECT_FALSE(std::filesystem::exists(Site("P.htm")));

  r = Report("'" + dir_.File("site") + "' --question 9");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "The survey has no question with the ID 9.\n");

  r = Report("'" + dir_.File("none") + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "The directory " + dir_.File("none") + " does not exist.\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("none")));

  EXPECT_EQ(Report("").status, 2);
  EXPECT_EQ(Report("'" + dir_.File("site") + "' --question x").status, 2);
}

}  // namespace
}  // namespace quorvant
