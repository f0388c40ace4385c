// Command-line options of quorvant-collector.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvant::collector {

struct CollectorOptions {
  std::string host = "127.0.0.1";
  int port = 8088;
  std::string database =
      "quorvant-collector.db";  // a SQLite file or a PostgreSQL connection string
  std::string copy_from;        // a SQLite file to copy into the database, then end
  std::string base = "/qvx";    // path prefix of every request; no trailing "/"
  bool trust_proxy = false;     // take the client address from X-Forwarded-For
  bool help = false;
  bool version = false;
};

// Parses the arguments (without the program name). On a mistake returns
// nothing and sets error to a one-line explanation.
std::optional<CollectorOptions> ParseCollectorOptions(const std::vector<std::string>& args,
                                                      std::string& error);

extern const char kCollectorUsage[];

}  // namespace quorvant::collector
