// The core's time value and its calendar parts.
//
// A TDateTime is a day count since 30 December 1899 with the time of day as
// the fraction, the representation survey files and response tables have
// always used. Values before that day carry the time as a positive fraction
// below the (negative) day count, so -1.25 is 29 December 1899, 06:00.
//
// Thread-safety: the functions hold no state.
#pragma once

#include <optional>

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

}  // namespace quorvant
