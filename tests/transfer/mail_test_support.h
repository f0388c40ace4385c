// Helpers of the mail transport tests: a loopback SMTP sink run by
// smtp_sink.py, what it recorded, and a mailing view that runs the Qt
// event loop the way the publish window does.
#pragma once

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <string>
#include <vector>

#include "core/publishing/mailing_run.h"

namespace quorvant::testing {

class SmtpSink {
 public:
  // Starts the sink with these extra arguments; fails the test when it
  // does not come up.
  SmtpSink(const std::string& out_file, const QStringList& extra);
  ~SmtpSink();
  int port() const { return port_; }
  // The messages recorded so far, one object each.
  std::vector<QJsonObject> Messages() const;

 private:
  std::string out_file_;
  QProcess process_;
  int port_ = 0;
};

// Counts event rounds and sets the stop mark at one of them.
class EventLoopView : public MailingView {
 public:
  void SetProgressMax(int) override {}
  void SetProgress(int) override {}
  void SetStatus(const std::string& text) override { status = text; }
  void ProcessEvents() override {
    QCoreApplication::processEvents();
    if (++events == stop_at_event) stop = true;
  }
  bool StopRequested() const override { return stop; }

  int events = 0;
  int stop_at_event = -1;
  bool stop = false;
  std::string status;
};

// A self-signed certificate for 127.0.0.1 and localhost, made with openssl.
void MakeCertificate(const std::string& cert, const std::string& key);

std::string Base64Decoded(const QJsonValue& value);

}  // namespace quorvant::testing
