// What a survey's publication history says about its earlier mailings, so
// that a second run of step four does not mail the list again unasked.
//
// Thread-safety: plain functions without state.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvant {

struct PastMailing {
  int sent = 0;
  std::string when;        // the date-time text the history line starts with
  bool reminders = false;  // a run of reminders ("N Reminders sent.")
};

// The latest history line of a mailing run that sent at least one message
// (completed, stopped by the user or ended by an error); nothing when no
// line records one.
std::optional<PastMailing> LastMailing(std::string_view history);

// The question asked before mailing again: how many were sent and when;
// for a run of reminders, how many it is about to mail.
std::string MailAgainQuestion(const PastMailing& past);
std::string RemindAgainQuestion(const PastMailing& past, int reminders);

}  // namespace quorvant
