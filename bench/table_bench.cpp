// table_bench: the table engine against SQLite 3, in one process, on the
// same data: appending response records of a 30-question survey, exact
// seeks on EMAIL, and a count under a two-condition query. Prints each time
// and the ratio ours / SQLite (lower is better; the target is at most 1.0),
// and the query's scan rate against reading the .dbf file's bytes.
//
// Usage: table_bench [RECORDS [SEEKS]] (defaults 1000000 and 100000).
// Files go to a fresh folder under $TMPDIR, removed at the end.
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/responses/response_fields.h"
#include "core/shell/settings_store.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"
#include "survey_layout.h"

namespace {

using namespace quorvant;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The records: the same pseudo-random values for both engines. Each is the
// list of field values as text, in field order; numbers stay text here.
class Records {
 public:
  Records(const std::vector<FieldDef>& fields, int count) : fields_(fields), count_(count) {}

  std::string Email(int i) const {
    return "respondent" + std::to_string(int64_t{i} * 7919 % count_) + "@example.org";
  }

  void Fill(int i, std::vector<std::string>& values) {
    std::mt19937 random(static_cast<unsigned>(i));
    values.resize(fields_.size());
    values[0] = "10." + std::to_string(i % 250) + "." + std::to_string(i / 250 % 250) + "." +
                std::to_string(i / 62500);
    values[1] = Email(i);
    values[2] = "Mozilla/5.0 (X11; Linux x86_64; rv:" + std::to_string(100 + i % 30) +
                ".0) Gecko/20100101 Firefox";
    values[3] = "2026120816" + std::to_string(1000 + i % 6000).substr(0, 4);
    for (size_t f = 4; f < fields_.size(); ++f) {
      const FieldDef& d = fields_[f];
      std::string& v = values[f];
      if (d.type == 'N') {
        v = std::to_string(random() % 101);
      } else if (d.type == 'M') {
        v = random() % 10 < 3 ? "A comment of respondent " + std::to_string(i) : "";
      } else if (d.width == 1) {
        v = random() % 2 ? "Y" : "N";
      } else if (d.width == 3) {
        v = std::to_string(random() % 4);
      } else {
        v = random() % 4 == 0 ? "some text answer " + std::to_string(random() % 1000) : "";
      }
    }
  }

 private:
  const std::vector<FieldDef>& fields_;
  int count_;
};

struct Times {
  double append = 0, seek = 0, count = 0;
  long found = 0, matches = 0;
};

Times RunOurs(const std::string& path, const std::vector<FieldDef>& fields, int n, int seeks) {
  Times t;
  Records records(fields, n);
  std::vector<std::string> values;
  Table::Create(path, fields);
  Table table;
  table.Open(path);
  table.AddTag("REMOTEIP", "REMOTEIP");
  table.AddTag("EMAIL", "EMAIL");
  auto start = Clock::now();
  for (int i = 0; i < n; ++i) {
    records.Fill(i, values);
    table.AppendBlank();
    for (size_t f = 0; f < fields.size(); ++f) {
      if (!values[f].empty()) table.Replace(fields[f].name, values[f]);
    }
  }
  table.Commit();
  t.append = Since(start);

  table.SetOrder(table.TagOrder("EMAIL"));
  start = Clock::now();
  for (int i = 0; i < seeks; ++i)
    t.found += table.Seek(records.Email(static_cast<int>(int64_t{i} * 13 % n))) ? 1 : 0;
  t.seek = Since(start);

  start = Clock::now();
  table.SetQuery("QVX1 = \"2\" .AND. QVX21 > 50");
  t.matches = table.QueryCount();
  t.count = Since(start);
  return t;
}

void Check(int rc, sqlite3* db, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "SQLite failed at %s: %s\n", what, sqlite3_errmsg(db));
    std::exit(1);
  }
}

