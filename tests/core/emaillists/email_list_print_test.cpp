// The printed e-mail list, drawn on a canvas that records every call.
#include "core/emaillists/email_list_print.h"

#include <gtest/gtest.h>

#include "core/emaillists/email_list.h"
#include "core/reports/page_canvas.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

// Every character is 10 wide ("a" too), every line 20 high, bold or not.
class RecordingCanvas : public PageCanvas {
 public:
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}

  int PageWidth() const override { return width_; }
  int PageHeight() const override { return height_; }
  void SetTextStyle(const TextStyle& style) override { bold_ = style.bold; }
  int TextWidth(std::string_view text) override { return 10 * static_cast<int>(text.size()); }
  int TextHeight(std::string_view) override { return 20; }
  void DrawText(int x, int y, std::string_view text) override {
    Log((bold_ ? "B " : "T ") + std::to_string(x) + "," + std::to_string(y) + " " +
        std::string(text));
  }
  void SetPenWidth(int width) override { pen_ = width; }
  void DrawLine(int x1, int y1, int x2, int y2) override {
    Log("L" + std::to_string(pen_) + " " + std::to_string(x1) + "-" + std::to_string(x2) + " @" +
        std::to_string(y1) + (y1 == y2 ? "" : " slanted to " + std::to_string(y2)));
  }
  void DrawCircle(int, int, int) override { Log("circle"); }
  void DrawSquare(int, int, int) override { Log("square"); }
  void NewPage() override { Log("-- new page"); }

  std::string log;

 private:
  void Log(const std::string& line) { log += line + "\n"; }
  int width_, height_;
  bool bold_ = false;
  int pen_ = 1;
};

class EmailPrintTest : public testing::CoreTest {
 protected:
  void SetUp() override { ASSERT_TRUE(list_.Create(dir_.File("p.eml"))); }
  testing::ScriptedPrompts prompts_;
  TEmailList list_{prompts_};
};

TEST_F(EmailPrintTest, HeaderRecordsAndFooterOnOnePage) {
  list_.AppendAll({{"Zed", "Young", "zy@x"}, {"Amy", "Brown", "ab@x"}});
  list_.SetSortField(0);
  RecordingCanvas canvas(1000, 1000);
  PrintEmailList(list_, canvas);
  // Columns start at 10, 10 + 30 characters, 10 + 60 characters.
  EXPECT_EQ(canvas.log, "B 10,10 Email List Manager - " + list_.path() +
                            "\n"
                            "L4 10-990 @50\n"
                            "T 10,70 First Name *\nT 310,70 Last Name\nT 610,70 Email Address\n"
                            "L4 10-990 @105\n"
                            "T 10,115 Amy\nT 310,115 Brown\nT 610,115 ab@x\nL1 10-990 @145\n"
                            "T 10,155 Zed\nT 310,155 Young\nT 610,155 zy@x\nL1 10-990 @185\n"
                            "L4 10-990 @965\nT 470,975 Page 1\n");
}

// A page breaks once a record line has passed height - 2 x 20 - 15, so the
// line that passes it is still printed on the page; the last page has no
// break after it.
TEST_F(EmailPrintTest, PagesBreakAfterTheLineThatPassesTheLimit) {
  std::vector<EmailRecord> people;
  for (int i = 0; i < 7; ++i) people.push_back({"F" + std::to_string(i), "L", "e"});
  list_.AppendAll(people);
  // Records start at 115 and take 40 each; the limit is 300 - 55 = 245, so
  // page 1 holds records at 115, 155, 195 and 235 (ending at 275).
  RecordingCanvas canvas(500, 300);
  PrintEmailList(list_, canvas);
  std::string pages;
  for (size_t pos = 0; (pos = canvas.log.find("Page ", pos)) != std::string::npos; ++pos) {
    pages += canvas.log.substr(pos, 6) + " ";
  }
  EXPECT_EQ(pages, "Page 1 Page 2 ");
  const std::string page2 = canvas.log.substr(canvas.log.find("-- new page"));
  EXPECT_NE(canvas.log.find("T 10,235 F3\n"), std::string::npos);
  EXPECT_NE(page2.find("T 10,115 F4\n"), std::string::npos);
  EXPECT_NE(page2.find("T 10,195 F6\n"), std::string::npos);
  EXPECT_EQ(canvas.log.find("-- new page"), canvas.log.rfind("-- new page"));
}

TEST_F(EmailPrintTest, EmptyListPrintsOnePageOfHeaders) {
  RecordingCanvas canvas(500, 300);
  PrintEmailList(list_, canvas);
  EXPECT_EQ(canvas.log.find("-- new page"), std::string::npos);
  EXPECT_NE(canvas.log.find("Last Name *"), std::string::npos);
  EXPECT_NE(canvas.log.find("Page 1"), std::string::npos);
}

}  // namespace
}  // namespace quorvant
