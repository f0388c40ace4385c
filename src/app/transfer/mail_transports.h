// The transport a mailing run uses, chosen by the Email page's preferences,
// for the publish window and quorvant-cli alike.
#pragma once

#include <functional>
#include <memory>
#include <optional>
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

// Asks the person for the SMTP password with this question ("Password for
// USER at SERVER:"); nothing when they cancel.
using AskMailPassword = std::function<std::optional<std::string>(const std::string& question)>;

// The transport of a mailing run with the SMTP password it needs: none when
// the run logs in nowhere, else the one remembered for this run or kept in
// the keyring, else ask's answer, which is then remembered for this run.
// nullptr when ask returns nothing.
std::unique_ptr<MailTransport> MakeMailRunTransport(const Preferences& prefs,
                                                    const AskMailPassword& ask);

}  // namespace quorvant
