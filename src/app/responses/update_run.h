// ResponseUpdateRun: one download of a survey's new responses. It sends the
// results request with the reply written to two temporary files, checks the
// reply and incorporates it, and reports every step as a status line. The
// "Update Responses" dialog shows the lines; quorvant-cli fetch prints them.
//
// Status lines, in the order they can come: "Connecting to " + base URL;
// "Connected."; then one of "Result transmission completed.",
// "Connection to server failed - update canceled." or "Communication
// failure: " + command name + " - update canceled."; after a completed
// transmission "Verifying server results." and either "Results
// incorporated.", "New responses: " n, "Responses eliminated: " n, "Total
// responses: " n, or "Error incorporating results.", or "Result
// verification failed.  " + the reason. An unexpected error ends the run
// with "HTTP Connection Failed.".
//
// Ownership: the survey, table, settings and prompts given at construction
// must outlive the run. Thread-safety: none; it runs on the thread that owns
// it and waits for the reply by processing that thread's events.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "app/transfer/http_client.h"
#include "core/responses/incorporation.h"

namespace quorvant {

class Prompts;
class SettingsStore;
class TResponseTable;
class TSurvey;

// The name of a failed HTTP command by its code: 0 "Get Failed" through 12
// "Wrapped Failed"; empty for any other code.
QString FailedCommandName(int code);

class ResponseUpdateRun : public QObject {
  Q_OBJECT

 public:
  enum class Outcome { kNone, kSucceeded, kFailed };

  ResponseUpdateRun(TSurvey& survey, TResponseTable& table, const SettingsStore& settings,
                    Prompts& prompts, QObject* parent = nullptr);

  // Each temporary file the run makes is handed here (the main window
  // deletes its list at shutdown).
  void SetTemporaryFileSink(std::function<void(const std::string&)> sink) {
    temp_sink_ = std::move(sink);
  }
  HttpClient& Client() { return client_; }

  // Runs the whole update and returns when it has ended.
  void Run();
  // The part of the run after a completed transmission, for a reply saved
  // in a file: checks it and incorporates it, with the same status lines.
  void ProcessReply(const std::string& body_file);
  bool Running() const { return running_; }
  Outcome outcome() const { return outcome_; }
  // The counts of the last incorporation.
  const TAddResponseResult& Result() const { return result_; }

 signals:
  void StatusLine(const QString& text);
  // The reply has arrived and is being checked and incorporated.
  void Processing();

 private:
  std::string TempFile(const char* ext);

  TSurvey& survey_;
  TResponseTable& table_;
  const SettingsStore& settings_;
  Prompts& prompts_;
  HttpClient client_;
  std::function<void(const std::string&)> temp_sink_;
  ComputeResultsHook compute_results_;
  TAddResponseResult result_;
  Outcome outcome_ = Outcome::kNone;
  bool running_ = false;
};

}  // namespace quorvant
