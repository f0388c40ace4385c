#include "app/transfer/mail_transports.h"

#include <cstdlib>

#include "app/transfer/local_mail.h"
#include "app/transfer/mail_password.h"
#include "app/transfer/smtp_client.h"
#include "core/publishing/mail_headers.h"
#include "core/shell/preferences.h"

namespace quorvant {

std::unique_ptr<MailTransport> MakeMailTransport(const Preferences& prefs,
                                                 const std::string& password) {
  if (prefs.email_system == 1) return std::make_unique<LocalMail>();
  SmtpSettings settings;
  settings.host = prefs.smtp_server;
  settings.port = prefs.outgoing_port;
  settings.user = prefs.smtp_user;
  settings.password = password;
  if (const char* ca = std::getenv("QUORVANT_SMTP_CA_FILE"); ca && *ca) settings.ca_file = ca;
  return std::make_unique<SmtpClient>(settings);
}

bool MailRunNeedsPassword(const Preferences& prefs) {
  // Without a valid reply address the run stops before it connects.
  return prefs.email_system != 1 && !prefs.smtp_user.empty() && ValidMailbox(prefs.reply_address);
}

std::unique_ptr<MailTransport> MakeMailRunTransport(const Preferences& prefs,
                                                    const AskMailPassword& ask) {
  std::string password;
  if (MailRunNeedsPassword(prefs)) {
    if (auto stored = LookUpMailPassword(prefs.smtp_user, prefs.smtp_server)) {
      password = *stored;
    } else {
      const std::optional<std::string> typed =
          ask("Password for " + prefs.smtp_user + " at " + prefs.smtp_server + ":");
      if (!typed) return nullptr;
      password = *typed;
      RememberMailPassword(prefs.smtp_user, prefs.smtp_server, password);
    }
  }
  return MakeMailTransport(prefs, password);
}

}  // namespace quorvant
