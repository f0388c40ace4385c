// The collector's HTTP service. Under the base path it answers:
//   GET  /VerifyServer                          a page naming Quorvant (503
//                                               while the database is away)
//   GET  /RegisterSurvey?SurveyFile=&AccountID=&ID=   registers a survey
//   POST (the base path itself)                 stores one form submission
//   GET  /GetResults?SurveyFile=&ID=&LastUpdate=      the submissions since
// Requests are size-limited; malformed ones get a 4xx status and change
// nothing. Wrong passwords are throttled per client address
// (password_throttle.h); slow and idle clients are bounded by the HTTP layer
// (http_daemon.h).
//
// Thread-safety: the server runs its handlers on several threads; the store
// serialises their database work.
#pragma once

#include <string>

#include "collector/collector_options.h"
#include "collector/http_daemon.h"
#include "collector/password_throttle.h"
#include "collector/submission_store.h"

namespace quorvant::collector {

class CollectorServer {
 public:
  CollectorServer(const CollectorOptions& options, SubmissionStore& store);

  // Binds to the options' address (port 0: any free port). False when the
  // address cannot be bound.
  bool Bind();
  int port() const { return http_.port(); }
  // Serves until Stop(); returns false when serving failed.
  bool Listen() { return http_.Run(); }
  // Ends Listen(); may come before it, from any thread.
  void Stop() { http_.Stop(); }

 private:
  std::optional<HttpReply> CheckHeader(const HttpRequest& req) const;
  HttpReply Route(const HttpRequest& req);
  HttpReply HandleRegister(const HttpRequest& req);
  HttpReply HandleSubmit(const HttpRequest& req);
  HttpReply HandleResults(const HttpRequest& req);
  HttpReply HandleClear(const HttpRequest& req);
  std::string ClientAddress(const HttpRequest& req) const;

  CollectorOptions options_;
  SubmissionStore& store_;
  PasswordThrottle throttle_;
  HttpDaemon http_;
};

}  // namespace quorvant::collector
