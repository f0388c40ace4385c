// The SMTP password in the desktop keyring. The keyring cases run only
// inside a session bus with a Secret Service (keyring_test.sh starts
// gnome-keyring-daemon in dbus-run-session); without one the password is
// kept for the run alone. Making a mailing run's transport asks for the
// password only when it is needed and not known.
#include "app/transfer/mail_password.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/transfer/mail_transports.h"
#include "core/shell/preferences.h"

namespace quorvant {
namespace {

TEST(MailPasswordTest, KeptInTheKeyringAcrossRuns) {
  if (!std::getenv("QUORVANT_KEYRING_TEST")) GTEST_SKIP() << "run through keyring_test.sh";
  ASSERT_TRUE(KeyringReachable());
  ForgetRememberedMailPasswords();
  EXPECT_FALSE(LookUpMailPassword("ann", "mail.example.org").has_value());
  ASSERT_TRUE(StoreMailPassword("ann", "mail.example.org", "s3cret \xC3\xA9"));
  ASSERT_TRUE(StoreMailPassword("bob", "mail.example.org", "other"));
  // What a new run of the program would find: only the keyring's.
  ForgetRememberedMailPasswords();
  EXPECT_EQ(LookUpMailPassword("ann", "mail.example.org"), "s3cret \xC3\xA9");
  EXPECT_EQ(LookUpMailPassword("bob", "mail.example.org"), "other");
  EXPECT_FALSE(LookUpMailPassword("ann", "other.example.org").has_value());
  ASSERT_TRUE(StoreMailPassword("ann", "mail.example.org", "changed"));
  ForgetRememberedMailPasswords();
  EXPECT_EQ(LookUpMailPassword("ann", "mail.example.org"), "changed");
  // An empty password removes it.
  ASSERT_TRUE(StoreMailPassword("ann", "mail.example.org", ""));
  ForgetRememberedMailPasswords();
  EXPECT_FALSE(LookUpMailPassword("ann", "mail.example.org").has_value());
}

// No session bus while it lives, so no keyring; the environment comes back
// at its end.
class WithoutKeyring {
 public:
  WithoutKeyring() {
    if (bus_) unsetenv("DBUS_SESSION_BUS_ADDRESS");
    setenv("XDG_RUNTIME_DIR", "/nonexistent-runtime", 1);
    ForgetRememberedMailPasswords();
  }
  ~WithoutKeyring() {
    ForgetRememberedMailPasswords();
    if (bus_) setenv("DBUS_SESSION_BUS_ADDRESS", bus_->c_str(), 1);
    if (runtime_) {
      setenv("XDG_RUNTIME_DIR", runtime_->c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
  }

 private:
  static std::optional<std::string> Saved(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  }
  const std::optional<std::string> bus_ = Saved("DBUS_SESSION_BUS_ADDRESS");
  const std::optional<std::string> runtime_ = Saved("XDG_RUNTIME_DIR");
};

TEST(MailPasswordTest, WithoutAKeyringKeptForTheRunOnly) {
  WithoutKeyring no_keyring;
  EXPECT_FALSE(KeyringReachable());
  EXPECT_FALSE(StoreMailPassword("carl", "mail.example.org", "kept"));
  EXPECT_EQ(LookUpMailPassword("carl", "mail.example.org"), "kept");
  ForgetRememberedMailPasswords();
  EXPECT_FALSE(LookUpMailPassword("carl", "mail.example.org").has_value());
}

// The publish window and quorvant-cli get a mailing run's transport alike:
// a password is asked only when the run logs in and none is known, a
// cancelled question gives no transport, and an answer is kept for the run.
TEST(MailPasswordTest, MailRunAsksOnlyForAPasswordItNeedsAndLacks) {
  WithoutKeyring no_keyring;
  Preferences prefs;
  prefs.email_system = 0;
  prefs.smtp_user = "dana";
  prefs.smtp_server = "mail.example.org";
  prefs.reply_address = "team@example.org";
  std::vector<std::string> asked;
  std::optional<std::string> answer;
  const AskMailPassword ask = [&](const std::string& question) {
    asked.push_back(question);
    return answer;
  };
  EXPECT_EQ(MakeMailRunTransport(prefs, ask), nullptr);
  EXPECT_FALSE(LookUpMailPassword("dana", "mail.example.org").has_value());
  answer = "typed";
  EXPECT_NE(MakeMailRunTransport(prefs, ask), nullptr);
  EXPECT_EQ(LookUpMailPassword("dana", "mail.example.org"), "typed");
  EXPECT_NE(MakeMailRunTransport(prefs, ask), nullptr);
  const std::string question = "Password for dana at mail.example.org:";
  EXPECT_EQ(asked, (std::vector<std::string>{question, question}));
  // No login: without a reply address the run stops first; the local mail
  // system takes none.
  ForgetRememberedMailPasswords();
  prefs.reply_address = "";
  EXPECT_NE(MakeMailRunTransport(prefs, ask), nullptr);
  prefs.reply_address = "team@example.org";
  prefs.email_system = 1;
  EXPECT_NE(MakeMailRunTransport(prefs, ask), nullptr);
  EXPECT_EQ(asked.size(), 2u);
}

}  // namespace
}  // namespace quorvant
