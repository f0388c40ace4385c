// A transport that records what it is given and a view that records what
// it is shown, for the mailing run's tests.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/publishing/mail_transport.h"
#include "core/publishing/mailing_run.h"

namespace quorvant::testing {

class FakeTransport : public MailTransport {
 public:
  bool Available() override { return available; }
  void Connect() override {
    if (!connect_error.empty()) throw EMailTransportError(connect_error);
    connected = true;
    log.push_back("connect");
  }
  SendOutcome Send(const MailMessage& message) override {
    if (!connected) throw EMailTransportError("not connected");
    if (static_cast<int>(messages.size()) == lose_after) {
      connected = false;
      throw EMailTransportError("Connection lost");
    }
    if (refuse.count(message.recipient)) {
      log.push_back("refused " + message.recipient);
      return SendOutcome::kRefused;
    }
    messages.push_back(message);
    log.push_back("send " + message.recipient);
    return SendOutcome::kSent;
  }
  void Disconnect() override {
    if (connected) log.push_back("disconnect");
    connected = false;
  }

  bool available = true;
  std::string connect_error;
  int lose_after = -1;  // messages accepted before the connection drops
  std::set<std::string> refuse;
  bool connected = false;
  std::vector<MailMessage> messages;
  std::vector<std::string> log;
};

class FakeView : public MailingView {
 public:
  void SetProgressMax(int max) override { log.push_back("max " + std::to_string(max)); }
  void SetProgress(int position) override { log.push_back("pos " + std::to_string(position)); }
  void SetStatus(const std::string& text) override {
    status = text;
    log.push_back("status " + text);
  }
  void ProcessEvents() override {
    ++events;
    if (stop_at_event == events) stop = true;
  }
  bool StopRequested() const override { return stop; }

  int events = 0;
  int stop_at_event = -1;
  bool stop = false;
  std::string status;
  std::vector<std::string> log;
};

}  // namespace quorvant::testing
