#include "core/publishing/mail_compose.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <sstream>

#include "core/publishing/mail_headers.h"

namespace quorvant {
namespace {

constexpr char kBoundary[] = "=_quorvant_part_boundary_7f3a9c";

std::string ReadAttachment(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EMailTransportError("The attachment " + path + " could not be read.");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string FileNameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The body with every line break as LF.
std::string WithLineFeeds(const std::string& body) {
  std::string out;
  out.reserve(body.size());
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') continue;
    out += body[i] == '\r' ? '\n' : body[i];
  }
  return out;
}

}  // namespace

std::vector<std::string> MessageHeaderLines(const MailMessage& message,
                                            const std::string& x_mailer) {
  std::vector<std::string> lines;
  const bool sender = !message.from_address.empty();
  if (sender) lines.push_back("From: " + FormatMailbox(message.from_name, message.from_address));
  lines.push_back("To: " + ToHeaderOfEntry(message.to_entry));
  lines.push_back("Subject: " + EncodeHeaderText(message.subject));
  lines.push_back("Date: " + DateHeaderValue(std::time(nullptr)));
  if (sender) lines.push_back("Message-ID: " + NewMessageId(message.from_address));
  lines.push_back("X-Mailer: " + HeaderSafeText(x_mailer));
  return lines;
}

std::string ComposeMessageText(const MailMessage& message, const std::string& x_mailer) {
  std::string text;
  for (const std::string& line : MessageHeaderLines(message, x_mailer)) text += line + "\n";
  text += "MIME-Version: 1.0\n";
  text += std::string("Content-Type: multipart/mixed; boundary=\"") + kBoundary + "\"\n\n";
  text += std::string("--") + kBoundary + "\n";
  text += "Content-Type: text/plain; charset=UTF-8\nContent-Transfer-Encoding: 8bit\n\n";
  text += WithLineFeeds(message.body);
  if (!message.attachment_path.empty()) {
    std::string name = HeaderSafeText(FileNameOf(message.attachment_path));
    for (char& c : name)
      if (c == '"' || c == '\\') c = '_';
    std::string digits = Base64(ReadAttachment(message.attachment_path));
    text += std::string("\n--") + kBoundary + "\n";
    text += "Content-Type: text/html; name=\"" + name + "\"\n";
    text += "Content-Disposition: attachment; filename=\"" + name + "\"\n";
    text += "Content-Transfer-Encoding: base64\n\n";
    for (size_t i = 0; i < digits.size(); i += 76) text += digits.substr(i, 76) + "\n";
  }
  text += std::string("\n--") + kBoundary + "--\n";
  return text;
}

}  // namespace quorvant
