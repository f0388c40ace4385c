#include "app/transfer/mail_transports.h"

#include <cstdlib>

#include "app/transfer/local_mail.h"
#include "app/transfer/smtp_client.h"
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
  return prefs.email_system != 1 && !prefs.smtp_user.empty();
}

}  // namespace quorvant
