// The throttle of wrong passwords on its own, on a clock the test moves.
#include "collector/password_throttle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvant::collector {
namespace {

TEST(PasswordThrottle, FiveWrongAMinuteThenRefusedUntilTheMinutePasses) {
  int64_t now = 1000;
  std::vector<std::string> log;
  PasswordThrottle throttle([&] { return now; },
                            [&](const std::string& line) { log.push_back(line); });
  for (int i = 0; i < PasswordThrottle::kFailuresPerWindow; ++i) {
    EXPECT_FALSE(throttle.Refused("198.51.100.7")) << i;
    throttle.Failed("198.51.100.7", "S1");
    now += 5;
  }
  EXPECT_TRUE(throttle.Refused("198.51.100.7"));
  EXPECT_FALSE(throttle.Refused("198.51.100.8"));
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[0], "wrong password for survey S1 from 198.51.100.7");
  EXPECT_EQ(log[5],
            "password checks from 198.51.100.7 refused for 60 seconds after 5 wrong passwords");

  now = 1000 + PasswordThrottle::kWindowSeconds - 1;
  EXPECT_TRUE(throttle.Refused("198.51.100.7"));
  now = 1000 + PasswordThrottle::kWindowSeconds;
  EXPECT_FALSE(throttle.Refused("198.51.100.7"));
  // A fresh minute, a fresh allowance.
  throttle.Failed("198.51.100.7", "S1");
  EXPECT_FALSE(throttle.Refused("198.51.100.7"));
}

TEST(PasswordThrottle, RightPasswordClearsAndIpv6CountsPerNetwork) {
  int64_t now = 0;
  PasswordThrottle throttle([&] { return now; }, [](const std::string&) {});
  for (int i = 0; i < 4; ++i) throttle.Failed("10.0.0.1", "S1");
  throttle.Succeeded("10.0.0.1", "S1");
  for (int i = 0; i < 4; ++i) throttle.Failed("10.0.0.1", "S1");
  EXPECT_FALSE(throttle.Refused("10.0.0.1"));
  // The right password of another survey (one's own) forgives nothing, nor
  // does a right one after guesses at several surveys.
  throttle.Succeeded("10.0.0.1", "MINE");
  throttle.Failed("10.0.0.1", "S1");
  EXPECT_TRUE(throttle.Refused("10.0.0.1"));
  for (int i = 0; i < 4; ++i) throttle.Failed("10.0.0.3", i % 2 ? "S1" : "S2");
  throttle.Succeeded("10.0.0.3", "S1");
  throttle.Failed("10.0.0.3", "S1");
  EXPECT_TRUE(throttle.Refused("10.0.0.3"));

  // Hopping through the addresses of one's own /64 does not help.
  for (int i = 0; i < 5; ++i) throttle.Failed("2001:db8:1:2::" + std::to_string(i + 1), "S1");
  EXPECT_TRUE(throttle.Refused("2001:db8:1:2:ffff::9"));
  EXPECT_FALSE(throttle.Refused("2001:db8:1:3::1"));
  // IPv4 written as IPv6 keeps its whole address.
  for (int i = 0; i < 5; ++i) throttle.Failed("::ffff:192.0.2.1", "S1");
  EXPECT_TRUE(throttle.Refused("::ffff:192.0.2.1"));
  EXPECT_FALSE(throttle.Refused("::ffff:192.0.2.2"));
}

}  // namespace
}  // namespace quorvant::collector
