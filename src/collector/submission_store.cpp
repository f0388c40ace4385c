#include "collector/submission_store.h"

#include <chrono>

#include "collector/form_encoding.h"
#include "collector/sqlite_statement.h"
#include "collector/stamp_clock.h"

namespace quorvant::collector {
namespace {

constexpr const char* kSchema = R"sql(
  CREATE TABLE IF NOT EXISTS surveys(
    name TEXT PRIMARY KEY, account TEXT NOT NULL, password TEXT NOT NULL,
    registered INTEGER NOT NULL);
  CREATE TABLE IF NOT EXISTS submissions(
    id INTEGER PRIMARY KEY AUTOINCREMENT, survey TEXT NOT NULL, stamp INTEGER NOT NULL,
    remote TEXT NOT NULL, agent TEXT NOT NULL, fields TEXT NOT NULL);
  CREATE INDEX IF NOT EXISTS submissions_by_stamp ON submissions(survey, stamp, id);
  CREATE TABLE IF NOT EXISTS clock(id INTEGER PRIMARY KEY CHECK (id = 1), highest INTEGER NOT NULL);
  INSERT OR IGNORE INTO clock(id, highest) VALUES (1, 0);
)sql";

int64_t SystemSeconds() {
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

// Stamps compare as numbers: "YYYYMMDDHHMMSS" read as an integer.
int64_t StampNumber(const std::string& stamp) { return stamp.empty() ? 0 : std::stoll(stamp); }

// Compares without stopping at the first difference, so the time taken does
// not tell how much of a guessed password was right.
bool SamePassword(const std::string& a, const std::string& b) {
  unsigned char diff = a.size() == b.size() ? 0 : 1;
  for (size_t i = 0; i < a.size(); ++i) diff |= a[i] ^ b[i % (b.empty() ? 1 : b.size())];
  return diff == 0 && a.size() == b.size();
}

// Runs the statements of a scope as one transaction; rolls back unless
// Commit() was reached.
class Transaction {
 public:
  explicit Transaction(sqlite3* db) : db_(db) { Run("BEGIN IMMEDIATE"); }
  ~Transaction() {
    if (!done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  void Commit() {
    Run("COMMIT");
    done_ = true;
  }

 private:
  void Run(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
      throw StoreError(std::string("database error: ") + sqlite3_errmsg(db_));
    }
  }
  sqlite3* db_;
  bool done_ = false;
};

}  // namespace

SubmissionStore::SubmissionStore(const std::string& path, Clock clock)
    : clock_(clock ? std::move(clock) : SystemSeconds) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw StoreError("cannot open the database " + path + ": " + why);
  }
  sqlite3_busy_timeout(db_, 5000);
  try {
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=NORMAL");
    Exec(kSchema);
  } catch (...) {
    sqlite3_close(db_);
    throw;
  }
}

SubmissionStore::~SubmissionStore() { sqlite3_close(db_); }

void SubmissionStore::Exec(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string why = error ? error : "unknown error";
    sqlite3_free(error);
    throw StoreError("database error: " + why);
  }
}

int64_t SubmissionStore::Tick() {
  Statement read(db_, "SELECT highest FROM clock WHERE id = 1");
  const int64_t highest = read.Step() ? read.Int(0) : 0;
  const int64_t now = NextSecond(clock_(), highest);
  if (now != highest)
    Statement(db_, "UPDATE clock SET highest = ? WHERE id = 1").Bind(1, now).Step();
  return now;
}

std::optional<std::string> SubmissionStore::PasswordOf(const std::string& survey) {
  Statement find(db_, "SELECT password FROM surveys WHERE name = ?");
  find.Bind(1, survey);
  if (!find.Step()) return std::nullopt;
  return find.Text(0);
}

Registration SubmissionStore::Register(const std::string& survey, const std::string& account,
                                       const std::string& password) {
  std::lock_guard<std::mutex> lock(mutex_);
  Transaction transaction(db_);
  const std::optional<std::string> existing = PasswordOf(survey);
  if (existing && !SamePassword(*existing, password)) return Registration::kPasswordMismatch;
  Statement(db_,
            "INSERT INTO surveys(name, account, password, registered) VALUES (?, ?, ?, ?) "
            "ON CONFLICT(name) DO UPDATE SET account = excluded.account")
      .Bind(1, survey)
      .Bind(2, account)
      .Bind(3, password)
      .Bind(4, Tick())
      .Step();
  transaction.Commit();
  return existing ? Registration::kRenewed : Registration::kRegistered;
}

bool SubmissionStore::IsRegistered(const std::string& survey) {
  std::lock_guard<std::mutex> lock(mutex_);
  return PasswordOf(survey).has_value();
}

std::optional<std::string> SubmissionStore::Submit(const std::string& survey,
                                                   const std::string& remote,
                                                   const std::string& agent,
                                                   const FormFields& fields) {
  std::lock_guard<std::mutex> lock(mutex_);
  Transaction transaction(db_);
  if (!PasswordOf(survey)) return std::nullopt;
  const std::string stamp = StampOf(Tick());
  Statement(db_,
            "INSERT INTO submissions(survey, stamp, remote, agent, fields) VALUES (?, ?, ?, ?, ?)")
      .Bind(1, survey)
      .Bind(2, StampNumber(stamp))
      .Bind(3, remote)
      .Bind(4, agent)
      .Bind(5, EncodeForm(fields))
      .Step();
  transaction.Commit();
  return stamp;
}

FetchResult SubmissionStore::Fetch(const std::string& survey, const std::string& password,
                                   const std::string& after) {
  std::lock_guard<std::mutex> lock(mutex_);
  FetchResult result;
  Transaction transaction(db_);
  const std::optional<std::string> expected = PasswordOf(survey);
  if (!expected) {
    result.status = FetchStatus::kUnknownSurvey;
    return result;
  }
  if (!SamePassword(*expected, password)) {
    result.status = FetchStatus::kWrongPassword;
    return result;
  }
  // Only seconds that have fully passed: every later submission gets this
  // second or a later one, never a stamp at or below what is handed out now.
  const int64_t current = StampNumber(StampOf(Tick()));
  Statement rows(db_,
                 "SELECT stamp, remote, agent, fields FROM submissions "
                 "WHERE survey = ? AND stamp > ? AND stamp < ? ORDER BY stamp, id");
  rows.Bind(1, survey).Bind(2, StampNumber(after)).Bind(3, current);
  while (rows.Step()) {
    Submission s;
    s.stamp = std::to_string(rows.Int(0));
    s.remote = rows.Text(1);
    s.agent = rows.Text(2);
    s.fields =
        DecodeForm(rows.Text(3), FormLimits{SIZE_MAX, SIZE_MAX, SIZE_MAX}).value_or(FormFields{});
    result.submissions.push_back(std::move(s));
  }
  transaction.Commit();
  return result;
}

FetchStatus SubmissionStore::Clear(const std::string& survey, const std::string& password) {
  std::lock_guard<std::mutex> lock(mutex_);
  Transaction transaction(db_);
  const std::optional<std::string> expected = PasswordOf(survey);
  if (!expected) return FetchStatus::kUnknownSurvey;
  if (!SamePassword(*expected, password)) return FetchStatus::kWrongPassword;
  Statement(db_, "DELETE FROM submissions WHERE survey = ?").Bind(1, survey).Step();
  transaction.Commit();
  return FetchStatus::kOk;
}

}  // namespace quorvant::collector
