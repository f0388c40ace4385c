#include "app/transfer/smtp_client.h"

#include <curl/curl.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <string_view>
#include <thread>
#include <vector>

#include "core/publishing/mail_compose.h"
#include "core/publishing/mail_headers.h"

namespace quorvant {

struct SmtpClient::Handle {
  CURL* curl = nullptr;
  char error[CURL_ERROR_SIZE] = {};
  // The lines of the server's reply being read, and of its latest refusal
  // (a 4xx or 5xx reply), so that a failure shows in the server's own words
  // ("554 5.7.1 ...") rather than as libcurl's reason; the QUIT that
  // follows a failure does not replace it.
  std::vector<std::string> reply;
  std::vector<std::string> refusal;
  bool reply_complete = true;
  ~Handle() {
    if (curl) curl_easy_cleanup(curl);
  }
};

namespace {

// libcurl's debug output: only the lines the server sent are kept (what
// the client sent may hold the password).
int KeepServerReply(CURL*, curl_infotype type, char* data, size_t size, void* user) {
  if (type != CURLINFO_HEADER_IN) return 0;
  auto* handle = static_cast<SmtpClient::Handle*>(user);
  std::string_view text(data, size);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string line = HeaderSafeText(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty()) continue;
    if (handle->reply_complete) handle->reply.clear();
    handle->reply.push_back(line);
    // "250-..." goes on, "250 ..." (or a bare code) ends a reply.
    handle->reply_complete = line.size() < 4 || line[3] != '-';
    if (handle->reply_complete && (line[0] == '4' || line[0] == '5'))
      handle->refusal = handle->reply;
  }
  return 0;
}

// The lists and parts of one message, freed when it has gone.
struct MessageParts {
  curl_slist* recipients = nullptr;
  curl_slist* headers = nullptr;
  curl_mime* mime = nullptr;
  ~MessageParts() {
    curl_slist_free_all(recipients);
    curl_slist_free_all(headers);
    curl_mime_free(mime);
  }
};

std::string FileNameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

SmtpClient::SmtpClient(SmtpSettings settings) : settings_(std::move(settings)) {}

SmtpClient::~SmtpClient() { Disconnect(); }

void SmtpClient::Connect() {
  Disconnect();
  handle_ = std::make_unique<Handle>();
  CURL* curl = handle_->curl = curl_easy_init();
  if (!curl) throw EMailTransportError("The mail connection could not be set up.");
  bool implicit_tls = settings_.port == 465;
  std::string url = std::string(implicit_tls ? "smtps://" : "smtp://") + settings_.host + ":" +
                    std::to_string(settings_.port);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, handle_->error);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
  // A server that stops answering must not hold the run for ever.
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
  // A password never travels in clear text: with a user ID the connection
  // must become encrypted (a server that offers no STARTTLS, or a man in
  // the middle who strips it, ends the run before AUTH). Without one,
  // encryption is taken when offered.
  if (!implicit_tls) {
    curl_easy_setopt(curl, CURLOPT_USE_SSL,
                     static_cast<long>(settings_.user.empty() ? CURLUSESSL_TRY : CURLUSESSL_ALL));
  }
  curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, KeepServerReply);
  curl_easy_setopt(curl, CURLOPT_DEBUGDATA, handle_.get());
  curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!settings_.ca_file.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, settings_.ca_file.c_str());
  if (!settings_.user.empty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, settings_.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, settings_.password.c_str());
  }
  // A NOOP opens the connection (greeting, STARTTLS, login) without mail,
  // so a wrong host or password shows before the first message.
  curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "NOOP");
  curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  int code = Perform();
  curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, nullptr);
  curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
  if (code != CURLE_OK) {
    std::string reason = Failure(code);
    Disconnect();
    throw EMailTransportError(reason);
  }
}

SendOutcome SmtpClient::Send(const MailMessage& message) {
  if (!handle_) throw EMailTransportError("The mail server is not connected.");
  CURL* curl = handle_->curl;
  MessageParts parts;
  std::string from = "<" + message.from_address + ">";
  curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.c_str());
  parts.recipients = curl_slist_append(nullptr, ("<" + message.recipient + ">").c_str());
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, parts.recipients);
  for (const std::string& line : MessageHeaderLines(message, settings_.x_mailer))
    parts.headers = curl_slist_append(parts.headers, line.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, parts.headers);

  parts.mime = curl_mime_init(curl);
  curl_mimepart* text = curl_mime_addpart(parts.mime);
  curl_mime_data(text, message.body.data(), message.body.size());
  curl_mime_type(text, "text/plain; charset=UTF-8");
  curl_mime_encoder(text, "quoted-printable");
  if (!message.attachment_path.empty()) {
    curl_mimepart* page = curl_mime_addpart(parts.mime);
    if (curl_mime_filedata(page, message.attachment_path.c_str()) != CURLE_OK)
      throw EMailTransportError("The attachment " + message.attachment_path +
                                " could not be read.");
    std::string name = HeaderSafeText(FileNameOf(message.attachment_path));
    curl_mime_filename(page, name.c_str());
    curl_mime_type(page, "text/html");
    curl_mime_encoder(page, "base64");
  }
  curl_easy_setopt(curl, CURLOPT_MIMEPOST, parts.mime);
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);

  int code = Perform();
  curl_easy_setopt(curl, CURLOPT_MIMEPOST, nullptr);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, nullptr);
  if (code == CURLE_OK) return SendOutcome::kSent;
  long reply = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply);
  // A refused recipient leaves the connection usable: libcurl reports the
  // RCPT reply and the next message goes on as before.
  if (std::string_view(handle_->error).starts_with("RCPT failed") && reply >= 400 && reply < 600)
    return SendOutcome::kRefused;
  throw EMailTransportError(Failure(code));
}

void SmtpClient::Disconnect() { handle_.reset(); }

int SmtpClient::Perform() {
  handle_->error[0] = '\0';
  handle_->reply.clear();
  handle_->refusal.clear();
  handle_->reply_complete = true;
  CURL* curl = handle_->curl;
  if (!QCoreApplication::instance()) return curl_easy_perform(curl);
  QEventLoop loop;
  CURLcode code = CURLE_OK;
  std::thread worker([&] {
    code = curl_easy_perform(curl);
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  return code;
}

std::string SmtpClient::Failure(int code) const {
  if (code == CURLE_USE_SSL_FAILED) {
    return "The mail server " + settings_.host +
           " offered no encryption (STARTTLS), so the password was not sent. Use a server or "
           "port that offers it, such as TLS on port 465.";
  }
  std::string reason;
  if (handle_ && !handle_->refusal.empty()) {
    for (const std::string& line : handle_->refusal) reason += (reason.empty() ? "" : " ") + line;
  } else if (handle_ && handle_->error[0]) {
    reason = handle_->error;
  } else {
    reason = curl_easy_strerror(static_cast<CURLcode>(code));
  }
  return "The mail server " + settings_.host + " could not be used: " + reason;
}

}  // namespace quorvant
