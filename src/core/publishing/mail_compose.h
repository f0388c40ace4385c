// The whole text of an invitation as the local mail system takes it: the
// header lines, then a multipart/mixed body of the text and, when there is
// one, the page as a base64 attachment. The SMTP client builds its messages
// with libcurl's MIME support instead.
#pragma once

#include <string>
#include <vector>

#include "core/publishing/mail_transport.h"

namespace quorvant {

// The header lines of an invitation, without line ends, in the order
// From (when there is a sender), To, Subject, Date, Message-ID (when there
// is a sender, whose domain it takes), X-Mailer. Every value goes through
// mail_headers.h, so no list or survey text can add a line.
std::vector<std::string> MessageHeaderLines(const MailMessage& message,
                                            const std::string& x_mailer);

// Lines end in LF, as a local mail program reads them. x_mailer is the
// program's name for the "X-Mailer" header. Throws EMailTransportError when
// the attachment cannot be read.
std::string ComposeMessageText(const MailMessage& message, const std::string& x_mailer);

}  // namespace quorvant
