// Submission time stamps: 14-digit texts "YYYYMMDDHHMMSS" (UTC) that order
// the submissions of a survey.
//
// Clients fetch "everything newer than the last stamp I hold", so a stamp
// must never be handed out that is at or below one already delivered. The
// clock therefore never goes back (a stepped-back system clock keeps the
// highest second seen), and a fetch only delivers submissions whose second
// has fully passed: everything that arrives later gets that second or a later
// one.
#pragma once

#include <cstdint>
#include <string>

namespace quorvant::collector {

// Seconds since 1970 as the 14-digit stamp.
std::string StampOf(int64_t unix_seconds);

// Whether text is a well-formed 14-digit stamp.
bool IsStamp(const std::string& text);

// The clock's next reading: the later of the system time and the highest
// second already used.
inline int64_t NextSecond(int64_t system_seconds, int64_t highest_seen) {
  return system_seconds > highest_seen ? system_seconds : highest_seen;
}

}  // namespace quorvant::collector
