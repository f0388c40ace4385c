#include "core/publishing/mailing_run.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <set>

#include "core/publishing/mail_headers.h"
#include "core/publishing/mail_merge.h"
#include "core/publishing/mail_transport.h"
#include "core/publishing/mailing_history.h"
#include "core/publishing/reminder_selection.h"
#include "core/publishing/sample_size.h"
#include "core/shell/date_time.h"
#include "core/shell/preferences.h"
#include "core/shell/prompts.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"

namespace quorvant {
namespace {

constexpr char kLogonFailure[] =
    "MAPI Logon failure.  Please verify that Username and  Password are correct.";
constexpr size_t kLocalSubjectCharacters = 255;

// The user pressed Stop; carries the history and status text.
struct StoppedByUser {
  std::string message;
};

std::string StoppedText(int sent) {
  return "Send notifications stopped by user - " + std::to_string(sent) + " sent.";
}

// The first n characters of a UTF-8 text.
std::string FirstCharacters(std::string_view text, size_t n) {
  size_t pos = 0;
  for (size_t count = 0; pos < text.size() && count < n; ++count) {
    ++pos;
    while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
  }
  return std::string(text.substr(0, pos));
}

class MailingRun {
 public:
  MailingRun(TSurvey& survey, const Preferences& prefs, MailTransport& transport, MailingView& view,
             Prompts& prompts, MailingOptions options)
      : survey_(survey),
        prefs_(prefs),
        transport_(transport),
        view_(view),
        prompts_(prompts),
        local_(prefs.email_system == 1),
        mail_again_(options.mail_again),
        reminders_(options.reminders),
        draw_(std::move(options.draw)) {
    if (!draw_) {
      auto engine = std::make_shared<std::mt19937>(
          static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
      draw_ = [engine](uint32_t m) {
        return std::uniform_int_distribution<uint32_t>(1, m)(*engine);
      };
    }
    message_.subject =
        local_ ? FirstCharacters(survey.Name(), kLocalSubjectCharacters) : survey.Name();
    if (!local_) {
      message_.from_name = prefs.display_name;
      message_.from_address = prefs.reply_address;
    }
    if (survey.AttachSurvey()) message_.attachment_path = survey.HTMLFileName();
  }

  MailingResult Run() {
    if (local_ && !transport_.Available()) {
      prompts_.ShowError(
          "MAPI Services could not be found. Please ensure that a MAPI compliant mail system is "
          "installed.");
      return result_;
    }
    if (!SenderPasses() || !ChecksPass() || !OpenList()) return result_;
    // Records deleted in the list manager are hidden there and mailed by
    // no run; the sampled run tests the mark on each record it draws.
    table_.SetFilter(".NOT. DELETED()");
    live_records_ = table_.RecordsInOrder();
    if (live_records_.empty()) {
      prompts_.ShowError("The Notification File " + survey_.NotificationFile() +
                         " holds no addresses. Notifications were not sent.");
      table_.Close();
      return result_;
    }
    if (reminders_ && !SelectReminders()) {
      table_.Close();
      return result_;
    }
    if (!MailAgainAllowed()) {
      result_.end = MailingEnd::kDeclined;
      table_.Close();
      return result_;
    }
    if (local_) view_.SetProgress(0);
    try {
      transport_.Connect();
    } catch (const EMailTransportError& e) {
      table_.Close();
      if (local_) {
        prompts_.ShowError(kLogonFailure);
      } else {
        Fail(e.what());
      }
      return result_;
    }
    try {
      if (reminders_ || survey_.AllAddresses()) {
        SendToAll();
      } else {
        SendToSample();
      }
      Complete();
    } catch (const StoppedByUser& stop) {
      result_.end = MailingEnd::kStopped;
      survey_.AddHistory(stop.message);
      ShowOutcome(stop.message);
      RecordRefused();
    } catch (const EMailTransportError& e) {
      Fail(e.what());
    } catch (const std::exception& e) {
      Fail(std::string("The following internal error occurred: ") + e.what());
    }
    transport_.Disconnect();
    table_.Close();
    return result_;
  }

 private:
  // Mail through a server needs the sender's address: an empty one gives
  // "MAIL FROM:<>", which many servers refuse only once the first message
  // has been handed over.
  bool SenderPasses() {
    if (local_) return true;
    const std::string& reply = prefs_.reply_address;
    if (reply.empty()) {
      prompts_.ShowError(
          "The reply address is empty. Fill in \"Reply Address\" on the Email page of Options > "
          "Preferences. Notifications were not sent.");
      return false;
    }
    if (!ValidMailbox(reply)) {
      prompts_.ShowError("The reply address " + HeaderSafeText(reply) +
                         " is not a valid e-mail address. Correct \"Reply Address\" on the Email "
                         "page of Options > Preferences. Notifications were not sent.");
      return false;
    }
    return true;
  }

  // A list already mailed is mailed again only when the person says so.
  bool MailAgainAllowed() {
    if (mail_again_) return true;
    std::optional<PastMailing> past = LastMailing(survey_.PubHistory());
    if (!past) return true;
    const std::string question =
        reminders_ ? RemindAgainQuestion(*past, static_cast<int>(live_records_.size()))
                   : MailAgainQuestion(*past);
    return prompts_.ConfirmTitled("Send Notifications", question, false);
  }

  // Keeps of the live records those who have not answered.
  bool SelectReminders() {
    try {
      live_records_ = SelectNotAnswered(survey_, table_, live_records_);
    } catch (const std::exception& e) {
      prompts_.ShowError(std::string("The following internal error occurred: ") + e.what());
      return false;
    }
    if (live_records_.empty()) {
      result_.end = MailingEnd::kNobodyLeft;
      prompts_.ShowInfo(
          "Everybody on the notification list has answered. Reminders were not sent.");
      return false;
    }
    return true;
  }

  bool ChecksPass() {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (reminders_) {
      const std::string obstacle = ReminderObstacle(survey_);
      if (!obstacle.empty()) {
        prompts_.ShowError(obstacle);
        return false;
      }
    }
    if (!fs::exists(survey_.NotificationFile(), ec)) {
      prompts_.ShowError("The Notification File " + survey_.NotificationFile() +
                         " could not be found. Notifications were not sent.");
      return false;
    }
    if (survey_.AttachSurvey() && !fs::exists(survey_.HTMLFileName(), ec)) {
      prompts_.ShowError("The survey HTML file " + survey_.HTMLFileName() +
                         " could not be found. Notifications were not sent.\r\nYou must first "
                         "generate the Survey Web Page.");
      return false;
    }
    return true;
  }

  bool OpenList() {
    try {
      table_.Open(survey_.NotificationFile());
      for (const char* field : {"FNAME", "LNAME", "EMAIL"}) {
        if (table_.FieldIndex(field) < 0)
          throw std::runtime_error("The table has no field " + std::string(field) + ".");
      }
      return true;
    } catch (const std::exception& e) {
      table_.Close();
      prompts_.ShowError(std::string("The following internal error occurred: ") + e.what());
      return false;
    }
  }

  // Every record held in live_records_: the whole list, or the reminders.
  void SendToAll() {
    view_.SetProgressMax(static_cast<int>(live_records_.size()));
    int visited = 0;
    for (uint32_t recno : live_records_) {
      table_.GoTo(recno);
      SendCurrent();
      view_.SetProgress(++visited);
      view_.ProcessEvents();
      if (view_.StopRequested()) throw StoppedByUser{StoppedText(result_.sent)};
    }
  }

  void SendToSample() {
    uint32_t records = table_.QueryCount();
    int64_t draws = SampleDrawCount(records, survey_.SamplingPercent());
    if (!local_) {
      view_.SetProgressMax(static_cast<int>(draws));
      view_.SetStatus("Selecting random addresses");
    }
    // Held as decimal texts so that the walk below goes in text order.
    std::set<std::string> chosen;
    for (int64_t i = 0; i < draws; ++i) {
      try {
        uint32_t recno = draw_(records);
        table_.GoTo(recno);
        if (!table_.Deleted()) chosen.insert(std::to_string(recno));
      } catch (const std::exception&) {
        // A draw that fails still counts, so that the run always ends.
      }
      view_.ProcessEvents();
      if (view_.StopRequested())
        throw StoppedByUser{"Send notifications stopped by user - none sent."};
    }
    view_.SetProgressMax(static_cast<int>(chosen.size()));
    view_.SetProgress(0);
    view_.SetStatus("Sending " + std::to_string(chosen.size()) + " messages.");
    int position = 0;
    for (const std::string& entry : chosen) {
      table_.GoTo(static_cast<uint32_t>(std::stoul(entry)));
      SendCurrent();
      view_.SetProgress(position++);
      view_.ProcessEvents();
      if (view_.StopRequested()) throw StoppedByUser{StoppedText(result_.sent)};
    }
  }

  void SendCurrent() {
    EmailRecord record{std::string(TrimBlanks(table_.Get("FNAME"))),
                       std::string(TrimBlanks(table_.Get("LNAME"))),
                       std::string(TrimBlanks(table_.Get("EMAIL")))};
    const std::string& address = record[2];
    if (local_) {
      message_.to_entry = prefs_.gateway_text + address;
      message_.recipient = message_.to_entry;
    } else {
      message_.to_entry = "(" + record[0] + " " + record[1] + ") " + address;
      message_.recipient = address;
    }
    message_.body = MergedBody(survey_.NotifyMessage(), record, survey_);
    if (ValidMailbox(address) && transport_.Send(message_) == SendOutcome::kSent) {
      ++result_.sent;
    } else {
      result_.refused.push_back(HeaderSafeText(address));
    }
    if (!local_) view_.SetStatus(address);
  }

  void Complete() {
    result_.end = MailingEnd::kCompleted;
    int refused = static_cast<int>(result_.refused.size());
    survey_.AddHistory(NotificationsSentText(result_.sent, refused, reminders_));
    RecordRefused();
    std::string status = std::to_string(result_.sent) +
                         (reminders_ ? " Reminders sent on " : " Notifications sent on ") +
                         DateTimeToText(survey_.env().Now()).value_or("");
    if (refused > 0) status += ". " + std::to_string(refused) + " refused.";
    ShowOutcome(status);
  }

  // The status line of a finished run stays with the survey, so that the
  // Analysis page and the next publish dialog show the last mailing.
  void ShowOutcome(const std::string& status) {
    survey_.SetEMailStatus(status);
    view_.SetStatus(status);
  }

  void RecordRefused() {
    if (result_.refused.empty()) return;
    std::string line = "Refused addresses:";
    for (size_t i = 0; i < result_.refused.size(); ++i)
      line += (i == 0 ? " " : ", ") + result_.refused[i];
    survey_.AddHistory(line);
  }

  void Fail(const std::string& error) {
    result_.end = MailingEnd::kFailed;
    std::string text = "Send notifications ended by an error - " + std::to_string(result_.sent) +
                       " sent: " + error;
    survey_.AddHistory(text);
    RecordRefused();
    ShowOutcome(text);
    prompts_.ShowError(error);
  }

  TSurvey& survey_;
  const Preferences& prefs_;
  MailTransport& transport_;
  MailingView& view_;
  Prompts& prompts_;
  bool local_;
  bool mail_again_;
  bool reminders_;
  // Undeleted, in record order; for reminders only those not answered.
  std::vector<uint32_t> live_records_;
  std::function<uint32_t(uint32_t)> draw_;
  Table table_;
  MailMessage message_;
  MailingResult result_;
};

}  // namespace

MailingResult RunMailing(TSurvey& survey, const Preferences& prefs, MailTransport& transport,
                         MailingView& view, Prompts& prompts, MailingOptions options) {
  return MailingRun(survey, prefs, transport, view, prompts, std::move(options)).Run();
}

std::string NotificationsSentText(int sent, int refused, bool reminders) {
  std::string text =
      std::to_string(sent) + (reminders ? " Reminders sent." : " Notifications sent.");
  if (refused > 0) text += " " + std::to_string(refused) + " refused.";
  return text;
}

}  // namespace quorvant
