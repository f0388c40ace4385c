#include "collector/collector_server.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "collector/form_decoding.h"
#include "collector/reply_pages.h"
#include "collector/result_text.h"
#include "collector/stamp_clock.h"
#include "core/shell/text_helpers.h"

namespace quorvant::collector {
namespace {

constexpr size_t kMaxBody = HttpDaemon::kMaxBody;  // one submission; far above any real survey
constexpr char kHtml[] = "text/html; charset=utf-8";
constexpr char kText[] = "text/plain; charset=utf-8";

HttpReply Page(int status, const std::string& title, const std::string& text) {
  return HttpReply{status, kHtml, "", ReplyPage(title, text)};
}

HttpReply Text(const std::string& text, int status = 200) {
  return HttpReply{status, kText, "", text};
}

// A result address the browser may be sent to: plain http(s), one line.
bool IsSafeRedirect(const std::string& url) {
  const std::string lower = ToLowerAscii(url);
  if (!lower.starts_with("http://") && !lower.starts_with("https://")) return false;
  for (char c : url) {
    if (static_cast<unsigned char>(c) < 32 || c == 127) return false;
  }
  return url.size() < 2048;
}

// Database trouble goes to standard error at most once a second, so that an
// outage under load does not flood the log.
void LogStoreTrouble(const std::string& why) {
  static std::mutex mutex;
  static auto last = std::chrono::steady_clock::time_point{};
  const auto now = std::chrono::steady_clock::now();
  std::lock_guard lock(mutex);
  if (now - last < std::chrono::seconds(1)) return;
  last = now;
  std::fprintf(stderr, "quorvant-collector: %s\n", why.c_str());
}

std::string PostPath(const std::string& base) { return base.empty() ? "/" : base; }

bool IsGet(const HttpRequest& req) { return req.method == "GET" || req.method == "HEAD"; }

}  // namespace

CollectorServer::CollectorServer(const CollectorOptions& options, SubmissionStore& store)
    : options_(options),
      store_(store),
      throttle_(store.SharedPasswordFailures(), {}),
      http_({[this](const HttpRequest& req) { return CheckHeader(req); },
             [this](const HttpRequest& req) { return Route(req); }},
            !options.trust_proxy) {}

bool CollectorServer::Bind() { return http_.Bind(options_.host, options_.port); }

std::string CollectorServer::ClientAddress(const HttpRequest& req) const {
  if (options_.trust_proxy) {
    // The proxy appends the address it saw; earlier entries are the client's own claims.
    const std::string chain = req.Header("X-Forwarded-For");
    const size_t comma = chain.rfind(',');
    const std::string last(
        TrimBlanks(comma == std::string::npos ? chain : chain.substr(comma + 1)));
    if (!last.empty()) return last;
  }
  return req.remote_addr;
}

// A submission that cannot be accepted is refused before its body is read.
std::optional<HttpReply> CollectorServer::CheckHeader(const HttpRequest& req) const {
  if (req.method != "POST" || req.path != PostPath(options_.base)) return std::nullopt;
  const std::string type = ToLowerAscii(req.Header("Content-Type"));
  if (!type.starts_with("application/x-www-form-urlencoded")) {
    return Page(415, "Response not accepted", "The form was not sent as a plain web form.");
  }
  if (std::strtoull(req.Header("Content-Length").c_str(), nullptr, 10) > kMaxBody) {
    return Page(413, "Response not accepted", "The form is larger than this server accepts.");
  }
  return std::nullopt;
}

HttpReply CollectorServer::Route(const HttpRequest& req) try {
  const std::string& base = options_.base;
  if (IsGet(req) && req.path == base + "/VerifyServer") {
    store_.CheckReachable();
    return Page(200, "Quorvant collection server",
                "This Quorvant collection server is running and accepts survey responses.");
  }
  if (IsGet(req) && req.path == base + "/RegisterSurvey") return HandleRegister(req);
  if (IsGet(req) && req.path == base + "/GetResults") return HandleResults(req);
  if (IsGet(req) && req.path == base + "/ClearResults") return HandleClear(req);
  if (req.method == "POST" && req.path == PostPath(base)) return HandleSubmit(req);
  return HttpReply{404, "", "", ""};
} catch (const StoreUnavailable& e) {
  // Never a success while the database is away: nothing was stored, and a
  // balancer sends the respondent to another collector or the browser may
  // try again.
  LogStoreTrouble(e.what());
  return Page(503, "Server busy",
              "The server cannot reach its database just now, so nothing was stored. Please "
              "try again in a moment.");
} catch (const std::exception& e) {
  LogStoreTrouble(e.what());
  return Page(500, "Server error", "The server could not complete the request.");
}

HttpReply CollectorServer::HandleRegister(const HttpRequest& req) {
  const auto query = DecodeForm(req.query);
  const std::string survey = query ? FieldValue(*query, "SurveyFile").value_or("") : "";
  if (!query || survey.empty()) {
    return Page(400, "Registration failed", "The request does not name a survey.");
  }
  const std::string account = FieldValue(*query, "AccountID").value_or("");
  const std::string password = FieldValue(*query, "ID").value_or("");
  // Registering again checks the password as fetching does, so a guesser
  // gets the same allowance here. Pages, not error statuses: the author's
  // program shows the words of a page it receives, but only "connection
  // failed" for an error status.
  const std::string client = ClientAddress(req);
  if (throttle_.Refused(client)) {
    return Page(200, "Registration failed",
                "Too many wrong passwords from this address; try again in a minute.");
  }
  const Registration outcome = store_.Register(survey, account, password);
  if (outcome == Registration::kPasswordMismatch) {
    throttle_.Failed(client, survey);
    return Page(200, "Registration failed",
                "The survey " + survey + " is already registered here with another password.");
  }
  if (outcome == Registration::kRenewed) throttle_.Succeeded(client, survey);
  return Page(200, "Registration Complete",
              "The survey " + survey + " is registered and accepts responses.");
}

HttpReply CollectorServer::HandleSubmit(const HttpRequest& req) {
  const auto fields = DecodeForm(req.body);
  if (!fields) return Page(400, "Response not accepted", "The form data could not be read.");
  const std::string survey = FieldValue(*fields, kSurveyFileField).value_or("");
  const auto stamp =
      survey.empty() ? std::nullopt
                     : store_.Submit(survey, ClientAddress(req), req.Header("User-Agent"), *fields);
  if (!stamp) {
    return Page(404, "Response not accepted", "This survey is not accepting responses here.");
  }
  const std::string next = FieldValue(*fields, kResultUrlField).value_or("");
  if (IsSafeRedirect(next)) return HttpReply{303, "", next, ""};
  return Page(200, "Thank you", "Your answers have been received.");
}

HttpReply CollectorServer::HandleResults(const HttpRequest& req) {
  const auto query = DecodeForm(req.query);
  if (!query) return Text(ErrorText("The request could not be read."), 400);
  const std::string survey = FieldValue(*query, "SurveyFile").value_or("");
  const std::string password = FieldValue(*query, "ID").value_or("");
  std::string after = FieldValue(*query, "LastUpdate").value_or("");
  if (after.find("Never") != std::string::npos) after.clear();
  if (!after.empty() && !IsStamp(after)) {
    return Text(ErrorText("LastUpdate must be Never or a time stamp of 14 digits."));
  }
  const std::string client = ClientAddress(req);
  if (throttle_.Refused(client)) {
    return Text(ErrorText("Too many wrong passwords from this address; try again in a minute."),
                429);
  }
  const FetchResult result = store_.Fetch(survey, password, after);
  switch (result.status) {
    case FetchStatus::kUnknownSurvey:
      return Text(ErrorText("The survey " + survey + " is not registered here."));
    case FetchStatus::kWrongPassword:
      throttle_.Failed(client, survey);
      return Text(ErrorText("The password of the survey " + survey + " is wrong."));
    case FetchStatus::kOk:
      throttle_.Succeeded(client, survey);
      return Text(ResultText(result.submissions));
  }
  return Text(ErrorText("The request could not be read."), 400);
}

// Deletes a survey's submissions once its password is shown. Refusals are
// pages with status 200, as for registration, so the author's program can
// show their words.
HttpReply CollectorServer::HandleClear(const HttpRequest& req) {
  const auto query = DecodeForm(req.query);
  const std::string survey = query ? FieldValue(*query, "SurveyFile").value_or("") : "";
  if (!query || survey.empty()) {
    return Page(400, "Results not cleared", "The request does not name a survey.");
  }
  // Deleting is worth more to an attacker than reading, so wrong passwords
  // count against the same allowance as for fetching results.
  const std::string client = ClientAddress(req);
  if (throttle_.Refused(client)) {
    return Page(429, "Results not cleared",
                "Too many wrong passwords from this address; try again in a minute.");
  }
  switch (store_.Clear(survey, FieldValue(*query, "ID").value_or(""))) {
    case FetchStatus::kUnknownSurvey:
      return Page(200, "Results not cleared", "The survey " + survey + " is not registered here.");
    case FetchStatus::kWrongPassword:
      throttle_.Failed(client, survey);
      return Page(200, "Results not cleared",
                  "The password of the survey " + survey + " is wrong.");
    case FetchStatus::kOk:
      throttle_.Succeeded(client, survey);
      return Page(200, "Results Cleared",
                  "The responses of the survey " + survey + " were deleted.");
  }
  return Page(400, "Results not cleared", "The request could not be read.");
}

}  // namespace quorvant::collector
