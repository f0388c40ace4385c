#include "collector/collector_options.h"

#include "collector/connection_string.h"
#include "core/shell/text_helpers.h"

namespace quorvant::collector {

const char kCollectorUsage[] =
    "Usage: quorvant-collector [OPTIONS]\n"
    "Receives the submissions of published Quorvant surveys and hands them to their authors.\n"
    "\n"
    "  --listen ADDRESS:PORT  where to listen (default 127.0.0.1:8088)\n"
    "  --db FILE              the SQLite database (default quorvant-collector.db)\n"
    "  --db postgresql://USER@HOST:PORT/DBNAME\n"
    "                         a PostgreSQL database that several collectors share (any\n"
    "                         libpq connection string; give a password through PGPASSFILE)\n"
    "  --copy-from OLD.db     copy every survey and submission of a SQLite database into\n"
    "                         the PostgreSQL database of --db, print the counts and end\n"
    "  --base PATH            path prefix of every request (default /qvx); use the same\n"
    "                         address, http://HOST:PORT/qvx, as the survey's server address\n"
    "  --trust-proxy          take the client address from the X-Forwarded-For header set\n"
    "                         by a reverse proxy in front of the collector\n"
    "  --version              the version\n"
    "  --help                 this text\n";

std::optional<CollectorOptions> ParseCollectorOptions(const std::vector<std::string>& args,
                                                      std::string& error) {
  CollectorOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return std::nullopt;
      }
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--trust-proxy") {
      options.trust_proxy = true;
    } else if (arg == "--listen") {
      auto v = value();
      if (!v) return std::nullopt;
      const size_t colon = v->rfind(':');
      int port = 0;
      if (colon == std::string::npos || colon == 0 || !ParseInt(v->substr(colon + 1), port) ||
          port < 0 || port > 65535) {
        error = "--listen wants ADDRESS:PORT with a port from 0 to 65535";
        return std::nullopt;
      }
      options.host = v->substr(0, colon);
      if (options.host.size() > 2 && options.host.front() == '[' && options.host.back() == ']') {
        options.host = options.host.substr(1, options.host.size() - 2);
      }
      options.port = port;
    } else if (arg == "--db") {
      auto v = value();
      if (!v) return std::nullopt;
      options.database = *v;
    } else if (arg == "--copy-from") {
      auto v = value();
      if (!v) return std::nullopt;
      options.copy_from = *v;
    } else if (arg == "--base") {
      auto v = value();
      if (!v) return std::nullopt;
      std::string base = *v;
      while (!base.empty() && base.back() == '/') base.pop_back();
      if (!base.empty() && base.front() != '/') base.insert(0, "/");
      options.base = base;
    } else {
      error = "unknown option " + arg;
      return std::nullopt;
    }
  }
  if (!options.copy_from.empty() && !IsPostgresConnectionString(options.database)) {
    error = "--copy-from needs --db with a PostgreSQL connection string";
    return std::nullopt;
  }
  return options;
}

}  // namespace quorvant::collector
