#include "collector/collector_server.h"

#include <cstdlib>

#include "collector/form_decoding.h"
#include "collector/reply_pages.h"
#include "collector/result_text.h"
#include "collector/stamp_clock.h"
#include "core/shell/text_helpers.h"

namespace quorvant::collector {
namespace {

constexpr size_t kMaxBody = 1 << 20;  // one submission; far above any real survey
constexpr char kHtml[] = "text/html; charset=utf-8";
constexpr char kText[] = "text/plain; charset=utf-8";

// The query of a request target ("/x?a=1&b=2" gives "a=1&b=2").
std::string QueryOf(const httplib::Request& req) {
  const size_t mark = req.target.find('?');
  return mark == std::string::npos ? std::string() : req.target.substr(mark + 1);
}

void Page(httplib::Response& res, int status, const std::string& title, const std::string& text) {
  res.status = status;
  res.set_content(ReplyPage(title, text), kHtml);
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

}  // namespace

CollectorServer::CollectorServer(const CollectorOptions& options, SubmissionStore& store)
    : options_(options), store_(store) {
  server_.set_payload_max_length(kMaxBody);
  server_.set_read_timeout(10, 0);
  server_.set_write_timeout(10, 0);
  server_.set_keep_alive_max_count(100);
  // A reply goes out in more than one write; without this each would wait
  // for the client to acknowledge the one before.
  server_.set_tcp_nodelay(true);
  Routes();
}

bool CollectorServer::Bind() {
  if (options_.port == 0) {
    port_ = server_.bind_to_any_port(options_.host);
    return port_ > 0;
  }
  port_ = options_.port;
  return server_.bind_to_port(options_.host, options_.port);
}

bool CollectorServer::Listen() { return server_.listen_after_bind(); }

std::string CollectorServer::ClientAddress(const httplib::Request& req) const {
  if (options_.trust_proxy && req.has_header("X-Forwarded-For")) {
    // The proxy appends the address it saw; earlier entries are the client's own claims.
    const std::string chain = req.get_header_value("X-Forwarded-For");
    const size_t comma = chain.rfind(',');
    const std::string last(
        TrimBlanks(comma == std::string::npos ? chain : chain.substr(comma + 1)));
    if (!last.empty()) return last;
  }
  return req.remote_addr;
}

void CollectorServer::Routes() {
  const std::string& base = options_.base;
  server_.Get(base + "/VerifyServer", [](const httplib::Request&, httplib::Response& res) {
    Page(res, 200, "Quorvant collection server",
         "This Quorvant collection server is running and accepts survey responses.");
  });
  server_.Get(
      base + "/RegisterSurvey",
      [this](const httplib::Request& req, httplib::Response& res) { HandleRegister(req, res); });
  server_.Get(base + "/GetResults", [this](const httplib::Request& req, httplib::Response& res) {
    HandleResults(req, res);
  });
  server_.Get(base + "/ClearResults", [this](const httplib::Request& req, httplib::Response& res) {
    HandleClear(req, res);
  });
  const std::string post_path = base.empty() ? "/" : base;
  // The body is read here rather than by the HTTP library, whose own form
  // reading refuses anything above 8 KB: a survey with long text answers
  // easily sends more.
  server_.Post(post_path, [this](const httplib::Request& req, httplib::Response& res,
                                 const httplib::ContentReader& read) {
    const std::string type = ToLowerAscii(req.get_header_value("Content-Type"));
    if (!type.starts_with("application/x-www-form-urlencoded")) {
      Page(res, 415, "Response not accepted", "The form was not sent as a plain web form.");
      return;
    }
    if (std::strtoull(req.get_header_value("Content-Length").c_str(), nullptr, 10) > kMaxBody) {
      Page(res, 413, "Response not accepted", "The form is larger than this server accepts.");
      return;
    }
    std::string body;
    bool too_large = false;
    const bool complete = read([&](const char* data, size_t length) {
      too_large = body.size() + length > kMaxBody;
      if (!too_large) body.append(data, length);
      return !too_large;
    });
    if (too_large) {
      Page(res, 413, "Response not accepted", "The form is larger than this server accepts.");
    } else if (!complete) {
      Page(res, 400, "Response not accepted", "The form data did not arrive whole.");
    } else {
      HandleSubmit(req, body, res);
    }
  });
  server_.set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        Page(res, 500, "Server error", "The server could not complete the request.");
      });
}

