// The "Details" section of the survey file: every key, with random values,
// written and read back; and a file written by an earlier build read back.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <sstream>
#include <string>

#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;

// Pieces that the profile rules treat specially (blanks, quotes, comments,
// brackets, separators of the comma and bar lists) besides plain letters and
// characters of more than one byte.
constexpr const char* kPieces[] = {"a", "Z", "7", " ", "\"", "'", "=",  "[", "]", ";",
                                   "#", "&", "|", ",", "~",  "%", "\\", "/", "é", "漢"};

std::string RandomText(std::mt19937& rng) {
  std::string text;
  for (unsigned n = rng() % 13; n > 0; --n) text += kPieces[rng() % std::size(kPieces)];
  return text;
}

int RandomInteger(std::mt19937& rng) {
  switch (rng() % 4) {
    case 0:
      return static_cast<int>(rng() % 201) - 100;
    case 1:
      return static_cast<int>(rng());  // the whole range, both signs
    case 2:
      return rng() % 2 ? 2147483647 : -2147483647 - 1;
    default:
      return 0;
  }
}

bool RandomBool(std::mt19937& rng) { return rng() % 2 == 1; }

// A whole-second date-time from 1900 to 2099; now and then midnight, which is
// written as a date alone.
TDateTime RandomStamp(std::mt19937& rng) {
  DateTimeParts p;
  p.year = 1900 + static_cast<int>(rng() % 200);
  p.month = 1 + static_cast<int>(rng() % 12);
  p.day = 1 + static_cast<int>(rng() % 28);
  if (rng() % 4 != 0) {
    p.hour = static_cast<int>(rng() % 24);
    p.minute = static_cast<int>(rng() % 60);
    p.second = static_cast<int>(rng() % 60);
  }
  return EncodeDateTime(p).value();
}

// Sets every field that the "Details" section holds to a random value.
void FillRandomly(TSurvey& s, std::mt19937& rng) {
  s.SetName(RandomText(rng));
  s.SetAuthor(RandomText(rng));
  s.SetPassword(RandomText(rng));
  s.SetUniqueName(RandomText(rng));
  s.SetInstructions(RandomText(rng) + "\r\n" + RandomText(rng));
  s.SetFinalComments(RandomText(rng));
  s.SetPublishMethod(RandomInteger(rng));
  s.SetDisplayTemplate(RandomText(rng));
  s.SetProcessResponses(RandomInteger(rng));
  s.SetAccountID(RandomText(rng));
  s.SetServerURL(RandomText(rng));
  s.SetResultURL(RandomText(rng));
  s.SetEMailAddress(RandomText(rng));
  s.SetNotificationFile(RandomText(rng));
  s.SetNotifyMessage(RandomText(rng));
  s.SetAllAddresses(RandomBool(rng));
  s.SetAttachSurvey(RandomBool(rng));
  s.SetSamplingPercent(RandomInteger(rng));
  s.SetIncomingDomain(RandomBool(rng));
  s.SetDomain(RandomText(rng));
  s.SetOnly1Email(RandomBool(rng));
  s.SetOnly1IP(RandomBool(rng));
  s.SetLimitByIP(RandomBool(rng));
  s.SetServerStatus(RandomText(rng));
  s.SetEMailStatus(RandomText(rng));
  s.SetHTMLStatus(RandomText(rng));
  s.SetHTMLLastUpdate(RandomStamp(rng));
  s.SetRegDate(rng() % 3 == 0 ? 0 : RandomStamp(rng));
  s.SetHTMLFileName(RandomText(rng));
  s.SetSRLastUpdate(RandomText(rng));
  s.SetSRServerUpdate(RandomStamp(rng));
  s.SetSRResponseCount(RandomInteger(rng));
  s.SetSRResponseFile(RandomText(rng));
  s.SetDataFileName(RandomText(rng));
  s.SetIPAddresses(RandomText(rng));
  for (unsigned n = rng() % 3; n > 0; --n) s.AddHistory(RandomText(rng));
  // Items added and some taken away again, so that the count and the last
  // identifier differ.
  for (unsigned n = rng() % 4; n > 0; --n) {
    s.AddItem(RandomText(rng), kStyleText, 0, 0, 0, false, 0, "");
  }
  for (unsigned n = rng() % 2; n > 0 && s.ItemCount() > 0; --n) s.DeleteItem(0);
}

std::string StampState(TDateTime value) {
  char exact[40];
  std::snprintf(exact, sizeof exact, "%.17g", value);
  return DateTimeToText(value).value_or("?") + " (" + exact + ")";
}

