// SmtpClient: the SMTP way of sending invitations, over libcurl.
//
// One easy handle serves the whole run, so every message goes over the one
// connection that Connect() opened (libcurl keeps it between transfers).
// Port 465 speaks TLS from the start; on other ports STARTTLS is used
// whenever the server offers it, and is required when a user ID logs in, so
// the password never travels in clear text. Certificates are verified. A
// message, headers included (Date and Message-ID among them), is built
// through mail_compose.h. Each message is built with curl_mime: the text part and, when
// there is one, the page as a base64 attachment.
//
// While a transfer runs on a worker thread, the calling thread runs a Qt
// event loop (when there is an application object), so windows repaint and
// their Stop button can be pressed; the run looks at it after the message.
//
// Thread-safety: none; use it from one thread.
#pragma once

#include <memory>
#include <string>

#include "core/publishing/mail_transport.h"

namespace quorvant {

struct SmtpSettings {
  std::string host;
  int port = 25;
  std::string user;  // empty: no login
  std::string password;
  std::string ca_file;  // certificates to trust instead of the system's; empty for those
  std::string x_mailer = "Quorvant";
};

class SmtpClient : public MailTransport {
 public:
  explicit SmtpClient(SmtpSettings settings);
  ~SmtpClient() override;

  // Opens the connection and, with a user ID, logs in. Throws
  // EMailTransportError naming the server, with its reply line when it
  // refused (else libcurl's reason), or saying that it offered no
  // encryption when a password was to be sent.
  void Connect() override;
  SendOutcome Send(const MailMessage& message) override;
  void Disconnect() override;

  // libcurl's handle and the server's latest reply (smtp_client.cpp).
  struct Handle;

 private:
  // Runs the transfer set up on the handle; libcurl's result.
  int Perform();
  std::string Failure(int code) const;

  SmtpSettings settings_;
  std::unique_ptr<Handle> handle_;
};

}  // namespace quorvant
