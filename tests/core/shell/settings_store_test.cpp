#include "core/shell/settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/shell/settings_keys.h"
#include "core/shell/suppressible_warning.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;
using testing::ScriptedPrompts;
using testing::TempDir;

TEST(SettingsStore, DefaultsStandInForAbsentValues) {
  TempDir dir;
  SettingsStore store(dir.File("cfg/QuorvantBuilder.ini"));
  EXPECT_EQ(store.Read(settings::kWindowTop), -200);
  EXPECT_FALSE(store.Read(settings::kWindowMaximized));
  EXPECT_TRUE(store.Read(settings::kUseSolidBackground));
  EXPECT_EQ(store.Read(settings::kToColor), 0x808000);
  EXPECT_EQ(store.Read(settings::kOutgoingPort), 25);
  EXPECT_EQ(store.Read(settings::kDefaultDisplayTemplate), "default.qvg");
  EXPECT_EQ(store.ReadString(settings::kMRUList, settings::RecentFileName(3), "N/A"), "N/A");
}

TEST(SettingsStore, WritesPersistAtOnceAndOtherStoresSeeThem) {
  TempDir dir;
  const std::string path = dir.File("cfg/QuorvantBuilder.ini");
  SettingsStore a(path), b(path);
  EXPECT_EQ(b.Read(settings::kSMTPServerAddress), "");
  a.Write(settings::kSMTPServerAddress, "mail.example.org");
  a.Write(settings::kOutgoingPort, 587);
  a.Write(settings::kUseProxy, true);
  EXPECT_FALSE(a.WriteFailed());
  EXPECT_EQ(b.Read(settings::kSMTPServerAddress), "mail.example.org");
  EXPECT_EQ(b.Read(settings::kOutgoingPort), 587);
  EXPECT_TRUE(b.Read(settings::kUseProxy));
  EXPECT_EQ(ReadFileOrDie(path),
            "[Preferences]\r\nSMTPServerAddress=mail.example.org\r\nOutgoingPort=587\r\n"
            "UseProxy=1\r\n");
}

TEST(SettingsStore, WriteFailureIsSilentButVisible) {
  TempDir dir;
  SettingsStore store(dir.File("file-not-dir/x/QuorvantBuilder.ini"));
  testing::WriteFileOrDie(dir.File("file-not-dir"), "");
  store.Write(settings::kAutoReopen, true);
  EXPECT_TRUE(store.WriteFailed());
  EXPECT_FALSE(store.Read(settings::kAutoReopen));
}

TEST(SettingsStore, PathFollowsTheEnvironment) {
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("QUORVANT_CONFIG_DIR", "/tmp/qcfg/", 1);
  EXPECT_EQ(SettingsStore::DefaultPath(), "/tmp/qcfg/QuorvantBuilder.ini");
  ::unsetenv("QUORVANT_CONFIG_DIR");
  ::setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
  EXPECT_EQ(SettingsStore::DefaultPath(), "/tmp/xdg/QuorvantBuilder/QuorvantBuilder.ini");
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(SettingsStore::DefaultPath(), "/home/someone/.config/QuorvantBuilder/QuorvantBuilder.ini");
  EXPECT_EQ(settings::DefaultDataDirectory(), "/home/someone/.local/share/Quorvant/");
  ::setenv("HOME", home.c_str(), 1);
}

TEST(SettingsStore, DataDirectoryAlwaysEndsInSlash) {
  TempDir dir;
  SettingsStore store(dir.File("QuorvantBuilder.ini"));
  store.Write(settings::kDataDirectory, "/srv/data");
  EXPECT_EQ(ReadDataDirectory(store), "/srv/data/");
  EXPECT_EQ(ReadLastQuestionLibrary(store), "/srv/data/computer.qvl");
  store.Write(settings::kLastDirSavedTo, "/srv/surveys/");
  EXPECT_EQ(ReadLastDirectory(store), "/srv/surveys");
}

class SuppressibleWarningTest : public ::testing::Test {
 protected:
  TempDir dir_;
  SettingsStore store_{dir_.File("QuorvantBuilder.ini")};
  ScriptedPrompts prompts_;
  bool Disabled() { return store_.ReadBool("Disabled Warnings", "DeleteQuestions", false); }
};

TEST_F(SuppressibleWarningTest, AnswersAreRememberedOnlyForYesAndNo) {
  prompts_.suppressible_answers = {{WarningAnswer::kCancel, true}};
  EXPECT_EQ(SuppressibleWarning(prompts_, store_, "Delete?", "DeleteQuestions"),
            WarningAnswer::kCancel);
  EXPECT_FALSE(Disabled());  // Cancel never stores

  prompts_.suppressible_answers = {{WarningAnswer::kNo, false}};
  EXPECT_EQ(SuppressibleWarning(prompts_, store_, "Delete?", "DeleteQuestions"),
            WarningAnswer::kNo);
  EXPECT_FALSE(Disabled());

  prompts_.suppressible_answers = {{WarningAnswer::kNo, true}};
  EXPECT_EQ(SuppressibleWarning(prompts_, store_, "Delete?", "DeleteQuestions"),
            WarningAnswer::kNo);
  EXPECT_TRUE(Disabled());

  // Switched off: Yes at once, nothing shown.
  EXPECT_EQ(SuppressibleWarning(prompts_, store_, "Delete?", "DeleteQuestions"),
            WarningAnswer::kYes);
  EXPECT_EQ(prompts_.log.size(), 3u);
}

}  // namespace
}  // namespace quorvant
