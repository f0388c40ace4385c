#include "collector/postgres_password_failures.h"

namespace quorvant::collector {

std::vector<PgStatement> PgPasswordFailureStatements() {
  return {
      {"password_refused", "SELECT quorvant_password_refused($1, $2, $3)"},
      {"password_failed", "SELECT quorvant_password_failed($1, $2, $3)"},
      {"password_succeeded",
       "DELETE FROM password_failures WHERE address = $1 AND survey = $2 AND NOT several_surveys"},
  };
}

bool PostgresPasswordFailures::Refused(const std::string& key) {
  const PgResult r = pool_->Run("password_refused",
                                {PgBytea(key), std::to_string(kPasswordWindowSeconds),
                                 std::to_string(kPasswordFailuresPerWindow)},
                                true);
  return r.Text(0, 0) == "t";
}

// Not run again after a lost connection: the first run may have counted.
int PostgresPasswordFailures::Failed(const std::string& key, const std::string& survey) {
  const PgResult r =
      pool_->Run("password_failed",
                 {PgBytea(key), PgBytea(survey), std::to_string(kPasswordWindowSeconds)}, false);
  return static_cast<int>(r.Int(0, 0));
}

void PostgresPasswordFailures::Succeeded(const std::string& key, const std::string& survey) {
  pool_->Run("password_succeeded", {PgBytea(key), PgBytea(survey)}, true);
}

}  // namespace quorvant::collector