// Every field of the "Details" section, one line each, save LastUpdated,
// which a load sets to the time of loading.
std::string DetailsState(const TSurvey& s) {
  std::ostringstream out;
  out << "Name=" << s.Name() << "\nAuthor=" << s.Author() << "\nPassword=" << s.Password()
      << "\nUniqueName=" << s.UniqueName() << "\nQuestionCount=" << s.ItemCount()
      << "\nLastID=" << s.LastID() << "\nInstructions=" << s.InstructionsEscaped()
      << "\nFinalComments=" << s.FinalCommentsEscaped() << "\nPublishMethod=" << s.PublishMethod()
      << "\nDisplayTemplate=" << s.DisplayTemplate()
      << "\nProcessResponses=" << s.ProcessResponses() << "\nAccountID=" << s.AccountID()
      << "\nServerURL=" << s.ServerURL() << "\nResultURL=" << s.ResultURL()
      << "\nEMailAddress=" << s.EMailAddress() << "\nNotificationFile=" << s.NotificationFile()
      << "\nNotifyMessage=" << s.NotifyMessage() << "\nAllAddresses=" << s.AllAddresses()
      << "\nAttachSurvey=" << s.AttachSurvey() << "\nSamplingPercent=" << s.SamplingPercent()
      << "\nIncomingDomain=" << s.IncomingDomain() << "\nDomain=" << s.Domain()
      << "\nOnly1Email=" << s.Only1Email() << "\nOnly1IP=" << s.Only1IP()
      << "\nLimitByIP=" << s.LimitByIP() << "\nServerStatus=" << s.ServerStatus()
      << "\nHTMLLastUpdate=" << StampState(s.HTMLLastUpdate())
      << "\nSRServerUpdate=" << StampState(s.SRServerUpdate())
      << "\nRegDate=" << StampState(s.RegDate()) << "\nEMailStatus=" << s.EMailStatus()
      << "\nHTMLStatus=" << s.HTMLStatus() << "\nHTMLFileName=" << s.HTMLFileName()
      << "\nSRLastUpdate=" << s.SRLastUpdate() << "\nSRResponseCount=" << s.SRResponseCount()
      << "\nSRResponseFile=" << s.SRResponseFile() << "\nDataFileName=" << s.DataFileName()
      << "\nIPAddresses=" << s.IPAddresses() << "\n";
  // By lines: the file ends the history in a line break, which the
  // placeholder of a new survey has not.
  for (const std::string& line : SplitLines(s.PubHistory())) out << "PubHistory: " << line << "\n";
  for (int i = 0; i < s.ItemCount(); ++i) {
    out << "Item " << s.Item(i).ID << "=" << s.Item(i).Text << "\n";
  }
  return out.str();
}

// The file without its LastUpdated line, which a load replaces with now.
std::string WithoutLastUpdated(const std::string& file) {
  const size_t start = file.find("\r\nLastUpdated=");
  if (start == std::string::npos) return file;
  return file.substr(0, start) + file.substr(file.find("\r\n", start + 2));
}

using SurveyDetailsTest = testing::CoreTest;

TEST_F(SurveyDetailsTest, RandomValuesOfEveryKeySurviveSaveAndLoad) {
  for (unsigned seed = 1; seed <= 200; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    TSurvey s(settings_);
    s.Clear();
    FillRandomly(s, rng);
    const std::string path = dir_.File("r" + std::to_string(seed) + ".qvx");
    s.SaveAs(path);
    const std::string written = ReadFileOrDie(path);
    TSurvey t(settings_);
    t.Clear();
    t.Load(path);
    ASSERT_EQ(DetailsState(t), DetailsState(s));
    EXPECT_EQ(t.LastUpdated(), time());
    EXPECT_FALSE(t.Modified());
    // Written again, the loaded survey gives the same file.
    t.Save();
    ASSERT_EQ(WithoutLastUpdated(ReadFileOrDie(path)), WithoutLastUpdated(written));
  }
}

// The file was written by the build before the section's keys came from one
// table, from the survey that seed 20261209 fills: today's reader must find
// the same values in it, and today's writer must give the same bytes.
TEST_F(SurveyDetailsTest, FileOfAnEarlierBuildReadsAndWritesTheSame) {
  const std::string fixture =
      std::string(QUORVANT_SOURCE_DIR) + "/tests/core/survey/data/random_details.qvx";
  std::mt19937 rng(20261209);
  TSurvey expected(settings_);
  expected.Clear();
  FillRandomly(expected, rng);
  TSurvey t(settings_);
  t.Clear();
  t.Load(fixture);
  EXPECT_EQ(DetailsState(t), DetailsState(expected));
  t.SaveAs(dir_.File("again.qvx"));
  EXPECT_EQ(WithoutLastUpdated(ReadFileOrDie(dir_.File("again.qvx"))),
            WithoutLastUpdated(ReadFileOrDie(fixture)));
}

}  // namespace
}  // namespace quorvant
