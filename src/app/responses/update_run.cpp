#include "app/responses/update_run.h"

#include <stdexcept>

#include "core/analysis/result_counting.h"
#include "core/publishing/server_requests.h"
#include "core/responses/response_table.h"
#include "core/responses/result_reply.h"
#include "core/shell/system_helpers.h"
#include "core/survey/survey.h"

namespace quorvant {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QString FailedCommandName(int code) {
  static const char* const kNames[] = {
      "Get Failed",    "Options Failed", "Head Failed",   "Post Failed",   "Put Failed",
      "Patch Failed",  "Copy Failed",    "Move Failed",   "Delete Failed", "Link Failed",
      "UnLink Failed", "Trace Failed",   "Wrapped Failed"};
  if (code < 0 || code >= static_cast<int>(std::size(kNames))) return {};
  return kNames[code];
}

ResponseUpdateRun::ResponseUpdateRun(TSurvey& survey, TResponseTable& table,
                                     const SettingsStore& settings, Prompts& prompts,
                                     QObject* parent)
    : QObject(parent),
      survey_(survey),
      table_(table),
      settings_(settings),
      prompts_(prompts),
      compute_results_([this](TSurvey& s, TResponseTable& t) { ComputeResults(s, t, prompts_); }) {
  connect(&client_, &HttpClient::Connected, this, [this] { emit StatusLine("Connected."); });
  connect(&client_, &HttpClient::Succeeded, this,
          [this] { emit StatusLine("Result transmission completed."); });
  connect(&client_, &HttpClient::ConnectionFailed, this,
          [this] { emit StatusLine("Connection to server failed - update canceled."); });
  connect(&client_, &HttpClient::Failed, this, [this](int code) {
    emit StatusLine("Communication failure: " + FailedCommandName(code) + " - update canceled.");
  });
}

std::string ResponseUpdateRun::TempFile(const char* ext) {
  const std::string name = CreateTempFile(ext);
  if (name.empty()) throw std::runtime_error("No temporary file can be made.");
  if (temp_sink_) temp_sink_(name);
  return name;
}

void ResponseUpdateRun::Run() {
  running_ = true;
  outcome_ = Outcome::kNone;
  result_ = TAddResponseResult{};
  try {
    client_.ApplyProxySettings(settings_);
    const std::string body = TempFile("dat");
    const std::string header = TempFile("hdr");
    client_.SetFileMode(Q(body), Q(header));
    // A table ahead of the survey (a crash before its save) must not be
    // sent its own submissions again.
    CatchUpLastUpdate(survey_, table_);
    emit StatusLine("Connecting to " + Q(survey_.EffectiveServerURL()));
    const HttpOutcome got = GetAndWait(client_, Q(GetResultsURL(survey_)));
    outcome_ = got == HttpOutcome::kSucceeded ? Outcome::kSucceeded : Outcome::kFailed;
    if (outcome_ == Outcome::kSucceeded) ProcessReply(body);
  } catch (const std::exception&) {
    emit StatusLine("HTTP Connection Failed.");
    outcome_ = Outcome::kFailed;
  }
  running_ = false;
}

void ResponseUpdateRun::ProcessReply(const std::string& body_file) {
  emit Processing();
  emit StatusLine("Verifying server results.");
  const ResultVerification check = VerifyResultFile(body_file);
  if (!check.valid) {
    emit StatusLine("Result verification failed.  " + Q(check.error));
    return;
  }
  Incorporate(survey_, body_file, result_, prompts_, table_, compute_results_);
  if (!result_.Completed) {
    emit StatusLine("Error incorporating results.");
    return;
  }
  emit StatusLine("Results incorporated.");
  emit StatusLine("New responses: " + QString::number(result_.Added));
  emit StatusLine("Responses eliminated: " + QString::number(result_.Eliminated));
  emit StatusLine("Total responses: " + QString::number(result_.Total));
}

}  // namespace quorvant