Times RunSqlite(const std::string& path, const std::vector<FieldDef>& fields, int n, int seeks) {
  Times t;
  Records records(fields, n);
  std::vector<std::string> values;
  sqlite3* db = nullptr;
  Check(sqlite3_open(path.c_str(), &db), db, "open");
  std::string create = "CREATE TABLE responses(", insert = "INSERT INTO responses VALUES(";
  for (size_t f = 0; f < fields.size(); ++f) {
    create += (f ? "," : "") + fields[f].name + (fields[f].type == 'N' ? " INTEGER" : " TEXT");
    insert += f ? ",?" : "?";
  }
  Check(sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr), db, "create");
  Check(sqlite3_exec(db,
                     "CREATE INDEX ip ON responses(REMOTEIP);"
                     "CREATE INDEX email ON responses(EMAIL);",
                     nullptr, nullptr, nullptr),
        db, "index");
  sqlite3_stmt* stmt = nullptr;
  Check(sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &stmt, nullptr), db, "prepare");
  auto start = Clock::now();
  Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
  for (int i = 0; i < n; ++i) {
    records.Fill(i, values);
    for (size_t f = 0; f < fields.size(); ++f) {
      const int column = static_cast<int>(f) + 1;
      if (fields[f].type == 'N') {
        sqlite3_bind_int(stmt, column, std::atoi(values[f].c_str()));
      } else {
        sqlite3_bind_text(stmt, column, values[f].data(), static_cast<int>(values[f].size()),
                          SQLITE_STATIC);
      }
    }
    Check(sqlite3_step(stmt), db, "insert");
    sqlite3_reset(stmt);
  }
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
  t.append = Since(start);
  sqlite3_finalize(stmt);

  Check(sqlite3_prepare_v2(db, "SELECT rowid FROM responses WHERE EMAIL = ? LIMIT 1", -1, &stmt,
                           nullptr),
        db, "prepare seek");
  start = Clock::now();
  for (int i = 0; i < seeks; ++i) {
    const std::string email = records.Email(static_cast<int>(int64_t{i} * 13 % n));
    sqlite3_bind_text(stmt, 1, email.data(), static_cast<int>(email.size()), SQLITE_STATIC);
    if (sqlite3_step(stmt) == SQLITE_ROW) ++t.found;
    sqlite3_reset(stmt);
  }
  t.seek = Since(start);
  sqlite3_finalize(stmt);

  start = Clock::now();
  Check(sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM responses WHERE QVX1 = '2' AND QVX21 > 50", -1,
                           &stmt, nullptr),
        db, "prepare count");
  Check(sqlite3_step(stmt), db, "count");
  t.matches = sqlite3_column_int64(stmt, 0);
  t.count = Since(start);
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return t;
}

// Seconds to read the whole file, the physical limit of any scan of it.
double ReadFileTime(const std::string& path, uint64_t& bytes) {
  const auto start = Clock::now();
  const int fd = ::open(path.c_str(), O_RDONLY);
  std::vector<char> buffer(1 << 20);
  bytes = 0;
  for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) bytes += got;
  ::close(fd);
  return Since(start);
}

void Print(const char* what, double ours, double sqlite) {
  std::printf("%-34s %9.3f s %9.3f s %8.2f\n", what, ours, sqlite, ours / sqlite);
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const int seeks = argc > 2 ? std::atoi(argv[2]) : 100000;
  if (n < 1 || seeks < 1) {
    std::fprintf(stderr, "usage: table_bench [RECORDS [SEEKS]]\n");
    return 2;
  }
  const auto dir =
      std::filesystem::temp_directory_path() / ("quorvant-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  ::setenv("QUORVANT_CONFIG_DIR", dir.c_str(), 1);
  SettingsStore settings;
  TSurvey survey(settings);
  bench::AddQuestions(survey);
  const std::vector<FieldDef> fields = ResponseTableFields(survey);

  const Times ours = RunOurs((dir / "responses.dbf").string(), fields, n, seeks);
  const Times lite = RunSqlite((dir / "responses.sqlite").string(), fields, n, seeks);
  if (ours.found != lite.found || ours.matches != lite.matches) {
    std::fprintf(stderr, "results differ: found %ld / %ld, matches %ld / %ld\n", ours.found,
                 lite.found, ours.matches, lite.matches);
    return 1;
  }
  std::printf("%d records of %zu fields, %d seeks (%ld found), query count %ld\n\n", n,
              fields.size(), seeks, ours.found, ours.matches);
  std::printf("%-34s %11s %11s %8s\n", "", "ours", "SQLite", "ratio");
  Print("append + commit", ours.append, lite.append);
  Print("exact seeks on EMAIL", ours.seek, lite.seek);
  Print("count under a two-condition query", ours.count, lite.count);
  uint64_t bytes = 0;
  const double read = ReadFileTime((dir / "responses.dbf").string(), bytes);
  std::printf("\nscan rate of the query: %.0f MB/s; reading the .dbf's %.0f MB: %.0f MB/s\n",
              bytes / 1e6 / ours.count, bytes / 1e6, bytes / 1e6 / read);
  std::filesystem::remove_all(dir);
  return 0;
}
