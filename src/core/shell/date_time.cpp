#include "core/shell/date_time.h"

#include <cstdio>

#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

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
