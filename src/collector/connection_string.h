// How --db names the database: a file (SQLite) or a libpq connection string
// (PostgreSQL), and how a connection string is shown without its password.
#pragma once

#include <string>

namespace quorvant::collector {

// True for "postgresql://...", "postgres://..." and keyword strings such as
// "host=db dbname=survey"; anything else is the path of a SQLite file (a file
// whose name holds "=" is named as "./a=b.db").
bool IsPostgresConnectionString(const std::string& database);

// The connection string as keyword=value pairs with any password replaced by
// "***", fit for a log line; "(unreadable connection string)" when libpq
// cannot parse it.
std::string MaskedConnectionString(const std::string& conninfo);

// What a log line may show of --db: the file name, or the masked string.
std::string DatabaseForLog(const std::string& database);

}  // namespace quorvant::collector
