// The collector's HTTP service. Under the base path it answers:
//   GET  /VerifyServer                          a page naming Quorvant
//   GET  /RegisterSurvey?SurveyFile=&AccountID=&ID=   registers a survey
//   POST (the base path itself)                 stores one form submission
//   GET  /GetResults?SurveyFile=&ID=&LastUpdate=      the submissions since
// Requests are size-limited; malformed ones get a 4xx status and change
// nothing.
//
// Thread-safety: the server runs its handlers on a thread pool; the store
// serialises their database work.
#pragma once

#include <httplib.h>

#include <string>

#include "collector/collector_options.h"
#include "collector/submission_store.h"

namespace quorvant::collector {

class CollectorServer {
 public:
  CollectorServer(const CollectorOptions& options, SubmissionStore& store);

  // Binds to the options' address (port 0: any free port). False when the
  // address cannot be bound.
  bool Bind();
  int port() const { return port_; }
  // Serves until Stop(); returns false when serving failed.
  bool Listen();
  void Stop() { server_.stop(); }

 private:
  void Routes();
  void HandleRegister(const httplib::Request& req, httplib::Response& res);
  void HandleSubmit(const httplib::Request& req, const std::string& body, httplib::Response& res);
  void HandleResults(const httplib::Request& req, httplib::Response& res);
  void HandleClear(const httplib::Request& req, httplib::Response& res);
  std::string ClientAddress(const httplib::Request& req) const;

  CollectorOptions options_;
  SubmissionStore& store_;
  httplib::Server server_;
  int port_ = 0;
};

}  // namespace quorvant::collector
