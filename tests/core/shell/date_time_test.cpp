#include "core/shell/date_time.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include "core/env/env.h"
#include "support/fixed_clock_env.h"

namespace quorvant {
namespace {

TDateTime Make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return EncodeDateTime({y, mo, d, h, mi, s, 0}).value();
}

TEST(DateTime, DayCountsMatchTheEpoch) {
  EXPECT_EQ(Make(1899, 12, 30), 0.0);
  EXPECT_EQ(Make(1900, 1, 1), 2.0);
  EXPECT_EQ(Make(2000, 1, 1), 36526.0);
  EXPECT_DOUBLE_EQ(Make(1899, 12, 30, 18), 0.75);
  // Before the epoch the time is a positive fraction below the day count.
  EXPECT_DOUBLE_EQ(Make(1899, 12, 29, 6), -1.25);
  auto p = DecodeDateTime(-1.25).value();
  EXPECT_EQ(p.day, 29);
  EXPECT_EQ(p.hour, 6);
}

TEST(DateTime, InvalidPartsAndValuesAreRefused) {
  EXPECT_FALSE(EncodeDateTime({2023, 2, 29, 0, 0, 0, 0}));
  EXPECT_TRUE(EncodeDateTime({2024, 2, 29, 0, 0, 0, 0}));
  EXPECT_FALSE(EncodeDateTime({2024, 13, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(EncodeDateTime({2024, 1, 1, 24, 0, 0, 0}));
  EXPECT_FALSE(DecodeDateTime(1e300));
  EXPECT_FALSE(DecodeDateTime(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(DateTimeToText(std::numeric_limits<double>::infinity()));
}

TEST(DateTime, TextFormRoundTrips) {
  EXPECT_EQ(DateTimeToText(Make(1998, 12, 3, 14, 15, 2)), "12/03/1998 14:15:02");
  EXPECT_EQ(DateTimeToText(Make(1998, 12, 3)), "12/03/1998");  // midnight: date only
  EXPECT_EQ(DateTimeToText(0.0), "12/30/1899");
  for (TDateTime v : {Make(1998, 12, 3, 14, 15, 2), Make(2049, 1, 1, 23, 59, 59), 0.0,
                      Make(1899, 12, 29, 6), Make(1, 1, 1), Make(9999, 12, 31, 12)}) {
    EXPECT_DOUBLE_EQ(TextToDateTime(*DateTimeToText(v)).value(), v) << *DateTimeToText(v);
  }
}

TEST(DateTime, ReadsTheAcceptedTextForms) {
  struct Case {
    const char* text;
    std::optional<TDateTime> expected;
  };
  const Case cases[] = {
      {"06/15/63 06:00:00", Make(1963, 6, 15, 6)},
      {"06/15/1963 06:00:00", Make(1963, 6, 15, 6)},
      {"1/2/49", Make(2049, 1, 2)},
      {"1/2/50", Make(1950, 1, 2)},
      {"0", 0.0},
      {"  12/03/1998 2:15 PM ", Make(1998, 12, 3, 14, 15)},
      {"12/03/1998 12:05:00 am", Make(1998, 12, 3, 0, 5)},
      {"06:00:00", 0.25},
      {"", std::nullopt},
      {"never", std::nullopt},
      {"13/01/2000", std::nullopt},
      {"02/30/2000", std::nullopt},
      {"12/03/1998 25:00", std::nullopt},
      {"12/03/1998 10:00 xm", std::nullopt},
      {"12/03/19988", std::nullopt},
      {"12/03/1998 10:00:00.5", Make(1998, 12, 3, 10) + 0.5 / 86400},
  };
  for (const Case& c : cases) {
    auto got = TextToDateTime(c.text);
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.text;
    if (got) {
      EXPECT_NEAR(*got, *c.expected, 1e-9) << c.text;
    }
  }
}

TEST(DateTime, NeverTimeAndStamps) {
  EXPECT_EQ(NeverTime(), TextToDateTime("06/15/63 06:00:00").value());
  EXPECT_EQ(FormatCompactStamp(Make(1998, 12, 3, 14, 15, 2)), "981203141502");
  EXPECT_EQ(FormatShortStamp(Make(1998, 12, 3, 14, 5, 2)), "12/03/98 02:05 pm");
  EXPECT_EQ(FormatShortStamp(Make(1998, 12, 3, 0, 5, 2)), "12/03/98 12:05 am");
}

TEST(DateTime, TheSystemClockGivesTheLocalTimeAndAFixedClockStandsStill) {
  const std::time_t secs = std::time(nullptr);
  std::tm local{};
  localtime_r(&secs, &local);
  const TDateTime expected = Make(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                  local.tm_hour, local.tm_min, std::min(local.tm_sec, 59));
  // Within two seconds of the C library's local time.
  EXPECT_NEAR(DefaultEnv().Now(), expected, 2.0 / 86400);
  testing::FixedClockEnv fixed(42.5);
  EXPECT_EQ(fixed.Now(), 42.5);
  fixed.Set(43.25);
  EXPECT_EQ(fixed.Now(), 43.25);
}

}  // namespace
}  // namespace quorvant
