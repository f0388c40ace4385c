#include "collector/sqlite_submission_store.h"

#include <chrono>

#include "collector/form_encoding.h"
#include "collector/password_hash.h"
#include "collector/sqlite_statement.h"
#include "collector/sqlite_store_schema.h"
#include "collector/stamp_clock.h"

namespace quorvant::collector {
namespace {

int64_t SystemSeconds() {
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

// Stamps compare as numbers: "YYYYMMDDHHMMSS" read as an integer.
int64_t StampNumber(const std::string& stamp) { return stamp.empty() ? 0 : std::stoll(stamp); }

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

SqliteSubmissionStore::SqliteSubmissionStore(const std::string& path, Clock clock)
    : clock_(clock ? std::move(clock) : SystemSeconds) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw StoreError("cannot open the database " + path + ": " + why);
  }
  sqlite3_busy_timeout(db_, 5000);
  try {
    Execute(db_, "PRAGMA journal_mode=WAL");
    Execute(db_, "PRAGMA synchronous=NORMAL");
    MigrateStoreSchema(db_);
  } catch (...) {
    sqlite3_close(db_);
    throw;
  }
}

SqliteSubmissionStore::~SqliteSubmissionStore() { sqlite3_close(db_); }

int64_t SqliteSubmissionStore::Tick() {
  Statement read(db_, "SELECT highest FROM clock WHERE id = 1");
  const int64_t highest = read.Step() ? read.Int(0) : 0;
  const int64_t now = NextSecond(clock_(), highest);
  if (now != highest)
    Statement(db_, "UPDATE clock SET highest = ? WHERE id = 1").Bind(1, now).Step();
  return now;
}

std::optional<std::string> SqliteSubmissionStore::HashOf(const std::string& survey) {
  Statement find(db_, "SELECT password_hash FROM surveys WHERE name = ?");
  find.Bind(1, survey);
  if (!find.Step()) return std::nullopt;
  return find.Text(0);
}

// A survey's password never changes once registered, so the hash read here
// still holds when the caller goes on to use the survey.
FetchStatus SqliteSubmissionStore::CheckPassword(const std::string& survey,
                                                 const std::string& password) {
  std::optional<std::string> hash;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    hash = HashOf(survey);
  }
  if (!hash) return FetchStatus::kUnknownSurvey;
  return PasswordMatches(*hash, password) ? FetchStatus::kOk : FetchStatus::kWrongPassword;
}

Registration SqliteSubmissionStore::Register(const std::string& survey, const std::string& account,
                                             const std::string& password) {
  for (;;) {
    const FetchStatus known = CheckPassword(survey, password);
    if (known == FetchStatus::kWrongPassword) return Registration::kPasswordMismatch;
    // Hashing is slow: done before taking the mutex, used only when the
    // survey is still new by then.
    const std::string hash = known == FetchStatus::kOk ? std::string() : HashPassword(password);
    std::lock_guard<std::mutex> lock(mutex_);
    Transaction transaction(db_);
    if (known == FetchStatus::kOk) {
      Statement(db_, "UPDATE surveys SET account = ? WHERE name = ?")
          .Bind(1, account)
          .Bind(2, survey)
          .Step();
      transaction.Commit();
      return Registration::kRenewed;
    }
    Statement(db_,
              "INSERT INTO surveys(name, account, password_hash, registered) VALUES (?, ?, ?, ?) "
              "ON CONFLICT(name) DO NOTHING")
        .Bind(1, survey)
        .Bind(2, account)
        .Bind(3, hash)
        .Bind(4, Tick())
        .Step();
    const bool inserted = sqlite3_changes(db_) > 0;
    transaction.Commit();
    if (inserted) return Registration::kRegistered;
    // Registered by another request meanwhile: check against its password.
  }
}

bool SqliteSubmissionStore::IsRegistered(const std::string& survey) {
  std::lock_guard<std::mutex> lock(mutex_);
  return HashOf(survey).has_value();
}

std::optional<std::string> SqliteSubmissionStore::Submit(const std::string& survey,
                                                         const std::string& remote,
                                                         const std::string& agent,
                                                         const FormFields& fields) {
  std::lock_guard<std::mutex> lock(mutex_);
  Transaction transaction(db_);
  if (!HashOf(survey)) return std::nullopt;
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

FetchResult SqliteSubmissionStore::Fetch(const std::string& survey, const std::string& password,
                                         const std::string& after) {
  FetchResult result;
  result.status = CheckPassword(survey, password);
  if (result.status != FetchStatus::kOk) return result;
  std::lock_guard<std::mutex> lock(mutex_);
  Transaction transaction(db_);
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

FetchStatus SqliteSubmissionStore::Clear(const std::string& survey, const std::string& password) {
  const FetchStatus status = CheckPassword(survey, password);
  if (status != FetchStatus::kOk) return status;
  std::lock_guard<std::mutex> lock(mutex_);
  Transaction transaction(db_);
  Statement(db_, "DELETE FROM submissions WHERE survey = ?").Bind(1, survey).Step();
  transaction.Commit();
  return FetchStatus::kOk;
}

}  // namespace quorvant::collector
