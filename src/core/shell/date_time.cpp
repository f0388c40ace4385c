#include "core/shell/date_time.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

constexpr long long kMsPerDay = 86400000LL;
// Days from 0001-01-01's civil epoch used below to 1899-12-30.

// Howard Hinnant's days-from-civil, counting from 1970-01-01.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const long long kDay0 = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

std::mutex g_clock_mutex;
std::function<TDateTime()> g_clock;

// Called with g_clock_mutex held.
TDateTime SystemNow() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t secs = system_clock::to_time_t(now);
  const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  // Every edit stamps the survey, and an import makes thousands of edits
  // within a second: the local time of a second is worked out once.
  static std::time_t cached_secs = -1;
  static std::tm cached_local{};
  if (secs != cached_secs) {
    localtime_r(&secs, &cached_local);
    cached_secs = secs;
  }
  const std::tm& local = cached_local;
  DateTimeParts p{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min,         local.tm_sec,     ms < 0 ? 0 : ms};
  if (p.second > 59) p.second = 59;  // leap second
  return EncodeDateTime(p).value_or(0.0);
}

// Reads an unsigned decimal number of 1..max_digits digits at pos.
std::optional<int> ReadNumber(std::string_view s, size_t& pos, size_t max_digits) {
  size_t start = pos;
  int value = 0;
  while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && pos - start < max_digits) {
    value = value * 10 + (s[pos] - '0');
    ++pos;
  }
  if (pos == start || (pos < s.size() && s[pos] >= '0' && s[pos] <= '9')) return std::nullopt;
  return value;
}

void SkipBlanks(std::string_view s, size_t& pos) {
  while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t')) ++pos;
}

// Parses "H:MM[:SS[.mmm]] [AM|PM]" from pos to the end of s.
bool ParseTime(std::string_view s, size_t pos, DateTimeParts& p) {
  auto h = ReadNumber(s, pos, 2);
  if (!h || pos >= s.size() || s[pos] != ':') return false;
  ++pos;
  auto mi = ReadNumber(s, pos, 2);
  if (!mi) return false;
  int sec = 0, ms = 0;
  if (pos < s.size() && s[pos] == ':') {
    ++pos;
    auto se = ReadNumber(s, pos, 2);
    if (!se) return false;
    sec = *se;
    if (pos < s.size() && s[pos] == '.') {
      ++pos;
      size_t start = pos;
      auto frac = ReadNumber(s, pos, 3);
      if (!frac) return false;
      ms = *frac;
      for (size_t digits = pos - start; digits < 3; ++digits) ms *= 10;
    }
  }
  int hour = *h;
  SkipBlanks(s, pos);
  if (pos < s.size()) {
    std::string suffix = ToLowerAscii(s.substr(pos));
    if (suffix != "am" && suffix != "pm" && suffix != "a" && suffix != "p") return false;
    if (hour < 1 || hour > 12) return false;
    const bool pm = suffix[0] == 'p';
    if (hour == 12) hour = 0;
    if (pm) hour += 12;
  }
  if (hour > 23 || *mi > 59 || sec > 59) return false;
  p.hour = hour;
  p.minute = *mi;
  p.second = sec;
  p.millisecond = ms;
  return true;
}

}  // namespace

std::optional<TDateTime> EncodeDateTime(const DateTimeParts& p) {
  if (p.year < 1 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1 ||
      p.day > DaysInMonth(p.year, p.month) || p.hour < 0 || p.hour > 23 || p.minute < 0 ||
      p.minute > 59 || p.second < 0 || p.second > 59 || p.millisecond < 0 ||
      p.millisecond > 999) {
    return std::nullopt;
  }
  const double date = static_cast<double>(
      DaysFromCivil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) - kDay0);
  const double time =
      (((p.hour * 60.0 + p.minute) * 60.0 + p.second) * 1000.0 + p.millisecond) / kMsPerDay;
  return date < 0 ? date - time : date + time;
}

std::optional<DateTimeParts> DecodeDateTime(TDateTime value) {
  if (!std::isfinite(value) || value < -693594.0 || value >= 2958466.0) return std::nullopt;
  long long days = static_cast<long long>(std::trunc(value));
  long long ms = std::llround(std::fabs(value - static_cast<double>(days)) * kMsPerDay);
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    days += value < 0 ? -1 : 1;
  }
  DateTimeParts p;
  CivilFromDays(days + kDay0, p.year, p.month, p.day);
  if (p.year < 1 || p.year > 9999) return std::nullopt;
  p.hour = static_cast<int>(ms / 3600000);
  p.minute = static_cast<int>(ms / 60000 % 60);
  p.second = static_cast<int>(ms / 1000 % 60);
  p.millisecond = static_cast<int>(ms % 1000);
  return p;
}

TDateTime Now() {
  std::lock_guard<std::mutex> lock(g_clock_mutex);
  return g_clock ? g_clock() : SystemNow();
}

void SetClockForTesting(std::function<TDateTime()> clock) {
  std::lock_guard<std::mutex> lock(g_clock_mutex);
  g_clock = std::move(clock);
}

std::optional<std::string> DateTimeToText(TDateTime value) {
  auto p = DecodeDateTime(value);
  if (!p) return std::nullopt;
  char buf[40];
  if (p->hour == 0 && p->minute == 0 && p->second == 0 && p->millisecond == 0) {
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", p->month, p->day, p->year);
  } else {
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d:%02d", p->month, p->day, p->year,
                  p->hour, p->minute, p->second);
  }
  return std::string(buf);
}

std::optional<TDateTime> TextToDateTime(std::string_view text) {
  std::string_view s = TrimBlanks(text);
  if (s == "0") return 0.0;
  DateTimeParts p;
  size_t pos = 0;
  if (s.find('/') == std::string_view::npos) {
    // A bare time: the date part stays at day zero.
    if (!ParseTime(s, 0, p)) return std::nullopt;
    return EncodeDateTime(p);
  }
  auto month = ReadNumber(s, pos, 2);
  if (!month || pos >= s.size() || s[pos] != '/') return std::nullopt;
  ++pos;
  auto day = ReadNumber(s, pos, 2);
  if (!day || pos >= s.size() || s[pos] != '/') return std::nullopt;
  ++pos;
  size_t year_start = pos;
  auto year = ReadNumber(s, pos, 4);
  if (!year) return std::nullopt;
  int y = *year;
  if (pos - year_start <= 2) y += y < 50 ? 2000 : 1900;
  p.year = y;
  p.month = *month;
  p.day = *day;
  SkipBlanks(s, pos);
  if (pos < s.size() && !ParseTime(s, pos, p)) return std::nullopt;
  return EncodeDateTime(p);
}

TDateTime NeverTime() {
  static const TDateTime never = *EncodeDateTime({1963, 6, 15, 6, 0, 0, 0});
  return never;
}

std::string FormatCompactStamp(TDateTime value) {
  auto p = DecodeDateTime(value).value_or(DateTimeParts{});
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d%02d%02d%02d%02d%02d", p.year % 100, p.month, p.day, p.hour,
                p.minute, p.second);
  return buf;
}

std::string FormatShortStamp(TDateTime value) {
  auto p = DecodeDateTime(value).value_or(DateTimeParts{});
  const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d %02d:%02d %s", p.month, p.day, p.year % 100,
                hour12, p.minute, p.hour < 12 ? "am" : "pm");
  return buf;
}

}  // namespace quorvant
