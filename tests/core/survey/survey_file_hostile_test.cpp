// Malformed and hostile survey files: each gives the defined error or
// defaults, never a crash or a hang.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "core/survey/survey.h"
#include "core/survey/survey_exception.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class HostileSurveyFileTest : public testing::CoreTest {
 protected:
  // Loads the contents; returns the error message, or "" when it loaded.
  // The survey it loaded into stays in survey_.
  std::string TryLoad(const std::string& contents) {
    const std::string path = dir_.File("hostile.qvx");
    testing::WriteFileOrDie(path, contents);
    survey_ = std::make_unique<TSurvey>(settings_);
    survey_->Clear();
    try {
      survey_->Load(path);
    } catch (const ESurveyException& e) {
      return e.what();
    }
    return "";
  }
  std::unique_ptr<TSurvey> survey_;
  std::string Malformed() {
    return "Error reading file " + dir_.File("hostile.qvx") + ". File incorrectly formatted.";
  }
};

TEST_F(HostileSurveyFileTest, BinaryJunkLoadsAsAnEmptySurvey) {
  std::mt19937 random(7);
  std::string junk(1 << 16, '\0');
  for (char& c : junk) c = static_cast<char>(random());
  EXPECT_EQ(TryLoad(junk), "");
  EXPECT_EQ(survey_->ItemCount(), 0);
}

TEST_F(HostileSurveyFileTest, AHugeLineIsReadWhole) {
  const std::string name(50 << 20, 'n');
  EXPECT_EQ(TryLoad("[Details]\nName=" + name + "\n"), "");
  EXPECT_EQ(survey_->Name().size(), name.size());
}

TEST_F(HostileSurveyFileTest, QuestionCountsThatLie) {
  EXPECT_EQ(TryLoad("[Details]\nQuestionCount=-5\n"), "");
  EXPECT_EQ(TryLoad("[Details]\nQuestionCount=2147483647\n[Question 1]\nID=1\n"), Malformed());
  EXPECT_EQ(TryLoad("[Details]\nQuestionCount=99999999999999\n"), "");  // not a number: 0
  EXPECT_EQ(TryLoad("[Question 1]\nID=1\n"), "");  // no Details: no items
}

TEST_F(HostileSurveyFileTest, IdOfMinusOneIsRefused) {
  EXPECT_EQ(TryLoad("[Details]\nQuestionCount=1\n[Question 1]\nID=-1\n"), Malformed());
  EXPECT_EQ(TryLoad("[Details]\nQuestionCount=1\n[Question 1]\nID=abc\n"), Malformed());
}

TEST_F(HostileSurveyFileTest, InvalidUtf8IsKeptByteForByte) {
  const std::string odd = "Caf\xE9 \xFF\xFE \xC3";
  EXPECT_EQ(TryLoad("[Details]\nName=" + odd + "\nQuestionCount=1\n[Question 1]\nID=1\nText=" +
                        odd + "\nOptions=" + odd + "|\n"),
            "");
  EXPECT_EQ(survey_->Name(), odd);
  EXPECT_EQ(survey_->Item(0).Text, odd);
  EXPECT_EQ(survey_->Item(0).OptionLines(), std::vector<std::string>{odd});
}

TEST_F(HostileSurveyFileTest, OddValuesFallBackToDefaults) {
  EXPECT_EQ(TryLoad("[Details]\nSamplingPercent=lots\nLastUpdated=99/99/9999\n"
                    "PubHistory=\"\"\"unbalanced\nQuestionCount=1\n[Question 1]\nID=4\n"
                    "Style=999\nMinValue=0x\nLengthOfResponse=-2147483648\n"),
            "");
  EXPECT_EQ(survey_->SamplingPercent(), 10);
  EXPECT_EQ(survey_->LastUpdated(), time());
  EXPECT_EQ(survey_->Item(0).Style, 999);
  EXPECT_EQ(survey_->Item(0).MinValue, -1);
  EXPECT_EQ(survey_->Item(0).LengthOfResponse, -2147483647 - 1);
}

TEST_F(HostileSurveyFileTest, AFolderOrUnreadableFileIsNotASurvey) {
  TSurvey s(settings_);
  s.Clear();
  EXPECT_THROW(s.Load(dir_.path()), ESurveyException);
}

}  // namespace
}  // namespace quorvant
