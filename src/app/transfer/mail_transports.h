// The transport a mailing run uses, chosen by the Email page's preferences,
// for the publish window and quorvant-cli alike.
#pragma once

#include <memory>
#include <string>

#include "core/publishing/mail_transport.h"

namespace quorvant {

struct Preferences;

// The local mail system when prefs.email_system is 1, else the SMTP client
// for the server, port and user ID of the preferences with this password.
// QUORVANT_SMTP_CA_FILE names certificates to trust besides the system's
// (a private mail server's own authority).
std::unique_ptr<MailTransport> MakeMailTransport(const Preferences& prefs,
                                                 const std::string& password);

// True when the run will log in to an SMTP server, so a password is needed:
// not when the reply address is missing or invalid, since the run then
// stops before connecting.
bool MailRunNeedsPassword(const Preferences& prefs);

}  // namespace quorvant