void CollectorServer::HandleRegister(const httplib::Request& req, httplib::Response& res) {
  const auto query = DecodeForm(QueryOf(req));
  const std::string survey = query ? FieldValue(*query, "SurveyFile").value_or("") : "";
  if (!query || survey.empty()) {
    Page(res, 400, "Registration failed", "The request does not name a survey.");
    return;
  }
  const std::string account = FieldValue(*query, "AccountID").value_or("");
  const std::string password = FieldValue(*query, "ID").value_or("");
  if (store_.Register(survey, account, password) == Registration::kPasswordMismatch) {
    // A page, not an error status: the author's program shows the words of
    // a page it receives, but only "connection failed" for an error status.
    Page(res, 200, "Registration failed",
         "The survey " + survey + " is already registered here with another password.");
    return;
  }
  Page(res, 200, "Registration Complete",
       "The survey " + survey + " is registered and accepts responses.");
}

void CollectorServer::HandleSubmit(const httplib::Request& req, const std::string& body,
                                   httplib::Response& res) {
  const auto fields = DecodeForm(body);
  if (!fields) {
    Page(res, 400, "Response not accepted", "The form data could not be read.");
    return;
  }
  const std::string survey = FieldValue(*fields, kSurveyFileField).value_or("");
  const auto stamp = survey.empty() ? std::nullopt
                                    : store_.Submit(survey, ClientAddress(req),
                                                    req.get_header_value("User-Agent"), *fields);
  if (!stamp) {
    Page(res, 404, "Response not accepted", "This survey is not accepting responses here.");
    return;
  }
  const std::string next = FieldValue(*fields, kResultUrlField).value_or("");
  if (IsSafeRedirect(next)) {
    res.set_redirect(next, 303);
    return;
  }
  Page(res, 200, "Thank you", "Your answers have been received.");
}

void CollectorServer::HandleResults(const httplib::Request& req, httplib::Response& res) {
  const auto query = DecodeForm(QueryOf(req));
  if (!query) {
    res.status = 400;
    res.set_content(ErrorText("The request could not be read."), kText);
    return;
  }
  const std::string survey = FieldValue(*query, "SurveyFile").value_or("");
  const std::string password = FieldValue(*query, "ID").value_or("");
  std::string after = FieldValue(*query, "LastUpdate").value_or("");
  if (after.find("Never") != std::string::npos) after.clear();
  if (!after.empty() && !IsStamp(after)) {
    res.set_content(ErrorText("LastUpdate must be Never or a time stamp of 14 digits."), kText);
    return;
  }
  const FetchResult result = store_.Fetch(survey, password, after);
  switch (result.status) {
    case FetchStatus::kUnknownSurvey:
      res.set_content(ErrorText("The survey " + survey + " is not registered here."), kText);
      return;
    case FetchStatus::kWrongPassword:
      res.set_content(ErrorText("The password of the survey " + survey + " is wrong."), kText);
      return;
    case FetchStatus::kOk:
      res.set_content(ResultText(result.submissions), kText);
      return;
  }
}

// Deletes a survey's submissions once its password is shown. Refusals are
// pages with status 200, as for registration, so the author's program can
// show their words.
void CollectorServer::HandleClear(const httplib::Request& req, httplib::Response& res) {
  const auto query = DecodeForm(QueryOf(req));
  const std::string survey = query ? FieldValue(*query, "SurveyFile").value_or("") : "";
  if (!query || survey.empty()) {
    Page(res, 400, "Results not cleared", "The request does not name a survey.");
    return;
  }
  switch (store_.Clear(survey, FieldValue(*query, "ID").value_or(""))) {
    case FetchStatus::kUnknownSurvey:
      Page(res, 200, "Results not cleared", "The survey " + survey + " is not registered here.");
      return;
    case FetchStatus::kWrongPassword:
      Page(res, 200, "Results not cleared", "The password of the survey " + survey + " is wrong.");
      return;
    case FetchStatus::kOk:
      Page(res, 200, "Results Cleared", "The responses of the survey " + survey + " were deleted.");
      return;
  }
}

}  // namespace quorvant::collector
