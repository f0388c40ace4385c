// What a mailing run needs of a way to send mail, so that the run can be
// tested with a fake and used with the SMTP client and the local mail
// system alike.
//
// Ownership: the run borrows the transport for its length. Thread-safety:
// the run calls it from one thread.
#pragma once

#include <stdexcept>
#include <string>

namespace quorvant {

// One invitation, with texts as the run built them; the transport turns
// them into header lines through mail_headers.h.
struct MailMessage {
  std::string from_name;     // empty through the local mail system
  std::string from_address;  // empty through the local mail system
  std::string subject;
  std::string to_entry;         // "(" first " " last ") " address, or gateway + address
  std::string recipient;        // the envelope address taken from to_entry
  std::string body;             // lines each ending in CR LF
  std::string attachment_path;  // the survey page; empty for none
};

// A failure of the transport that ends the run: the server could not be
// reached, refused the login, or the connection was lost.
class EMailTransportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class SendOutcome { kSent, kRefused };

class MailTransport {
 public:
  virtual ~MailTransport() = default;
  // False when this way of sending cannot be used on this machine.
  virtual bool Available() { return true; }
  // Opens the one connection of the run. Throws EMailTransportError.
  virtual void Connect() = 0;
  // Sends one message over the open connection. kRefused when the server
  // refused the recipient (the connection stays usable). Throws
  // EMailTransportError when the connection is lost.
  virtual SendOutcome Send(const MailMessage& message) = 0;
  // Closes the connection; never throws, and does nothing when none is open.
  virtual void Disconnect() = 0;
};

}  // namespace quorvant
