#include "collector/connection_string.h"

#include <libpq-fe.h>

#include <cctype>
#include <cstring>

namespace quorvant::collector {

bool IsPostgresConnectionString(const std::string& database) {
  if (database.starts_with("postgresql://") || database.starts_with("postgres://")) return true;
  size_t i = 0;
  while (i < database.size() && std::isspace(static_cast<unsigned char>(database[i]))) ++i;
  const size_t word = i;
  while (i < database.size() &&
         (std::isalnum(static_cast<unsigned char>(database[i])) || database[i] == '_')) {
    ++i;
  }
  while (i < database.size() && std::isspace(static_cast<unsigned char>(database[i]))) ++i;
  return i > word && i < database.size() && database[i] == '=';
}

std::string MaskedConnectionString(const std::string& conninfo) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
  PQfreemem(error);
  if (!options) return "(unreadable connection string)";
  std::string shown;
  for (const PQconninfoOption* o = options; o->keyword; ++o) {
    if (!o->val || !*o->val) continue;
    if (!shown.empty()) shown += ' ';
    shown += o->keyword;
    shown += '=';
    shown += std::strcmp(o->keyword, "password") == 0 ? "***" : o->val;
  }
  PQconninfoFree(options);
  return shown;
}

std::string DatabaseForLog(const std::string& database) {
  return IsPostgresConnectionString(database) ? "postgresql " + MaskedConnectionString(database)
                                              : database;
}

}  // namespace quorvant::collector
