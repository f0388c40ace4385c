// A prepared SQLite statement that finalises itself.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvant::collector {

// Runs one or more statements that return no rows. Throws StoreError.
void Execute(sqlite3* db, const char* sql);

class Statement {
 public:
  // Throws StoreError when the SQL does not prepare.
  Statement(sqlite3* db, const char* sql);
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, std::string_view text);
  Statement& Bind(int index, int64_t value);
  // True while a row is available; throws StoreError on failure.
  bool Step();
  std::string Text(int column) const;
  int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace quorvant::collector
