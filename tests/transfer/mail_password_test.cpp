// The SMTP password in the desktop keyring. The keyring cases run only
// inside a session bus with a Secret Service (keyring_test.sh starts
// gnome-keyring-daemon in dbus-run-session); without one the password is
// kept for the run alone.
#include "app/transfer/mail_password.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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

TEST(MailPasswordTest, WithoutAKeyringKeptForTheRunOnly) {
  const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  const std::string saved_bus = bus ? bus : "";
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved_runtime = runtime ? runtime : "";
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  setenv("XDG_RUNTIME_DIR", "/nonexistent-runtime", 1);
  ForgetRememberedMailPasswords();
  EXPECT_FALSE(KeyringReachable());
  EXPECT_FALSE(StoreMailPassword("carl", "mail.example.org", "kept"));
  EXPECT_EQ(LookUpMailPassword("carl", "mail.example.org"), "kept");
  ForgetRememberedMailPasswords();
  EXPECT_FALSE(LookUpMailPassword("carl", "mail.example.org").has_value());
  if (bus) setenv("DBUS_SESSION_BUS_ADDRESS", saved_bus.c_str(), 1);
  if (runtime) {
    setenv("XDG_RUNTIME_DIR", saved_runtime.c_str(), 1);
  } else {
    unsetenv("XDG_RUNTIME_DIR");
  }
}

}  // namespace
}  // namespace quorvant
