// The mailing run of the publish dialog's last step: an invitation to every
// address of the survey's notification list, or to a random sample of it,
// or a reminder to only those of the list who have not answered (see
// reminder_selection.h), through a MailTransport, with progress shown
// through a MailingView and the outcome recorded in the survey's
// publication history and its EMailStatus.
//
// The run is synchronous: it calls view.ProcessEvents() after every draw
// and every message, which is where a window repaints and its Stop button
// sets the stop mark that the run then reads through view.StopRequested().
//
// Records deleted in the e-mail list manager are never mailed. When the
// history already records a mailing of the survey, the run first asks
// whether to mail the list again, naming how many were sent and when (a
// reminder run asks the same, naming how many it is about to remind).
//
// Failures: a failed check (no valid reply address for mail through a
// server, missing list or page file, a list that cannot be opened or holds
// no address, a missing local mail system; for reminders, a survey whose
// page does not ask for the address or that has no response table, or a
// response table that cannot be read) is shown through the prompts and
// records nothing. A reminder run that finds everybody has answered says so
// and ends as kNobodyLeft, recording nothing. A transport failure (no
// connection, refused login, lost connection) is shown and recorded with the
// number sent so far. The connection is closed and the list table closed in every case.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorvant {

class MailTransport;
class Prompts;
class TSurvey;
struct Preferences;

class MailingView {
 public:
  virtual ~MailingView() = default;
  virtual void SetProgressMax(int max) = 0;
  virtual void SetProgress(int position) = 0;
  virtual void SetStatus(const std::string& text) = 0;
  virtual void ProcessEvents() = 0;
  virtual bool StopRequested() const = 0;
};

// kDeclined: the person chose not to mail an already mailed list again.
// kNobodyLeft: a reminder run found nobody who has not answered.
enum class MailingEnd { kNotStarted, kDeclined, kNobodyLeft, kCompleted, kStopped, kFailed };

struct MailingResult {
  MailingEnd end = MailingEnd::kNotStarted;
  int sent = 0;
  std::vector<std::string> refused;  // addresses refused or implausible
};

struct MailingOptions {
  // A record number from 1 to the argument, uniformly; empty for a
  // generator seeded from the clock.
  std::function<uint32_t(uint32_t)> draw;
  // Mail an already mailed list again without asking.
  bool mail_again = false;
  // Reminders: only the list's people whose address is in no response.
  bool reminders = false;
};

// Runs step four for survey with the Email page's preferences; the local
// mail system's rules apply when prefs.email_system is 1.
MailingResult RunMailing(TSurvey& survey, const Preferences& prefs, MailTransport& transport,
                         MailingView& view, Prompts& prompts, MailingOptions options = {});

// The completion text of the history: N " Notifications sent." (for
// reminders N " Reminders sent.") and, when some were refused, " " M
// " refused.".
std::string NotificationsSentText(int sent, int refused, bool reminders = false);

}  // namespace quorvant
