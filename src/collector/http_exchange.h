// One HTTP request as the collector's handlers see it, and the reply they
// give. The HTTP layer (http_daemon.h) fills the request and sends the reply;
// the handlers never touch sockets.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvant::collector {

struct HttpRequest {
  std::string method;  // "GET", "POST", ... as sent
  std::string path;    // decoded path without the query
  std::string query;   // the raw text after "?", still encoded
  std::vector<std::pair<std::string, std::string>> headers;
  std::string remote_addr;  // the peer's numeric address
  std::string body;         // empty until the whole body has arrived

  // The first header of that name (any case), or "".
  std::string Header(std::string_view name) const;
};

struct HttpReply {
  int status = 200;
  std::string content_type;  // none when empty
  std::string location;      // the Location header of a redirect; none when empty
  std::string body;
};

}  // namespace quorvant::collector
