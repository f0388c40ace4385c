// The preferences as stored, the port rule and the data-directory rule.
#include "core/shell/preferences.h"

#include <gtest/gtest.h>

#include "core/shell/settings_keys.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class PreferencesTest : public testing::CoreTest {};

TEST_F(PreferencesTest, AbsentValuesGiveTheDefaults) {
  const Preferences p = ReadPreferences(settings_);
  EXPECT_FALSE(p.auto_reopen);
  EXPECT_FALSE(p.use_proxy);
  EXPECT_EQ(p.proxy_port, 0);
  EXPECT_EQ(p.outgoing_port, 25);
  EXPECT_EQ(p.email_system, 0);
  EXPECT_EQ(p.default_html, 0);
  for (bool warn : p.warn) EXPECT_TRUE(warn);
}

TEST_F(PreferencesTest, WrittenValuesComeBackAndWarningsAreStoredNegated) {
  Preferences p;
  p.auto_reopen = true;
  p.use_proxy = true;
  p.proxy_address = "proxy.lan";
  p.proxy_port = 3128;
  p.display_name = "Ann";
  p.reply_address = "ann@example.com";
  p.smtp_server = "127.0.0.1";
  p.outgoing_port = 2525;
  p.smtp_user = "ann";
  p.email_system = 1;
  p.gateway_text = "SMTP:";
  p.warn = {true, false, true, false};
  p.default_html = 1;
  WritePreferences(settings_, p);

  EXPECT_FALSE(settings_.ReadBool("Disabled Warnings", "DeleteQuestions", true));
  EXPECT_TRUE(settings_.ReadBool("Disabled Warnings", "UngroupSkipGroup", false));
  EXPECT_FALSE(settings_.ReadBool("Disabled Warnings", "ChangesToPublishedSurvey", true));
  EXPECT_TRUE(settings_.ReadBool("Disabled Warnings", "MoveSkipGroup", false));
  const Preferences back = ReadPreferences(settings_);
  EXPECT_TRUE(back.auto_reopen);
  EXPECT_TRUE(back.use_proxy);
  EXPECT_EQ(back.proxy_address, "proxy.lan");
  EXPECT_EQ(back.proxy_port, 3128);
  EXPECT_EQ(back.display_name, "Ann");
  EXPECT_EQ(back.reply_address, "ann@example.com");
  EXPECT_EQ(back.smtp_server, "127.0.0.1");
  EXPECT_EQ(back.outgoing_port, 2525);
  EXPECT_EQ(back.smtp_user, "ann");
  EXPECT_EQ(back.email_system, 1);
  EXPECT_EQ(back.gateway_text, "SMTP:");
  EXPECT_EQ(back.warn, p.warn);
  EXPECT_EQ(back.default_html, 1);

  // Switched on again, a warning is shown again.
  p.warn = {true, true, true, true};
  WritePreferences(settings_, p);
  EXPECT_FALSE(settings_.ReadBool("Disabled Warnings", "UngroupSkipGroup", true));
}

TEST_F(PreferencesTest, ValuesAreWrittenInTheirOrder) {
  WritePreferences(settings_, Preferences());
  const std::string file = testing::ReadFileOrDie(settings_.Path());
  const char* order[] = {"AutoReopen=",  "UseProxy=",     "ProxyAddress=",      "ProxyPort=",
                         "DisplayName=", "ReplyAddress=", "SMTPServerAddress=", "OutgoingPort=",
                         "SMTPUserID=",  "EmailSystem=",  "GatewayText=",       "DefaultHTML="};
  size_t last = 0;
  for (const char* key : order) {
    const size_t at = file.find(key);
    ASSERT_NE(at, std::string::npos) << key;
    EXPECT_GT(at, last) << key;
    last = at;
  }
}

TEST(PortNumberTest, WholeNumbersFrom0To65535Only) {
  const struct {
    const char* text;
    bool ok;
    int port;
  } cases[] = {
      {"25", true, 25},    {" 8080 ", true, 8080}, {"0", true, 0},    {"65535", true, 65535},
      {"65536", false, 7}, {"-1", false, 7},       {"", false, 7},    {"  ", false, 7},
      {"80a", false, 7},   {"abc", false, 7},      {"1.5", false, 7}, {"99999999999", false, 7},
  };
  for (const auto& c : cases) {
    int port = 7;
    EXPECT_EQ(ParsePortNumber(c.text, port), c.ok) << c.text;
    EXPECT_EQ(port, c.port) << c.text;
  }
  EXPECT_EQ(PortRangeMessage("proxy"), "The proxy port must be a whole number from 0 to 65535.");
}

TEST(DataDirectoryRuleTest, AlwaysEndsInASlash) {
  EXPECT_EQ(WithTrailingSlash("/home/ann/surveys"), "/home/ann/surveys/");
  EXPECT_EQ(WithTrailingSlash("/home/ann/surveys/"), "/home/ann/surveys/");
  EXPECT_EQ(HtmlExtensionFor(0), ".htm");
  EXPECT_EQ(HtmlExtensionFor(1), ".html");
  EXPECT_EQ(HtmlExtensionFor(5), ".html");
}

}  // namespace
}  // namespace quorvant
