// The text forms of date-time values (TDateTime, in core/env/calendar.h).
//
// The text form is locale independent: "MM/DD/YYYY HH:MM:SS", or the date
// alone when the time is exactly midnight. Reading also accepts two-digit
// years (00-49 as 20xx, 50-99 as 19xx), a bare time, an AM/PM suffix and "0".
//
// Thread-safety: all functions are safe to call concurrently.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/env/calendar.h"

namespace quorvant {

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
