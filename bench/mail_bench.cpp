// mail_bench: 10,000 merged invitations with the survey page attached, sent
// by the mailing run through SmtpClient over one connection to a loopback
// SMTP sink, against Python's smtplib sending the same messages over one
// connection to the same sink. Prints messages per second for both and the
// ratio ours / smtplib.
//
// Usage: mail_bench [COUNT]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "app/transfer/smtp_client.h"
#include "core/emaillists/email_list.h"
#include "core/publishing/mailing_run.h"
#include "core/shell/preferences.h"
#include "core/shell/quiet_prompts.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"

namespace {

using namespace quorvant;

// A minimal SMTP server: answers every command, counts the messages whose
// data ended with "." and keeps the sizes. One client at a time.
class Sink {
 public:
  Sink() {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    listen(listener_, 4);
    thread_ = std::thread([this] { Serve(); });
  }
  ~Sink() {
    stop_ = true;
    shutdown(listener_, SHUT_RDWR);
    close(listener_);
    thread_.join();
  }
  int port() const { return port_; }
  long messages() const { return messages_; }

 private:
  void Serve() {
    while (!stop_) {
      int client = accept(listener_, nullptr, nullptr);
      if (client < 0) return;
      Talk(client);
      close(client);
    }
  }
  void Send(int fd, const char* text) { (void)!write(fd, text, strlen(text)); }
  void Talk(int fd) {
    Send(fd, "220 sink ESMTP\r\n");
    std::string buffer;
    bool in_data = false;
    char chunk[65536];
    for (;;) {
      ssize_t n = read(fd, chunk, sizeof chunk);
      if (n <= 0) return;
      buffer.append(chunk, static_cast<size_t>(n));
      size_t pos = 0;
      for (;;) {
        if (in_data) {
          size_t end = buffer.find("\r\n.\r\n", pos);
          if (end == std::string::npos) break;
          pos = end + 5;
          in_data = false;
          ++messages_;
          Send(fd, "250 OK\r\n");
          continue;
        }
        size_t eol = buffer.find("\r\n", pos);
        if (eol == std::string::npos) break;
        std::string line = buffer.substr(pos, eol - pos);
        pos = eol + 2;
        std::string verb = line.substr(0, 4);
        for (char& c : verb) c = static_cast<char>(toupper(c));
        if (verb == "EHLO") {
          Send(fd, "250-sink\r\n250 8BITMIME\r\n");
        } else if (verb == "DATA") {
          in_data = true;
          Send(fd, "354 go ahead\r\n");
          // the data may start right after this line
          pos = eol;  // keep the CR LF so that an empty message ends at once
        } else if (verb == "QUIT") {
          Send(fd, "221 bye\r\n");
          return;
        } else {
          Send(fd, "250 OK\r\n");
        }
      }
      buffer.erase(0, pos);
    }
  }

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<long> messages_{0};
  std::thread thread_;
};

class NullView : public MailingView {
 public:
  void SetProgressMax(int) override {}
  void SetProgress(int) override {}
  void SetStatus(const std::string&) override {}
  void ProcessEvents() override {}
  bool StopRequested() const override { return false; }
};

const char kPython[] = R"PY(
import csv, smtplib, sys, time
from email.message import EmailMessage
port, people, page, body_template = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4]
rows = list(csv.reader(open(people, newline="", encoding="utf-8")))
attachment = open(page, "rb").read()
template = open(body_template, encoding="utf-8").read()
start = time.perf_counter()
with smtplib.SMTP("127.0.0.1", int(port)) as smtp:
    for first, last, address in rows:
        msg = EmailMessage()
        msg["From"] = "Survey Team <team@example.org>"
        msg["To"] = f"{first} {last} <{address}>"
        msg["Subject"] = "Staff Survey"
        msg["X-Mailer"] = "Quorvant"
        msg.set_content(template.replace("<FirstName>", first).replace("<LastName>", last))
        msg.add_attachment(attachment, maintype="text", subtype="html", filename="page.htm")
        smtp.send_message(msg)
print(time.perf_counter() - start)
)PY";

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("mail_bench_" + std::to_string(getpid()));
  fs::create_directories(dir);
  setenv("QUORVANT_CONFIG_DIR", dir.c_str(), 1);

  QuietPrompts prompts;
  const std::string list_path = (dir / "people.eml").string();
  std::ofstream people(dir / "people.csv");
  {
    TEmailList list(prompts);
    list.Create(list_path);
    std::vector<EmailRecord> records;
    for (int i = 0; i < count; ++i) {
      std::string n = std::to_string(i);
      records.push_back({"First" + n, "Last" + n, "person" + n + "@example.org"});
      people << "First" << n << ",Last" << n << ",person" << n << "@example.org\n";
    }
    list.AppendAll(records);
  }
  people.close();
  std::string page = "<html><body>";
  while (page.size() < 8000) page += "<p>Question text with an answer field</p>\n";
  page += "</body></html>\n";
  std::ofstream(dir / "page.htm") << page;

  SettingsStore settings((dir / "bench.ini").string());
  TSurvey survey(settings);
  survey.SetName("Staff Survey");
  survey.SetNotificationFile(list_path);
  survey.SetAllAddresses(true);
  survey.SetAttachSurvey(true);
  survey.SetHTMLFileName((dir / "page.htm").string());
  std::ofstream(dir / "body.txt") << "Dear <FirstName> <LastName>:\r\n\r\nYou have been selected "
                                     "to participate in our web based survey.\r\n\r\nRegards,\r\n";
  survey.SetNotifyMessage(
      "\"Dear <FirstName> <LastName>:\",,\"You have been selected to participate in our web "
      "based survey.\",,\"Regards,\"");

  Sink sink;
  Preferences prefs;
  prefs.display_name = "Survey Team";
  prefs.reply_address = "team@example.org";
  SmtpSettings smtp;
  smtp.host = "127.0.0.1";
  smtp.port = sink.port();
  SmtpClient client(smtp);
  NullView view;
  auto start = std::chrono::steady_clock::now();
  MailingResult result = RunMailing(survey, prefs, client, view, prompts);
  double ours = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  long ours_received = sink.messages();

  std::ofstream(dir / "send.py") << kPython;
  std::string command = "/usr/bin/python3 '" + (dir / "send.py").string() + "' " +
                        std::to_string(sink.port()) + " '" + (dir / "people.csv").string() + "' '" +
                        (dir / "page.htm").string() + "' '" + (dir / "body.txt").string() + "'";
  FILE* python = popen(command.c_str(), "r");
  double theirs = 0;
  if (!python || std::fscanf(python, "%lf", &theirs) != 1) theirs = 0;
  if (python) pclose(python);
  long theirs_received = sink.messages() - ours_received;
  fs::remove_all(dir);

  std::printf("messages: %d (ours sent %d, sink got %ld; smtplib sink got %ld)\n", count,
              result.sent, ours_received, theirs_received);
  std::printf("ours:    %.2f s, %.0f messages/s\n", ours, count / ours);
  if (theirs > 0) {
    std::printf("smtplib: %.2f s, %.0f messages/s\n", theirs, count / theirs);
    std::printf("ratio ours/smtplib: %.2f\n", theirs / ours);
  }
  return result.sent == count && ours_received == count && theirs_received == count ? 0 : 1;
}
