// LocalMail: the local mail system's way of sending invitations, through
// its sendmail program ("sendmail -t -i": recipients from the To header, a
// lone "." line is no end). QUORVANT_SENDMAIL names another program.
//
// Thread-safety: none; use it from one thread.
#pragma once

#include <string>

#include "core/publishing/mail_transport.h"

namespace quorvant {

class LocalMail : public MailTransport {
 public:
  // program: the sendmail to run; empty for QUORVANT_SENDMAIL or the
  // system's (/usr/sbin/sendmail, /usr/lib/sendmail).
  explicit LocalMail(std::string program = {}, std::string x_mailer = "Quorvant");

  // True when the program exists and may be run.
  bool Available() override;
  void Connect() override {}
  // Throws EMailTransportError when the program fails; its error output is
  // in the message.
  SendOutcome Send(const MailMessage& message) override;
  void Disconnect() override {}

  const std::string& program() const { return program_; }

 private:
  std::string program_;
  std::string x_mailer_;
};

}  // namespace quorvant
