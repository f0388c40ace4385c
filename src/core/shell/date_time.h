// Date-time values and their text form.
//
// A TDateTime is a day count since 30 December 1899 with the time of day as
// the fraction, the representation survey files and response tables have
// always used. Values before that day carry the time as a positive fraction
// below the (negative) day count, so -1.25 is 29 December 1899, 06:00.
//
// The text form is locale independent: "MM/DD/YYYY HH:MM:SS", or the date
// alone when the time is exactly midnight. Reading also accepts two-digit
// years (00-49 as 20xx, 50-99 as 19xx), a bare time, an AM/PM suffix and "0".
//
// Thread-safety: all functions are safe to call concurrently, except
// SetClockForTesting(), which must not race with Now().
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvant {

using TDateTime = double;

struct DateTimeParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Returns nothing when a part is out of range (years 1 to 9999).
std::optional<TDateTime> EncodeDateTime(const DateTimeParts& parts);

// Returns nothing for values outside years 1 to 9999, NaN and infinities.
// The time of day is rounded to the nearest millisecond.
std::optional<DateTimeParts> DecodeDateTime(TDateTime value);

// The current local time, or the test clock when one is set.
TDateTime Now();

// Replaces the clock behind Now(); an empty function restores the system's.
void SetClockForTesting(std::function<TDateTime()> clock);

// The text form above; nothing when the value cannot be decoded.
std::optional<std::string> DateTimeToText(TDateTime value);

// Parses the text forms above; nothing when the text does not convert.
std::optional<TDateTime> TextToDateTime(std::string_view text);

// 6:00 on 15 June 1963: the value that stands for "never happened".
TDateTime NeverTime();

// The value formatted "yymmddhhnnss" (two-digit year, month, day, 24-hour
// hour, minute, second), as used in a survey's unique name.
std::string FormatCompactStamp(TDateTime value);

// The value formatted "mm/dd/yy hh:nn am/pm", as the main window shows times.
std::string FormatShortStamp(TDateTime value);

}  // namespace quorvant
