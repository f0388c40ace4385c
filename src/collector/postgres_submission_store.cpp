#include "collector/postgres_submission_store.h"

#include "collector/form_encoding.h"
#include "collector/password_hash.h"
#include "collector/pg_store_schema.h"
#include "collector/postgres_password_failures.h"

namespace quorvant::collector {
namespace {

std::vector<PgStatement> Statements() {
  std::vector<PgStatement> statements = {
      {"reachable", "SELECT 1"},
      {"hash_of", "SELECT password_hash FROM surveys WHERE name = $1"},
      {"register",
       "INSERT INTO surveys(name, account, password_hash, registered) "
       "VALUES ($1, $2, $3, quorvant_seconds($4::bigint)) ON CONFLICT (name) DO NOTHING "
       "RETURNING 1"},
      {"renew", "UPDATE surveys SET account = $2 WHERE name = $1"},
      {"submit", "SELECT quorvant_submit($1, $2, $3, $4, $5::bigint)"},
      {"fetch", "SELECT stamp, remote, agent, fields FROM quorvant_fetch($1, $2, $3::bigint)"},
      {"clear", "SELECT quorvant_clear($1, $2::bigint)"},
      {"copy_survey",
       "INSERT INTO surveys(name, account, password_hash, registered) VALUES ($1, $2, $3, $4) "
       "ON CONFLICT (name) DO NOTHING RETURNING 1"},
      {"copy_submission",
       "INSERT INTO submissions(survey, stamp, remote, agent, fields, copied_key) "
       "VALUES ($1, $2, $3, $4, $5, $6) "
       "ON CONFLICT (survey, copied_key) WHERE copied_key IS NOT NULL DO NOTHING RETURNING 1"},
  };
  for (const PgStatement& s : PgPasswordFailureStatements()) statements.push_back(s);
  return statements;
}

std::shared_ptr<PgPool> OpenPool(const std::string& conninfo) {
  PGconn* conn = OpenPgConnection(conninfo);
  try {
    MigratePgSchema(conn);
  } catch (...) {
    PQfinish(conn);
    throw;
  }
  PQfinish(conn);
  auto pool = std::make_shared<PgPool>(conninfo, Statements());
  pool->Borrow();  // fails now, at start, when the statements do not prepare
  return pool;
}

int64_t StampNumber(const std::string& stamp) { return stamp.empty() ? 0 : std::stoll(stamp); }

}  // namespace

PostgresSubmissionStore::PostgresSubmissionStore(const std::string& conninfo, Clock clock)
    : pool_(OpenPool(conninfo)), batcher_(pool_), clock_(std::move(clock)) {}

std::optional<std::string> PostgresSubmissionStore::TestSeconds() const {
  if (!clock_) return std::nullopt;
  return std::to_string(clock_());
}

std::optional<std::string> PostgresSubmissionStore::HashOf(const std::string& survey) {
  const PgResult r = pool_->Run("hash_of", {PgBytea(survey)}, true);
  if (r.rows() == 0) return std::nullopt;
  return r.Text(0, 0);
}

FetchStatus PostgresSubmissionStore::CheckPassword(const std::string& survey,
                                                   const std::string& password) {
  const std::optional<std::string> hash = HashOf(survey);
  if (!hash) return FetchStatus::kUnknownSurvey;
  return PasswordMatches(*hash, password) ? FetchStatus::kOk : FetchStatus::kWrongPassword;
}

Registration PostgresSubmissionStore::Register(const std::string& survey,
                                               const std::string& account,
                                               const std::string& password) {
  for (;;) {
    const FetchStatus known = CheckPassword(survey, password);
    if (known == FetchStatus::kWrongPassword) return Registration::kPasswordMismatch;
    if (known == FetchStatus::kOk) {
      pool_->Run("renew", {PgBytea(survey), PgBytea(account)}, true);
      return Registration::kRenewed;
    }
    const PgResult inserted = pool_->Run(
        "register", {PgBytea(survey), PgBytea(account), HashPassword(password), TestSeconds()},
        true);
    if (inserted.rows() > 0) return Registration::kRegistered;
    // Registered by another request or collector meanwhile: check against its password.
  }
}

void PostgresSubmissionStore::CheckReachable() { pool_->Run("reachable", {}, true); }

bool PostgresSubmissionStore::IsRegistered(const std::string& survey) {
  return HashOf(survey).has_value();
}

// Not run again after a lost connection: the first run may have been
// committed, and a submission must not be stored twice. Submissions that
// arrive together share a commit (pg_submit_batcher.h).
std::optional<std::string> PostgresSubmissionStore::Submit(const std::string& survey,
                                                           const std::string& remote,
                                                           const std::string& agent,
                                                           const FormFields& fields) {
  return batcher_.Submit(
      {PgBytea(survey), PgBytea(remote), PgBytea(agent), EncodeForm(fields), TestSeconds()});
}

FetchResult PostgresSubmissionStore::Fetch(const std::string& survey, const std::string& password,
                                           const std::string& after) {
  FetchResult result;
  result.status = CheckPassword(survey, password);
  if (result.status != FetchStatus::kOk) return result;
  const PgResult rows = pool_->Run(
      "fetch", {PgBytea(survey), std::to_string(StampNumber(after)), TestSeconds()}, true);
  for (int i = 0; i < rows.rows(); ++i) {
    Submission s;
    s.stamp = rows.Text(i, 0);
    s.remote = FromPgBytea(rows.Text(i, 1));
    s.agent = FromPgBytea(rows.Text(i, 2));
    s.fields = DecodeForm(rows.Text(i, 3), FormLimits{SIZE_MAX, SIZE_MAX, SIZE_MAX})
                   .value_or(FormFields{});
    result.submissions.push_back(std::move(s));
  }
  return result;
}

FetchStatus PostgresSubmissionStore::Clear(const std::string& survey, const std::string& password) {
  const FetchStatus status = CheckPassword(survey, password);
  if (status != FetchStatus::kOk) return status;
  pool_->Run("clear", {PgBytea(survey), TestSeconds()}, true);
  return FetchStatus::kOk;
}

std::unique_ptr<PasswordFailures> PostgresSubmissionStore::SharedPasswordFailures() {
  return std::make_unique<PostgresPasswordFailures>(pool_);
}

bool PostgresSubmissionStore::CopySurvey(const std::string& name, const std::string& account,
                                         const std::string& hash, int64_t registered) {
  return pool_
             ->Run("copy_survey",
                   {PgBytea(name), PgBytea(account), hash, std::to_string(registered)}, true)
             .rows() > 0;
}

size_t PostgresSubmissionStore::CopySubmissions(const std::string& survey,
                                                const std::vector<CopiedSubmission>& rows) {
  const auto lease = pool_->Borrow();
  lease->Execute("BEGIN");
  size_t copied = 0;
  for (const CopiedSubmission& row : rows) {
    copied +=
        lease
            ->Run("copy_submission", {PgBytea(survey), std::to_string(row.stamp),
                                      PgBytea(row.remote), PgBytea(row.agent), row.fields, row.key})
            .rows();
  }
  lease->Execute("COMMIT");
  return copied;
}

}  // namespace quorvant::collector
