// The survey settings as the properties dialog reads and writes them, and
// the defaults it stores for new surveys.
#include "core/survey/survey_properties.h"

#include <gtest/gtest.h>

#include "core/shell/settings_keys.h"
#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class SurveyPropertiesTest : public testing::CoreTest {
 protected:
  // Every field set to a value other than its default.
  SurveyProperties Edited() {
    SurveyProperties p;
    p.name = "Canteen";
    p.author = "Ann";
    p.password = "secret";
    p.instructions = "First line\nSecond line";
    p.final_comments = "Thanks";
    p.display_template = "compact.qvg";
    p.server_type = 1;
    p.server_url = "http://127.0.0.1:8088/qvx";
    p.account_id = "ACC-7";
    p.result_url = "http://example.com/thanks.html";
    p.notification_file = "/data/staff.eml";
    p.notify_lines = {"Dear <FirstName>,", "", "please answer, thanks"};
    p.all_addresses = true;
    p.sampling_percent = 35;
    p.attach_survey = true;
    p.only1_email = true;
    p.only1_ip = true;
    p.limit_by_ip = true;
    p.ip_addresses = {"192.168.10", "10.0.0.1"};
    p.check_answers = true;
    return p;
  }

  TSurvey survey_{settings_};
};

TEST_F(SurveyPropertiesTest, ApplyWritesEveryFieldAndReadGivesItBack) {
  survey_.SetModified(false);
  ApplySurveyProperties(Edited(), survey_);
  EXPECT_TRUE(survey_.Modified());
  EXPECT_EQ(survey_.Name(), "Canteen");
  EXPECT_EQ(survey_.Author(), "Ann");
  EXPECT_EQ(survey_.Password(), "secret");
  EXPECT_EQ(survey_.InstructionsEscaped(), "First line&crlf;Second line");
  EXPECT_EQ(survey_.FinalCommentsEscaped(), "Thanks");
  EXPECT_EQ(survey_.DisplayTemplate(), "compact.qvg");
  EXPECT_EQ(survey_.ProcessResponses(), 1);
  EXPECT_EQ(survey_.ServerURL(), "http://127.0.0.1:8088/qvx");
  EXPECT_EQ(survey_.AccountID(), "ACC-7");
  EXPECT_EQ(survey_.ResultURL(), "http://example.com/thanks.html");
  EXPECT_EQ(survey_.NotificationFile(), "/data/staff.eml");
  EXPECT_EQ(survey_.NotifyMessage(), "\"Dear <FirstName>,\",,\"please answer, thanks\"");
  EXPECT_TRUE(survey_.AllAddresses());
  EXPECT_EQ(survey_.SamplingPercent(), 35);
  EXPECT_TRUE(survey_.AttachSurvey());
  EXPECT_TRUE(survey_.Only1Email());
  EXPECT_TRUE(survey_.Only1IP());
  EXPECT_TRUE(survey_.LimitByIP());
  EXPECT_EQ(survey_.IPAddresses(), "192.168.10,10.0.0.1");
  EXPECT_TRUE(survey_.CheckAnswers());

  const SurveyProperties back = ReadSurveyProperties(survey_);
  const SurveyProperties edited = Edited();
  EXPECT_EQ(back.instructions, edited.instructions);
  EXPECT_EQ(back.notify_lines, edited.notify_lines);
  EXPECT_EQ(back.ip_addresses, edited.ip_addresses);
  EXPECT_EQ(back.account_id, edited.account_id);
  EXPECT_EQ(back.sampling_percent, edited.sampling_percent);
  EXPECT_TRUE(back.check_answers);
}

TEST_F(SurveyPropertiesTest, AccountIdBelongsToTheServiceOnly) {
  survey_.SetAccountID("typed earlier");
  EXPECT_EQ(ReadSurveyProperties(survey_).account_id, "");  // server type 0
  SurveyProperties p = Edited();
  p.server_type = 0;
  ApplySurveyProperties(p, survey_);
  EXPECT_EQ(survey_.ProcessResponses(), 0);
  EXPECT_EQ(survey_.AccountID(), "");
}

TEST_F(SurveyPropertiesTest, NoChosenTemplateKeepsTheSurveys) {
  survey_.SetDisplayTemplate("gone.qvg");
  SurveyProperties p = Edited();
  p.display_template.clear();
  ApplySurveyProperties(p, survey_);
  EXPECT_EQ(survey_.DisplayTemplate(), "gone.qvg");
}

TEST_F(SurveyPropertiesTest, SwitchingTheAddressLimitOffKeepsThePrefixes) {
  SurveyProperties p = Edited();
  ApplySurveyProperties(p, survey_);
  p.limit_by_ip = false;
  ApplySurveyProperties(p, survey_);
  EXPECT_FALSE(survey_.LimitByIP());
  EXPECT_EQ(survey_.IPAddresses(), "192.168.10,10.0.0.1");
}

TEST_F(SurveyPropertiesTest, OutOfRangeValuesFromAFileAreShownInRange) {
  survey_.SetSamplingPercent(0);
  survey_.SetProcessResponses(7);
  const SurveyProperties p = ReadSurveyProperties(survey_);
  EXPECT_EQ(p.sampling_percent, 1);
  EXPECT_EQ(p.server_type, 0);
  survey_.SetSamplingPercent(250);
  EXPECT_EQ(ReadSurveyProperties(survey_).sampling_percent, 100);
}

TEST_F(SurveyPropertiesTest, StoredDefaultsAreTakenByNewSurveys) {
  EXPECT_FALSE(TSurvey(settings_).CheckAnswers());  // until the defaults say otherwise
  ApplySurveyProperties(Edited(), survey_);
  StoreSurveyDefaults(survey_, settings_);
  TSurvey fresh(settings_);
  EXPECT_EQ(fresh.Author(), "Ann");
  EXPECT_EQ(fresh.InstructionsEscaped(), "First line&crlf;Second line");
  EXPECT_EQ(fresh.FinalCommentsEscaped(), "Thanks");
  EXPECT_EQ(fresh.DisplayTemplate(), "compact.qvg");
  EXPECT_EQ(fresh.ServerURL(), "http://127.0.0.1:8088/qvx");
  EXPECT_TRUE(fresh.Only1Email());
  EXPECT_TRUE(fresh.Only1IP());
  EXPECT_TRUE(fresh.LimitByIP());
  EXPECT_EQ(fresh.IPAddresses(), "192.168.10,10.0.0.1");
  EXPECT_TRUE(fresh.CheckAnswers());
  // Not part of the defaults.
  EXPECT_EQ(fresh.Name(), "(Untitled)");
  EXPECT_EQ(fresh.Password(), "");
  EXPECT_EQ(fresh.AccountID(), "");
  EXPECT_EQ(fresh.ResultURL(), "");
}

TEST_F(SurveyPropertiesTest, EmptyAddressListIsStoredAsAnEmptyDefault) {
  settings_.Write(settings::kDefaultIPAddresses, "1.2.3");
  StoreSurveyDefaults(survey_, settings_);
  EXPECT_EQ(settings_.ReadString("Defaults", "IPAddresses", "absent"), "");
}

TEST_F(SurveyPropertiesTest, SamplingLabel) {
  EXPECT_EQ(SamplingLabel(10), "10% of list");
  EXPECT_EQ(SamplingLabel(1), "1% of list");
}

}  // namespace
}  // namespace quorvant
