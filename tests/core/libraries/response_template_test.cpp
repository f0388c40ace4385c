#include "core/libraries/response_template.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/shell/profile_file.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;
using testing::WriteFileOrDie;

class ResponseTemplateTest : public testing::CoreTest {
 protected:
  std::string data_dir() const { return dir_.path() + "/"; }
};

TEST_F(ResponseTemplateTest, ValuesComeInFileOrder) {
  WriteFileOrDie(dir_.File("t.qvt"), "[Details]\nTitle=Mixed\n[Values]\n2=second\n1=first\n3=\n");
  const TResponseTemplate t = ReadResponseTemplate(dir_.File("t.qvt"));
  EXPECT_EQ(t.title, "Mixed");
  EXPECT_EQ(t.values, (std::vector<std::string>{"second", "first", ""}));
}

TEST_F(ResponseTemplateTest, MissingTitleOrFileReadsAsUnknown) {
  WriteFileOrDie(dir_.File("t.qvt"), "[Values]\n1=a\n");
  EXPECT_EQ(ReadResponseTemplate(dir_.File("t.qvt")).title, "Unknown");
  const TResponseTemplate none = ReadResponseTemplate(dir_.File("none.qvt"));
  EXPECT_EQ(none.title, "Unknown");
  EXPECT_TRUE(none.values.empty());
}

TEST_F(ResponseTemplateTest, WriteReplacesTheWholeValueList) {
  const std::string path = dir_.File("t.qvt");
  WriteResponseTemplate(path, {"Five", {"1", "2", "3", "4", " five "}});
  WriteResponseTemplate(path, {"Two", {"a", "b"}});
  EXPECT_EQ(ReadFileOrDie(path), "[Details]\r\nTitle=Two\r\n\r\n[Values]\r\n1=a\r\n2=b\r\n");
  WriteResponseTemplate(path, {"Padded", {" five "}});
  EXPECT_EQ(ReadResponseTemplate(path).values, std::vector<std::string>{" five "});
  EXPECT_THROW(WriteResponseTemplate(dir_.File("no/dir/t.qvt"), {"x", {}}), EProfileWriteError);
}

TEST_F(ResponseTemplateTest, FreeNameTakesTheSmallestUnusedNumber) {
  EXPECT_EQ(FreeResponseTemplateName(data_dir()), "rtemp0.qvt");
  WriteFileOrDie(dir_.File("rtemp0.qvt"), "");
  WriteFileOrDie(dir_.File("rtemp1.qvt"), "");
  EXPECT_EQ(FreeResponseTemplateName(data_dir()), "rtemp2.qvt");
  std::filesystem::remove(dir_.File("rtemp0.qvt"));
  EXPECT_EQ(FreeResponseTemplateName(data_dir()), "rtemp0.qvt");
}

TEST_F(ResponseTemplateTest, DefaultTemplatesAreWrittenOnlyWhenMissing) {
  WriteFileOrDie(dir_.File("yesno.qvt"), "[Details]\nTitle=Edited\n");
  CreateDefaultResponseTemplates(data_dir());
  EXPECT_EQ(ReadResponseTemplate(dir_.File("yesno.qvt")).title, "Edited");
  const TResponseTemplate agree = ReadResponseTemplate(dir_.File("agree.qvt"));
  EXPECT_EQ(agree.title, "Agree / Disagree");
  EXPECT_EQ(agree.values, (std::vector<std::string>{"Strongly Agree", "Agree", "Neutral",
                                                    "Disagree", "Strongly Disagree"}));
  std::filesystem::remove(dir_.File("yesno.qvt"));
  CreateDefaultResponseTemplates(data_dir());
  EXPECT_EQ(ReadResponseTemplate(dir_.File("yesno.qvt")).values,
            (std::vector<std::string>{"Yes", "No", "Don't Know"}));
  CreateDefaultResponseTemplates(dir_.File("missing/"));  // silent
}

}  // namespace
}  // namespace quorvant
