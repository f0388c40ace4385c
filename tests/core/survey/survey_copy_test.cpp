#include "core/survey/survey_copy.h"

#include <gtest/gtest.h>

#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class SurveyCopyTest : public testing::CoreTest {
 protected:
  // A saved, published survey with a skip group and responses.
  void MakeSaved(TSurvey& s) {
    s.SetName("Canteen");
    s.SetAuthor("Facilities");
    s.SetInstructions("Line one\rLine two");
    s.SetServerURL("http://127.0.0.1:8088/qvx");
    const int head = s.AddItem("Head", kStyleSingleChoice, 1, 10, 1, true, -1, "a,b");
    s.AddItem("Member", kStyleText, 0, 0, 0, false, 40, "");
    s.Item(head).SkipGroupOfResponse = 1;
    s.Item(1).SkipGroupOfQuestion = s.Item(head).ID;
    s.SetHTMLStatus("HTML file generated");
    s.SetSRResponseCount(12);
    s.SaveAs(dir_.File("canteen.qvx"));
  }
};

TEST_F(SurveyCopyTest, ExtensionIsAppendedInLowerCaseUnlessPresent) {
  EXPECT_EQ(WithSurveyExtension("/a/survey"), "/a/survey.qvx");
  EXPECT_EQ(WithSurveyExtension("/a/survey.QvX"), "/a/survey.QvX");
  EXPECT_EQ(WithSurveyExtension("/a/survey.txt"), "/a/survey.txt.qvx");
  EXPECT_EQ(WithSurveyExtension("/a.qvx/survey"), "/a.qvx/survey.qvx");
}

TEST_F(SurveyCopyTest, UntitledAndOwnNameSaveInPlace) {
  TSurvey s(settings_);
  s.SetDataFileName("old.dbf");
  s.AddItem("Q", kStyleText, 0, 0, 0, false, -1, "");
  EXPECT_FALSE(SaveSurveyAs(s, dir_.File("new.qvx"), settings_));
  EXPECT_TRUE(s.HasFile());
  EXPECT_EQ(s.FileName(), dir_.File("new.qvx"));
  EXPECT_EQ(s.DataFileName(), "");
  EXPECT_FALSE(s.Modified());

  s.SetName("Renamed");
  EXPECT_FALSE(SaveSurveyAs(s, dir_.File("new.qvx"), settings_));
  TSurvey back(settings_);
  back.Load(dir_.File("new.qvx"));
  EXPECT_EQ(back.Name(), "Renamed");
}

TEST_F(SurveyCopyTest, AnotherNameWritesAFreshUnpublishedCopy) {
  TSurvey s(settings_);
  MakeSaved(s);
  const std::string copy_path = dir_.File("copy.qvx");
  EXPECT_TRUE(SaveSurveyAs(s, copy_path, settings_));
  EXPECT_EQ(s.FileName(), dir_.File("canteen.qvx"));  // the open survey is left alone

  TSurvey copy(settings_);
  copy.Load(copy_path);
  EXPECT_EQ(copy.Name(), "Canteen");
  EXPECT_EQ(copy.Author(), "Facilities");
  EXPECT_EQ(copy.Instructions(), "Line one\rLine two");
  EXPECT_EQ(copy.ServerURL(), "http://127.0.0.1:8088/qvx");
  // Made within the same second as the original, the copy still gets a name of its own.
  EXPECT_NE(copy.UniqueName(), s.UniqueName());
  EXPECT_EQ(copy.UniqueName(), "S981203141503");
  EXPECT_EQ(copy.HTMLStatus(), "HTML file not generated");
  EXPECT_EQ(copy.SRResponseCount(), 0);
  ASSERT_EQ(copy.ItemCount(), 2);
  EXPECT_EQ(copy.Item(0).SkipGroupOfResponse, -1);
  EXPECT_EQ(copy.Item(1).SkipGroupOfQuestion, -1);
  EXPECT_EQ(copy.Item(1).LengthOfResponse, 40);
  EXPECT_TRUE(copy.Item(0).IncludeOther);
}

TEST_F(SurveyCopyTest, FailedSaveLeavesTheSurveyAsItWas) {
  TSurvey s(settings_);
  s.SetDataFileName("keep.dbf");
  EXPECT_ANY_THROW(SaveSurveyAs(s, dir_.File("missing-folder/x.qvx"), settings_));
  EXPECT_EQ(s.FileName(), "Survey1.qvx");
  EXPECT_EQ(s.DataFileName(), "keep.dbf");
  EXPECT_FALSE(s.HasFile());
}

}  // namespace
}  // namespace quorvant
